#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Entry.h>
#include <FilePanel.h>
#include <FilePanelPrivate.h>
#include <Message.h>
#include <Messenger.h>
#include <Path.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;

namespace {

// A folder with songs and a subfolder, made for the test.
class FilePanelTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		char pattern[] = "/tmp/filepanel-XXXXXX";
		ASSERT_NE(nullptr, mkdtemp(pattern));
		fFolder = pattern;
		std::ofstream(fFolder + "/b.mid") << "MThd";
		std::ofstream(fFolder + "/a.mid") << "MThd";
		std::filesystem::create_directory(fFolder + "/Lists");
		std::ofstream(fFolder + "/Lists/x.lml") << "list";
		fRecorder = new Recorder;
		fTarget = fRecorder->Messenger();
	}

	void TearDown() override
	{
		fRecorder->Finish();
		std::filesystem::remove_all(fFolder);
	}

	std::string RefPath(const BMessage& message, const char* name, int32 index = 0)
	{
		entry_ref ref;
		if (message.FindRef(name, index, &ref) != B_OK)
			return "(none)";
		return ref.path();
	}

	std::string fFolder;
	Recorder* fRecorder = nullptr;
	BMessenger fTarget;
};


TEST_F(FilePanelTest, OpenPanelReturnsFilesAndFoldersTogether)
{
	BMessage message('olfr');
	message.AddInt32("kept", 7);
	BFilePanel panel(B_OPEN_PANEL, &fTarget, nullptr, B_FILE_NODE | B_DIRECTORY_NODE, true,
		&message);
	panel.SetPanelDirectory(fFolder.c_str());
	const std::vector<std::string> expected = {"Lists", "a.mid", "b.mid"};
	EXPECT_EQ(expected, BPrivate::file_panel_entries(&panel)) << "folders first, then by name";

	ASSERT_TRUE(BPrivate::file_panel_select(&panel, {"b.mid", "Lists"}));
	BPrivate::file_panel_confirm(&panel);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	const std::vector<BMessage> replies = fRecorder->Messages();
	EXPECT_EQ('olfr', replies[0].what);
	EXPECT_EQ(7, controls_test::int32_of(replies[0], "kept"));
	EXPECT_EQ(fFolder + "/Lists", RefPath(replies[0], "refs", 0));
	EXPECT_EQ(fFolder + "/b.mid", RefPath(replies[0], "refs", 1));
	EXPECT_EQ("(none)", RefPath(replies[0], "refs", 2));

	// Closing after the choice reports the panel as closed, once.
	EXPECT_EQ(B_CANCEL, replies[1].what);
	void* source = nullptr;
	replies[1].FindPointer("source", &source);
	EXPECT_EQ(&panel, source);
	EXPECT_TRUE(fRecorder->StaysAt(2));
}


TEST_F(FilePanelTest, OpenPanelWithoutSelectionChoosesTheFolderShown)
{
	BFilePanel panel(B_OPEN_PANEL, &fTarget, nullptr, B_FILE_NODE | B_DIRECTORY_NODE);
	panel.SetPanelDirectory(fFolder.c_str());
	ASSERT_TRUE(BPrivate::file_panel_open_folder(&panel, "Lists"));
	BPrivate::file_panel_confirm(&panel);
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ(B_REFS_RECEIVED, fRecorder->Messages()[0].what);
	EXPECT_EQ(fFolder + "/Lists", RefPath(fRecorder->Messages()[0], "refs"));
	entry_ref shown;
	panel.GetPanelDirectory(&shown);
	EXPECT_EQ(fFolder + "/Lists", shown.path());
}


TEST_F(FilePanelTest, FilesOnlyPanelCannotChooseFolders)
{
	BFilePanel panel(B_OPEN_PANEL, &fTarget, nullptr, B_FILE_NODE, false);
	panel.SetPanelDirectory(fFolder.c_str());
	ASSERT_TRUE(BPrivate::file_panel_select(&panel, {"Lists"}));
	BPrivate::file_panel_confirm(&panel);
	EXPECT_TRUE(fRecorder->StaysAt(0)) << "nothing to open: the panel stays";
	ASSERT_TRUE(BPrivate::file_panel_select(&panel, {"a.mid"}));
	BPrivate::file_panel_confirm(&panel);
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ(fFolder + "/a.mid", RefPath(fRecorder->Messages()[0], "refs"));
}


