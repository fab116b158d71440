#include <string>
#include <vector>

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <gtest/gtest.h>

#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <MidiLocalConsumer.h>

#include "MainWinRig.h"
#include "CorvanView.h"
#include "PlayerMessages.h"
#include "QtLookup.h"

namespace {

std::vector<std::string>
labels_of(BMenu* menu)
{
	std::vector<std::string> labels;
	for (int32 i = 0; i < menu->CountItems(); i++)
		labels.push_back(menu->ItemAt(i)->Label());
	return labels;
}


BMenu*
port_menu(BWindow* window, int32 port)
{
	return window->KeyMenuBar()->SubmenuAt(2)->SubmenuAt(port);
}


TEST_F(MainWinTest, PortMenusListTheDevicesByNumberThenStar)
{
	for (int32 i = 1; i <= 10; i++)
		AddDevice("Device " + std::to_string(i));
	// Unnamed endpoints are no devices a user could pick.
	BMidiLocalConsumer* anonymous = new BMidiLocalConsumer();
	ASSERT_EQ(B_OK, anonymous->Register());
	RigWin* window = new RigWin;
	RunWindow(window, {Locked(window, [&]() {
		const std::string sep = gVLT.Text("SC_Sep");
		for (int32 port = 0; port < 2; port++) {
			SCOPED_TRACE(port);
			const std::vector<std::string> labels = labels_of(port_menu(window, port));
			ASSERT_EQ(10u, labels.size());
			EXPECT_EQ("1" + sep + "Device 1", labels[0]);
			EXPECT_EQ("9" + sep + "Device 9", labels[8]);
			EXPECT_EQ("*" + sep + "Device 10", labels[9]);
			BMessage* message = port_menu(window, port)->ItemAt(9)->Message();
			int32 messagePort = -1;
			const char* name = "";
			EXPECT_EQ(B_OK, message->FindInt32("MIDIPort", &messagePort));
			EXPECT_EQ(B_OK, message->FindString("be:name", &name));
			EXPECT_EQ(port, messagePort);
			EXPECT_STREQ("Device 10", name);
		}
	})});
	anonymous->Unregister();
	anonymous->Release();
}


TEST_F(MainWinTest, PortMenusFollowDevicesThatComeAndGo)
{
	AddDevice("Stays");
	RigWin* window = new RigWin;
	BMidiRecordingConsumer* later = nullptr;
	RunWindow(window, {
		Locked(window, [&]() { EXPECT_EQ(1, port_menu(window, 0)->CountItems()); }),
		[&]() { later = AddDevice("Comes Later"); return true; },
		Drain(window), Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ(2, port_menu(window, 0)->CountItems());
			EXPECT_EQ(2, port_menu(window, 1)->CountItems());
		}),
		[&]() { RemoveDevice(later); return true; },
		Drain(window), Drain(window),
		Locked(window, [&]() { EXPECT_EQ(1, port_menu(window, 1)->CountItems()); }),
	});
}


// The user has the MIDI OUT menu and port A's submenu open while a device
// goes: the items stay until the menus close, then the menus are rebuilt.
TEST_F(MainWinTest, PortMenusWaitForOpenMenusToClose)
{
	AddDevice("Stays");
	BMidiRecordingConsumer* leaving = AddDevice("Leaves");
	RigWin* window = new RigWin;
	// The menus go when the bar is rebuilt under them.
	QPointer<QMenu> midiOut;
	QPointer<QMenu> portA;
	RunWindow(window, {
		[&]() { return (midiOut = popup_bar_menu(window, 2)) != nullptr; },
		[&]() {
			if (midiOut->actions().isEmpty())
				return false;
			portA = midiOut->actions().at(0)->menu();
			portA->popup(QPoint(40, 40));
			return portA->isVisible() && portA->actions().size() == 2;
		},
		[&]() { RemoveDevice(leaving); return true; },
		Drain(window), Drain(window), Settle(),
		Locked(window, [&]() {
			EXPECT_EQ(2, port_menu(window, 0)->CountItems());
			ASSERT_FALSE(portA.isNull());
			EXPECT_TRUE(portA->isVisible());
		}),
		[&]() {
			if (!portA.isNull())
				portA->hide();
			if (!midiOut.isNull())
				midiOut->hide();
			return true;
		},
		Settle(), Drain(window),
		[&]() {
			window->Lock();
			const int32 count = port_menu(window, 0)->CountItems();
			window->Unlock();
			return count == 1;
		},
	});
}



// A new language rebuilds every menu, so it too waits while the user has
// a menu open.
TEST_F(MainWinTest, LanguageChangeWaitsForOpenMenusToClose)
{
	RigWin* window = new RigWin;
	QPointer<QMenu> file;
	const std::string builtIn = gVLT.Text("Menu_File");
	RunWindow(window, {
		[&]() {
			file = popup_bar_menu(window, 0);
			return file != nullptr && file->isVisible();
		},
		Locked(window, [&]() {
			ASSERT_EQ(B_OK, gVLT.Load(ENGLISH_LANGUAGE_FILE));
			window->PostMessage(kMsgLanguageChanged);
		}),
		Drain(window), Settle(),
		Locked(window, [&]() {
			EXPECT_EQ(builtIn, window->KeyMenuBar()->ItemAt(0)->Label());
			ASSERT_FALSE(file.isNull());
			file->hide();
		}),
		[&]() {
			window->Lock();
			const std::string label = window->KeyMenuBar()->ItemAt(0)->Label();
			window->Unlock();
			return label == gVLT.Text("Menu_File");
		},
	});
}

}
