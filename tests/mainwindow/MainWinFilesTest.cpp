#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

#include <gtest/gtest.h>

#include <Entry.h>
#include <FilePanel.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <Path.h>
#include <SeparatorItem.h>
#include <StringView.h>

#include <Files.h>

#include "GlobalSettings.h"
#include "MainWinMessages.h"
#include "MainWinRig.h"
#include "MRUF.h"
#include "PlayerMessages.h"
#include "QtLookup.h"
#include "TempFolder.h"

namespace {

std::string
make_file(const TempFolder& folder, const std::string& name)
{
	const std::string path = folder / name;
	std::ofstream(path) << "not a song";
	return path;
}


BMessage
refs_message(uint32 what, const std::vector<std::string>& paths)
{
	BMessage message(what);
	for (const std::string& path : paths) {
		entry_ref ref;
		get_ref_for_path(path.c_str(), &ref);
		message.AddRef("refs", &ref);
	}
	return message;
}


BMenu*
recent_menu(BWindow* window, int32 which)
{
	return window->KeyMenuBar()->SubmenuAt(0)->SubmenuAt(3 + which);
}


// The tool tips of a recent-files submenu, which hold the full paths, and
// a check of the menu's tail.
std::vector<std::string>
recent_paths(BMenu* menu)
{
	std::vector<std::string> paths;
	int32 i = 0;
	for (; dynamic_cast<BSeparatorItem*>(menu->ItemAt(i)) == nullptr; i++)
		paths.push_back(menu->ItemAt(i)->ToolTip());
	EXPECT_EQ(i + 2, menu->CountItems());
	EXPECT_EQ(!paths.empty(), menu->ItemAt(i + 1)->IsEnabled());
	return paths;
}


std::vector<std::string>
stored_paths()
{
	BEntry entry;
	EXPECT_TRUE(pelkan::get_entry(TVantuWin::kRecentFilesName, &entry,
		pelkan::BaseDir_Settings, kSettingsFolderName));
	TMRUF stored;
	stored.Load(entry);
	std::vector<std::string> paths;
	for (int32 i = 0; i < stored.CountMRUFs(); i++)
		paths.push_back(stored.MRUFAt(i));
	return paths;
}


class MainWinFilesTest : public MainWinTest {
protected:
	void SetUp() override
	{
		MainWinTest::SetUp();
		BEntry entry;
		pelkan::get_entry(TVantuWin::kRecentFilesName, &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName);
		entry.Remove();
	}

	TempFolder fFolder;
};


TEST_F(MainWinFilesTest, RecentFilesAreCappedOrderedAndStored)
{
	std::vector<std::string> files;
	for (int32 i = 0; i < 12; i++)
		files.push_back(make_file(fFolder, "song" + std::to_string(i) + ".mid"));
	RigWin* window = new RigWin;
	RunWindow(window, {
		Locked(window, [&]() {
			EXPECT_TRUE(recent_paths(recent_menu(window, 0)).empty());
			EXPECT_TRUE(recent_paths(recent_menu(window, 1)).empty());
			BMessage open = refs_message(kMsgOpenListFolderFileRqtd,
				std::vector<std::string>(files.begin(), files.begin() + 6));
			window->PostMessage(&open);
			BMessage add = refs_message(kMsgAddListFolderFileRqtd,
				std::vector<std::string>(files.begin() + 6, files.end()));
			window->PostMessage(&add);
			BMessage again = refs_message(kMsgAddListFolderFileRqtd, {files[5]});
			window->PostMessage(&again);
		}),
		Drain(window),
		Locked(window, [&]() {
			const std::vector<std::string> expected = {files[5], files[11], files[10],
				files[9], files[8], files[7], files[6], files[4], files[3], files[2]};
			EXPECT_EQ(expected, recent_paths(recent_menu(window, 0)));
			EXPECT_EQ(expected, recent_paths(recent_menu(window, 1)));
			EXPECT_EQ(expected, stored_paths());
			EXPECT_EQ(fFolder.Path(), gExitState.panelFolder);
			const std::string sep = gVLT.Text("SC_Sep");
			EXPECT_EQ("0" + sep + "song5.mid", std::string(recent_menu(window, 1)->ItemAt(0)->Label()));
			BMessage* message = recent_menu(window, 1)->ItemAt(0)->Message();
			EXPECT_EQ(uint32(kMsgAddListFolderFileRqtd), message->what);
			bool mark = false;
			EXPECT_EQ(B_OK, message->FindBool(kRecentFileMark, &mark));
			EXPECT_TRUE(mark);

			window->alertAnswer = 0;
			window->PostMessage(kMsgDeleteAllRecentFiles);
		}),
		Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ(1, window->alertsShown);
			EXPECT_EQ(10u, recent_paths(recent_menu(window, 0)).size());
			window->alertAnswer = 1;
			window->PostMessage(kMsgDeleteAllRecentFiles);
		}),
		Drain(window),
		Locked(window, [&]() {
			EXPECT_TRUE(recent_paths(recent_menu(window, 0)).empty());
			EXPECT_TRUE(recent_paths(recent_menu(window, 1)).empty());
			EXPECT_TRUE(stored_paths().empty());
		}),
	});
}