TEST_F(FilePanelTest, SavePanelKeepsTheRequestsFields)
{
	BFilePanel panel(B_SAVE_PANEL, &fTarget);
	BMessage request(B_SAVE_REQUESTED);
	request.AddInt32("ListID", 42);
	const BMessage next('next');
	request.AddMessage("_NxMsg", &next);
	panel.SetMessage(&request);
	panel.SetPanelDirectory(fFolder.c_str());
	panel.SetSaveText("new list.lml");
	BPrivate::file_panel_confirm(&panel);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	const BMessage reply = fRecorder->Messages()[0];
	EXPECT_EQ(B_SAVE_REQUESTED, reply.what);
	EXPECT_EQ(42, controls_test::int32_of(reply, "ListID"));
	BMessage nextKept;
	EXPECT_EQ(B_OK, reply.FindMessage("_NxMsg", &nextKept));
	EXPECT_EQ('next', nextKept.what);
	EXPECT_EQ(fFolder, RefPath(reply, "directory"));
	const char* name = nullptr;
	ASSERT_EQ(B_OK, reply.FindString("name", &name));
	EXPECT_STREQ("new list.lml", name);
	EXPECT_EQ(B_CANCEL, fRecorder->Messages()[1].what);
}


TEST_F(FilePanelTest, CancelSendsOnlyTheCancel)
{
	BFilePanel panel(B_SAVE_PANEL, &fTarget);
	panel.SetPanelDirectory(fFolder.c_str());
	panel.Show();
	EXPECT_TRUE(panel.IsShowing());
	BPrivate::file_panel_cancel(&panel);
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ(B_CANCEL, fRecorder->Messages()[0].what);
	EXPECT_FALSE(panel.IsShowing());

	// Hiding from code sends nothing.
	panel.Show();
	panel.Hide();
	EXPECT_TRUE(fRecorder->StaysAt(1));
}


TEST_F(FilePanelTest, CloseBoxHidesAndTheApplicationsQuitEndsTheWindow)
{
	BFilePanel panel(B_OPEN_PANEL, &fTarget);
	panel.SetPanelDirectory(fFolder.c_str());
	panel.Show();
	panel.Window()->PostMessage(B_QUIT_REQUESTED);
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ(B_CANCEL, fRecorder->Messages()[0].what);
	EXPECT_FALSE(panel.IsShowing());
	ASSERT_NE(nullptr, panel.Window());

	// The application asks its windows directly, then quits them.
	BWindow* window = panel.Window();
	ASSERT_TRUE(window->Lock());
	EXPECT_TRUE(window->QuitRequested());
	window->Quit();
	EXPECT_EQ(nullptr, panel.Window());
	entry_ref shown;
	panel.GetPanelDirectory(&shown);
	EXPECT_EQ(fFolder, shown.path());
	panel.Show();
	EXPECT_FALSE(panel.IsShowing());
	EXPECT_TRUE(fRecorder->StaysAt(1));
}


TEST_F(FilePanelTest, MissingFolderFallsBackToHome)
{
	BFilePanel panel(B_OPEN_PANEL, &fTarget);
	panel.SetPanelDirectory("/boot/home");
	entry_ref shown;
	panel.GetPanelDirectory(&shown);
	BEntry home(getenv("HOME"));
	entry_ref homeRef;
	ASSERT_EQ(B_OK, home.GetRef(&homeRef));
	EXPECT_EQ(homeRef.path(), shown.path());
}


TEST_F(FilePanelTest, LabelsAndTitle)
{
	BFilePanel panel(B_OPEN_PANEL, &fTarget);
	panel.SetButtonLabel(B_DEFAULT_BUTTON, "Add");
	panel.SetButtonLabel(B_CANCEL_BUTTON, "Close");
	panel.Window()->SetTitle("Add songs");
	EXPECT_STREQ("Add songs", panel.Window()->Title());
	EXPECT_EQ(B_OPEN_PANEL, panel.PanelMode());
}

}
