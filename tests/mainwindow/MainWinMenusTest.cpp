#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include <InterfaceDefs.h>
#include <InterfaceKit.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <Screen.h>

#include "AppConstants.h"
#include "MainWinMessages.h"
#include "MainWinRig.h"
#include "PlayerMessages.h"
#include "TempFolder.h"

namespace {

struct ItemCase {
	int32 menu;
	int32 item;
	const char* key;
	uint32 what;
	char shortcut;
};

// The menu bar as the user sees it; a submenu's own item is listed with
// the message its shortcut sends.
const ItemCase kItems[] = {
	{0, 0, "MItem_New", kMsgNewList, 'N'},
	{0, 1, "MItem_Add_New", kMsgAddNewList, 'L'},
	{0, 3, "Menu_Open", kMsgOpenPanelForOpen, 'O'},
	{0, 4, "Menu_Add", kMsgOpenPanelForAdd, 'E'},
	{0, 6, "MItem_Save", kMsgSaveList, 'S'},
	{0, 7, "MItem_Save_As", kMsgSaveListAs, '2'},
	{0, 9, "MItem_Quit", B_QUIT_REQUESTED, 'Q'},
	{1, 0, "MItem_All_Notes_Off", kMsgAllNotesOff, 'F'},
	{1, 2, "MItem_Play_Mode_Seq", kMsgPlayMode, 0},
	{1, 7, "MItem_Play_Mode_AI_Random", kMsgPlayMode, 0},
	{3, 0, "MItem_Open_Cur_Doc", kMsgOpenCurDoc, 0},
	{3, 2, "MItem_Prefs", kMsgShowPrefs, 0},
	{3, 3, "MItem_Drv_Cvt_Prefs", kMsgShowDrvCvtPrefs, 0},
	{4, 0, "MItem_Help", '_hlp', 0},
	{4, 2, "MItem_Author_Web", '_jaw', 0},
	{4, 4, "MItem_About", B_ABOUT_REQUESTED, 0},
};

const char* const kMenuKeys[] = {"Menu_File", "Menu_Play", "Menu_MIDI_OUT", "Menu_Tool",
	"Menu_Help"};


// Every label and shortcut of the bar in the language loaded now.
void
expect_menus_in_current_language(BMenuBar* bar)
{
	ASSERT_EQ(5, bar->CountItems());
	for (int32 i = 0; i < 5; i++)
		EXPECT_STREQ(gVLT.Text(kMenuKeys[i]), bar->ItemAt(i)->Label()) << kMenuKeys[i];
	for (const ItemCase& test : kItems) {
		SCOPED_TRACE(test.key);
		BMenuItem* item = bar->SubmenuAt(test.menu)->ItemAt(test.item);
		ASSERT_NE(nullptr, item);
		EXPECT_STREQ(gVLT.Text(test.key), item->Label());
		ASSERT_NE(nullptr, item->Message());
		EXPECT_EQ(test.what, item->Message()->what);
		uint32 modifiers = 1;
		EXPECT_EQ(test.shortcut, item->Shortcut(&modifiers));
		EXPECT_EQ(0u, modifiers);
	}
	const std::string port = std::string(gVLT.Text("SC_Sep")) + gVLT.Text("Menu_MIDI_Port");
	BMenu* midiOut = bar->SubmenuAt(2);
	EXPECT_EQ("A" + port + "A", midiOut->ItemAt(0)->Label());
	EXPECT_EQ("B" + port + "B", midiOut->ItemAt(1)->Label());
}


int32
marked_play_mode(BMenuBar* bar)
{
	BMenu* play = bar->SubmenuAt(1);
	int32 marked = -1;
	for (int32 mode = 0; mode < 6; mode++) {
		if (play->ItemAt(mode + 2)->IsMarked()) {
			EXPECT_EQ(-1, marked) << "two modes marked";
			marked = mode;
		}
	}
	return marked;
}


TEST_F(MainWinTest, MenusCarryTheirLabelsShortcutsAndMessages)
{
	RigWin* window = new RigWin;
	RunWindow(window, {
		Locked(window, [&]() {
			expect_menus_in_current_language(window->KeyMenuBar());
			// The Add submenu's own shortcut shows the panel for adding.
			BMessage key = KeyMessage('e', B_COMMAND_KEY);
			window->PostMessage(&key);
		}),
		Drain(window), Drain(window),
		Locked(window, [&]() {
			ASSERT_NE(nullptr, window->OpenPanel());
			ASSERT_NE(nullptr, window->OpenPanel()->Window());
			EXPECT_EQ(std::string(gVLT.Text("Open_Panel_Title_Add")) + " - " + gAppName,
				window->OpenPanel()->Window()->Title());
			BMessage key = KeyMessage('o', B_COMMAND_KEY);
			window->PostMessage(&key);
		}),
		Drain(window), Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ(std::string(gVLT.Text("Open_Panel_Title_Open")) + " - " + gAppName,
				window->OpenPanel()->Window()->Title());
			window->OpenPanel()->Hide();
		}),
	});
}


TEST_F(MainWinTest, PlayModeMarksExactlyOneAndIgnoresBadModes)
{
	gExitState.playMode = 4;
	RigWin* window = new RigWin;
	auto post_mode = [window](int32 mode) {
		BMessage message(kMsgUpdateMenuPlayModeRqtd);
		message.AddInt32("PlayMode", mode);
		window->PostMessage(&message);
		return true;
	};
	RunWindow(window, {
		Locked(window, [&]() { EXPECT_EQ(4, marked_play_mode(window->KeyMenuBar())); }),
		[&]() { return post_mode(1); }, Drain(window),
		Locked(window, [&]() { EXPECT_EQ(1, marked_play_mode(window->KeyMenuBar())); }),
		[&]() { return post_mode(9); }, [&]() { return post_mode(-1); }, Drain(window),
		Locked(window, [&]() { EXPECT_EQ(1, marked_play_mode(window->KeyMenuBar())); }),
		[window]() { window->PostMessage(kMsgUpdateMenuPlayModeRqtd); return true; },
		Drain(window),
		Locked(window, [&]() { EXPECT_EQ(1, marked_play_mode(window->KeyMenuBar())); }),
	});
}


