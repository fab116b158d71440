#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include <DrvCvtView.h>
#include <DrvCvtWin.h>
#include <Files.h>
#include <Menu.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <TextControl.h>

#include "AppRig.h"

namespace fs = std::filesystem;

namespace {

// The application's dialogs and launches in a test binary that carries no
// layout archives: the preferences and about windows cannot be built here.
// Launches go to a fake "xdg-open" first on PATH that writes its argument
// into a file beside itself.
class AppDialogsTest : public AppTest {
protected:
	AppDialogsTest()
		:
		fPath("PATH", (fHome.Path() + "/bin").c_str())
	{
	}

	void SetUp() override
	{
		AppTest::SetUp();
		fs::create_directories(fHome.Path() + "/bin");
		WriteOpener("#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.args\"\n");
	}

	void TearDown() override
	{
		AppTest::TearDown();
		for (const char* file : {"VantuMIDI.htm", "ja", "README.md"})
			fs::remove_all(ProgramFolder(file));
	}

	void WriteOpener(const std::string& script)
	{
		std::ofstream(Opener()) << script;
		ASSERT_EQ(0, chmod(Opener().c_str(), 0755));
	}

	std::string Opener() const { return fHome.Path() + "/bin/xdg-open"; }

	// What the opener was given; waits for it (the launch is detached).
	Step Opened(std::string* argument)
	{
		return [this, argument]() {
			const std::string file = Opener() + ".args";
			if (!fs::exists(file))
				return false;
			*argument = read_whole_file(file);
			fs::remove(file);
			return true;
		};
	}

	static void PutBesideProgram(const std::string& name)
	{
		const fs::path path = ProgramFolder(name.c_str());
		fs::create_directories(path.parent_path());
		std::ofstream(path) << "<!DOCTYPE html><title>t</title>";
	}