TEST_F(MainWinFilesTest, MissingRecentFileIsForgottenWhenChosen)
{
	const std::string kept = make_file(fFolder, "kept.mid");
	const std::string gone = make_file(fFolder, "gone.mid");
	RigWin* window = new RigWin;
	RunWindow(window, {
		Locked(window, [&]() {
			BMessage open = refs_message(kMsgOpenListFolderFileRqtd, {kept, gone});
			window->PostMessage(&open);
		}),
		Drain(window),
		Locked(window, [&]() {
			ASSERT_EQ(2u, recent_paths(recent_menu(window, 0)).size());
			std::filesystem::remove(gone);
			// Chosen from the menu, as the user would.
			BMenuItem* item = recent_menu(window, 0)->ItemAt(0);
			ASSERT_EQ(gone, std::string(item->ToolTip()));
			item->Invoke();
		}),
		Drain(window), Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ(std::vector<std::string>{kept}, recent_paths(recent_menu(window, 0)));
			EXPECT_EQ(std::vector<std::string>{kept}, recent_paths(recent_menu(window, 1)));
			EXPECT_EQ(std::vector<std::string>{kept}, stored_paths());
			BStringView* status = dynamic_cast<BStringView*>(window->FindView("StatBar"));
			ASSERT_NE(nullptr, status);
			const std::string shown = status->Text();
			EXPECT_NE(std::string::npos, shown.find(std::string("gone.mid")
				+ gVLT.Text("Stat_Str_Recent_Missing"))) << shown;
		}),
	});
}


TEST_F(MainWinFilesTest, SavedNameIsRecordedWithTheListExtension)
{
	struct Case {
		const char* name;
		const char* recorded;
	};
	const Case cases[] = {{"x", "x.lml"}, {"x.txt", "x.txt"}, {"my.list.lml", "my.list.lml"}};
	RigWin* window = new RigWin;
	RunWindow(window, {Locked(window, [&]() {
		entry_ref folder;
		get_ref_for_path(fFolder.Path().c_str(), &folder);
		for (const Case& test : cases) {
			BMessage save(B_SAVE_REQUESTED);
			save.AddRef("directory", &folder);
			save.AddString("name", test.name);
			window->PostMessage(&save);
		}
	}), Drain(window), Locked(window, [&]() {
		const std::vector<std::string> expected = {fFolder / "my.list.lml",
			fFolder / "x.txt", fFolder / "x.lml"};
		EXPECT_EQ(expected, recent_paths(recent_menu(window, 0)));
	})});
}


std::string
folder_of(BFilePanel* panel)
{
	entry_ref ref;
	panel->GetPanelDirectory(&ref);
	return BPath(&ref).Path();
}


TEST_F(MainWinFilesTest, CancelledPanelIsFollowedByTheOther)
{
	std::filesystem::create_directory(fFolder / "a");
	std::filesystem::create_directory(fFolder / "b");
	RigWin* window = new RigWin;
	auto cancel = [window](BFilePanel* panel) {
		BMessage message(B_CANCEL);
		message.AddPointer("source", panel);
		window->PostMessage(&message);
	};
	RunWindow(window, {
		Locked(window, [&]() {
			window->PostMessage(kMsgOpenPanelForOpen);
			BMessage save(kMsgSavePanelRqtd);
			save.AddString("SvPnlTitle", "Save Test");
			const BMessage request(B_SAVE_REQUESTED);
			save.AddMessage("SvPnlMsg", &request);
			window->PostMessage(&save);
		}),
		Drain(window),
		Locked(window, [&]() {
			ASSERT_NE(nullptr, window->OpenPanel());
			ASSERT_NE(nullptr, window->SavePanel());
			EXPECT_STREQ("Save Test", window->SavePanel()->Window()->Title());
			window->OpenPanel()->SetPanelDirectory((fFolder / "a").c_str());
			cancel(window->OpenPanel());
		}),
		Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ(fFolder / "a", folder_of(window->SavePanel()));
			window->SavePanel()->SetPanelDirectory((fFolder / "b").c_str());
			cancel(window->SavePanel());
		}),
		Drain(window),
		Locked(window, [&]() {
			EXPECT_EQ(fFolder / "b", folder_of(window->OpenPanel()));
			window->OpenPanel()->Hide();
			window->SavePanel()->Hide();
		}),
	});
}



// Two files of the same name tell apart by the full path the pointer shows.
// A file opened while the menu is open is stored at once and shown once
// the menu has closed.
TEST_F(MainWinFilesTest, RecentItemsShowTheirFullPathAsToolTip)
{
	std::filesystem::create_directory(fFolder / "a");
	const std::string path = make_file(fFolder, "a/same.mid");
	const std::string other = make_file(fFolder, "same.mid");
	RigWin* window = new RigWin;
	QPointer<QMenu> file;
	QPointer<QMenu> open;
	RunWindow(window, {
		Locked(window, [&]() {
			BMessage message = refs_message(kMsgOpenListFolderFileRqtd, {path});
			window->PostMessage(&message);
		}),
		Drain(window), Settle(),
		[&]() { return (file = popup_bar_menu(window, 0)) != nullptr; },
		[&]() {
			if (file.isNull() || file->actions().size() < 4)
				return false;
			open = file->actions().at(3)->menu();
			open->popup(QPoint(40, 40));
			return !open->actions().isEmpty();
		},
		[&]() {
			EXPECT_TRUE(open->toolTipsVisible());
			EXPECT_EQ(QString::fromStdString(path), open->actions().at(0)->toolTip());
			BMessage message = refs_message(kMsgOpenListFolderFileRqtd, {other});
			window->PostMessage(&message);
			return true;
		},
		Drain(window), Settle(),
		Locked(window, [&]() {
			EXPECT_EQ(std::vector<std::string>{path}, recent_paths(recent_menu(window, 0)));
			EXPECT_EQ((std::vector<std::string>{other, path}), stored_paths());
			ASSERT_FALSE(open.isNull());
			open->hide();
			file->hide();
		}),
		[&]() {
			window->Lock();
			const bool shown = recent_paths(recent_menu(window, 0)).size() == 2;
			window->Unlock();
			return shown;
		},
	});
}

}