TEST_F(MainWinTest, LanguageChangeRelabelsEveryMenuAndKeepsMarksAndPanelLabel)
{
	gExitState.playMode = 2;
	RigWin* window = new RigWin;
	BMidiRecordingConsumer* device = AddDevice("Synth One");
	std::string addTitle;
	RunWindow(window, {
		[&]() {
			BMessage choose(kMsgMidiOut);
			choose.AddInt32("MIDIPort", 1);
			choose.AddInt32("be:id", device->ID());
			window->PostMessage(&choose, window->PlayerView());
			window->PostMessage(kMsgOpenPanelForAdd);
			return true;
		},
		Drain(window), Drain(window),
		Locked(window, [&]() {
			ASSERT_EQ(B_OK, gVLT.Load(ENGLISH_LANGUAGE_FILE));
			window->PostMessage(kMsgLanguageChanged);
		}),
		Drain(window), Drain(window),
		Locked(window, [&]() {
			BMenuBar* bar = window->KeyMenuBar();
			expect_menus_in_current_language(bar);
			EXPECT_EQ(2, marked_play_mode(bar));
			BMenu* portB = bar->SubmenuAt(2)->SubmenuAt(1);
			ASSERT_EQ(1, portB->CountItems());
			EXPECT_TRUE(portB->ItemAt(0)->IsMarked());
			EXPECT_TRUE(portB->Superitem()->IsMarked());
			EXPECT_FALSE(bar->SubmenuAt(2)->SubmenuAt(0)->ItemAt(0)->IsMarked());
			ASSERT_NE(nullptr, window->OpenPanel());
			ASSERT_NE(nullptr, window->OpenPanel()->Window());
			EXPECT_EQ(std::string(gVLT.Text("Open_Panel_Title_Add")) + " - " + gAppName,
				window->OpenPanel()->Window()->Title());
			window->OpenPanel()->Hide();
		}),
	});
}


TEST_F(MainWinTest, FrameFromSettingsIsKeptOnTheScreen)
{
	const float nan = std::numeric_limits<float>::quiet_NaN();
	struct Case {
		const char* name;
		BRect frame;
	};
	const Case cases[] = {
		{"far off screen and huge", BRect(-5000, 90000, 100000, 190000)},
		{"inverted", BRect(300, 300, 10, 10)},
		{"not a number", BRect(nan, 10, 300, nan)},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		RigWin* window = new RigWin(test.frame);
		RunWindow(window, {Locked(window, [&]() {
			const BRect screen = BScreen(B_MAIN_SCREEN_ID).Frame();
			const BRect frame = window->Frame();
			EXPECT_TRUE(std::isfinite(frame.left) && std::isfinite(frame.bottom));
			EXPECT_GE(frame.left, screen.left);
			EXPECT_GE(frame.top, screen.top);
			EXPECT_LE(frame.right, screen.right);
			EXPECT_LE(frame.bottom, screen.bottom);
			EXPECT_GE(frame.Width(), 200);
		})});
	}
}


TEST_F(MainWinTest, TitleCarriesTheCurrentSong)
{
	RigWin* window = new RigWin;
	auto post_title = [window](const char* title) {
		BMessage message(kMsgDeskBarTitleRqtd);
		message.AddString("DeskBarTitle", title);
		window->PostMessage(&message);
		return true;
	};
	std::string listTitle;
	RunWindow(window, {
		Locked(window, [&]() {
			listTitle = window->Title();
			EXPECT_NE(std::string::npos, listTitle.find(gAppName)) << listTitle;
		}),
		[&]() { return post_title("Blue Song"); }, Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ("Blue Song - " + listTitle, window->Title());
			// The player names the list anew: the song stays in front.
			window->PostMessage(kMsgUpdateWinTitleRqtd, window->PlayerView());
		}),
		Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ("Blue Song - " + listTitle, window->Title());
			EXPECT_EQ("Blue Song", BPrivate::task_bar_label());
		}),
		[&]() { return post_title(gAppName); }, Drain(window),
		Locked(window, [&]() { EXPECT_EQ(listTitle, window->Title()); }),
	});
}



// What the window leaves behind: its frame when it quits, and the folder
// its panels showed last when it goes.
TEST_F(MainWinTest, QuitLeavesTheFrameAndThePanelFolder)
{
	TempFolder folder;
	RigWin* window = new RigWin;
	RunWindow(window, {
		Locked(window, [&]() {
			window->PostMessage(kMsgOpenPanelForOpen);
		}),
		Drain(window),
		[&]() {
			window->Lock();
			EXPECT_NE(nullptr, window->OpenPanel());
			if (window->OpenPanel() == nullptr) {
				window->Unlock();
				return true;
			}
			window->OpenPanel()->SetPanelDirectory(folder.Path().c_str());
			window->OpenPanel()->Hide();
			window->MoveTo(60, 70);
			window->ResizeTo(420, 330);
			const BRect frame = window->Frame();
			// The program's own quit asks the player, whose list is
			// unchanged.
			EXPECT_TRUE(window->QuitRequested());
			window->Quit();
			EXPECT_EQ(frame, gExitState.mainWinFrame);
			EXPECT_EQ(folder.Path(), gExitState.panelFolder);
			return true;
		},
	});
}

}