	ScopedVariable fPath;
};


TEST_F(AppDialogsTest, AWindowThatCannotBeBuiltIsToldAndTriedAgainNextTime)
{
	InstallEnglish();
	Start();
	RunSteps({
		Do([&]() {
			fApp->PostMessage('_prf');
			fApp->PostMessage(B_ABOUT_REQUESTED);
			fApp->PostMessage('_prf');
		}),
		[&]() { return fAlerts.size() == 3; },
		Do([&]() {
			EXPECT_EQ(nullptr, fApp->PrefWindow());
			EXPECT_EQ(nullptr, fApp->AboutWindow());
		}),
	});
	const std::string prefs = "* Vantu MIDI *|The Preferences window cannot be opened.|U・Understand";
	EXPECT_EQ((std::vector<std::string>{prefs,
		"* Vantu MIDI *|The About window cannot be opened.|U・Understand", prefs}), fAlerts);
}


// The drive-letter window opens 20 pixels below the main window's corner, is
// the same window the next time, relabels with the language, and its OK
// reaches the application's own table.
TEST_F(AppDialogsTest, DriveLetterWindowIsKeptFollowsTheLanguageAndItsOKReachesTheApplication)
{
	InstallEnglish();
	gPref.languageChosen = true;
	gPref.languageFile = "";
	Start();
	TDrvCvtWin* window = nullptr;
	BRect mainFrame;
	RunSteps({
		Do([&]() { fApp->PostMessage('_dcs'); }),
		[&]() { return (window = fApp->DrvCvtWindow()) != nullptr && !window->IsHidden(); },
		Do([&]() {
			fMainWindow->Lock();
			mainFrame = fMainWindow->Frame();
			fMainWindow->Unlock();
			window->Lock();
			EXPECT_EQ(mainFrame.LeftTop() + BPoint(0, 20), window->Frame().LeftTop());
			EXPECT_STREQ("ドライブレター変換の設定", window->Title());
			window->MoveTo(BPoint(210, 230));
			window->Hide();
			window->Unlock();
			gPref.languageFile = ProgramFolder("Language") + "/English.vlt";
			fApp->PostMessage('plnc');
			fApp->PostMessage('_dcs');
		}),
		[&]() { return AppCount('_lgc') == 1 && !window->IsHidden(); },
		Do([&]() {
			EXPECT_EQ(window, fApp->DrvCvtWindow());
			EXPECT_EQ(BPoint(210, 230), window->Frame().LeftTop());
			EXPECT_STREQ("Drive Letter Settings", window->Title());
			BString path;
			EXPECT_FALSE(gAppPrivacy.GetBeDL('D', &path));
			window->Lock();
			TDrvCvtView* view = window->DrvCvtView();
			static_cast<BMenuField*>(view->FindView("MFieldWinDL"))->Menu()->ItemAt(3)
				->SetMarked(true);
			static_cast<BTextControl*>(view->FindView("TxtCtrlBeDL"))->SetText("/mnt/d");
			window->Unlock();
			window->PostMessage(kMsgDrvCvtRegister, view);
			window->PostMessage(kMsgDrvCvtOK, view);
		}),
		[&]() { return AppCount('_dcc') == 1; },
		Do([&]() {
			BString path;
			EXPECT_TRUE(gAppPrivacy.GetBeDL('D', &path));
			EXPECT_EQ(BString("/mnt/d"), path);
		}),
	});
	EXPECT_TRUE(fAlerts.empty());
}


// Help opens the document of the language in use; the web page item opens
// the README beside the program by its file URL.
TEST_F(AppDialogsTest, HelpAndWebPageOpenTheirDocuments)
{
	struct Case {
		const char* name;
		bool english;
		std::vector<std::string> present;
		uint32 what;
		std::string opened;		// below the program's folder
	};
	const Case cases[] = {
		{"English help", true, {"VantuMIDI.htm", "ja/VantuMIDI.htm"}, '_hlp', "VantuMIDI.htm"},
		{"Japanese help", false, {"VantuMIDI.htm", "ja/VantuMIDI.htm"}, '_hlp',
			"ja/VantuMIDI.htm"},
		{"Japanese help missing: the English one", false, {"VantuMIDI.htm"}, '_hlp',
			"VantuMIDI.htm"},
		{"the README as the web page", true, {"README.md"}, '_jaw', "README.md"},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		if (c.english)
			InstallEnglish();
		for (const std::string& file : c.present)
			PutBesideProgram(file);
		Start();
		std::string opened;
		RunSteps({Do([&]() { fApp->PostMessage(c.what); }), Opened(&opened)});
		const std::string expected = ProgramFolder(c.opened.c_str());
		EXPECT_EQ(c.what == '_hlp' ? expected : "file://" + expected, opened);
		EXPECT_TRUE(fAlerts.empty());
		TearDown();
		SetUp();
	}
}


TEST_F(AppDialogsTest, WhatCannotBeOpenedIsTold)
{
	const std::string help = ProgramFolder("VantuMIDI.htm");
	const std::string readme = "file://" + ProgramFolder("README.md");
	struct Case {
		const char* name;
		const char* opener;		// NULL: no xdg-open at all
		bool documentsPresent;
		uint32 what;
		std::string alert;
	};
	const Case cases[] = {
		{"no help document", "", false, '_hlp', "ヘルプを表示できません：\n" + help},
		{"no opener", NULL, true, '_hlp', "ヘルプを表示できません：\n" + help},
		{"an opener that cannot start", "#!/no/such/shell\n", true, '_hlp',
			"ヘルプを表示できません：\n" + help},
		{"no README", "", false, '_jaw', "ページを表示できません：\n" + readme},
		{"no opener for the page", NULL, true, '_jaw', "ページを表示できません：\n" + readme},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		InstallEnglish();
		if (c.opener == NULL)
			fs::remove(Opener());
		else if (c.opener[0] != '\0')
			WriteOpener(c.opener);
		if (c.documentsPresent) {
			PutBesideProgram("VantuMIDI.htm");
			PutBesideProgram("README.md");
		}
		Start();
		RunSteps({Do([&]() { fApp->PostMessage(c.what); }),
			[&]() { return !fAlerts.empty(); }});
		EXPECT_EQ((std::vector<std::string>{"* Vantu MIDI *|" + c.alert + "|ＯＫ"}), fAlerts);
		EXPECT_FALSE(fs::exists(Opener() + ".args"));
		fAlerts.clear();
		TearDown();
		SetUp();
	}
}

}	// namespace
