#include <gtest/gtest.h>

#include <filesystem>

#include <NodeMonitorHandler.h>

#include <GlobalSettings.h>
#include <LanguageFiles.h>

#include "AppRig.h"
#include "LanguageFileWriter.h"

namespace fs = std::filesystem;

namespace {

const char kBuiltInFileMenu[] = "F・ファイル";
const char kEnglishFileMenu[] = "F・File";

typedef AppTest LanguageRunTest;

}	// namespace


TEST_F(LanguageRunTest, ReloadFromThePreferencesReachesTheMainWindowAndRelabelsIt)
{
	InstallEnglish();
	gPref.languageChosen = true;
	gPref.languageFile = "";
	Start();
	std::string before;
	RunSteps({
		Do([&]() {
			before = FirstMenuLabel();
			gPref.languageFile = ProgramFolder("Language") + "/English.vlt";
			fApp->PostMessage('plnc');
		}),
		[&]() { return WindowCount('_lgc') == 1; },
		DrainMainWindow(),
		Do([&]() {
			EXPECT_EQ(kBuiltInFileMenu, before);
			EXPECT_EQ(kEnglishFileMenu, FirstMenuLabel());
			EXPECT_EQ(1, AppCount('_lgc'));
			EXPECT_EQ(ProgramFolder("Language") + "/English.vlt", fApp->LanguageFileInUse());
		}),
	});
	EXPECT_TRUE(fAlerts.empty());
}


// The file is mended while the program runs: the watch on it reloads it.
TEST_F(LanguageRunTest, FailedLoadShowsTheBuiltInTextKeepsThePreferenceAndRecovers)
{
	const std::string broken = ProgramFolder("Language") + "/Broken.vlt";
	write_whole_file(broken, "[ Informations ]\nHeader = VLT File Format 99\n");
	gPref.languageChosen = true;
	gPref.languageFile = "Broken.vlt";
	Start();
	ASSERT_EQ(1u, fAlerts.size());
	EXPECT_EQ("* Vantu MIDI *|Can't load language file:\n" + broken + "|U - Understand",
		fAlerts[0]);
	EXPECT_STREQ(kBuiltInFileMenu, gVLT.Text("Menu_File"));
	EXPECT_EQ(broken, gPref.languageFile);
	EXPECT_TRUE(gPref.languageChosen);

	int32 notices = 0;
	RunSteps({
		Do([&]() {
			EXPECT_EQ(kBuiltInFileMenu, FirstMenuLabel());
			write_language_file(broken, "Mended", "F - Mended");
		}),
		[&]() { return AppCount(B_NODE_MONITOR) > 0; },
		Do([&]() { fClock.Advance(TNodeMonitorHandler::kQuietTime); }),
		[&]() { return WindowCount('_lgc') == 1; },
		DrainMainWindow(),
		Do([&]() {
			notices = AppCount(B_NODE_MONITOR);
			EXPECT_EQ("F - Mended", FirstMenuLabel());
		}),
	});
	EXPECT_GT(notices, 0);
	EXPECT_EQ(1u, fAlerts.size());
	EXPECT_EQ(broken, gPref.languageFile);
}


TEST_F(LanguageRunTest, BareNameLiesInTheFolderThatHoldsIt)
{
	InstallEnglish();
	fs::create_directories(UserFolder("Language"));
	write_language_file(UserFolder("Language") + "/Mine.vlt", "Mine");
	const struct {
		const char* name;
		std::string resolved;
		const char* fileMenu;
	} cases[] = {
		{"English.vlt", ProgramFolder("Language") + "/English.vlt", kEnglishFileMenu},
		{"Mine.vlt", UserFolder("Language") + "/Mine.vlt", "F - File"},
		{"Gone.vlt", ProgramFolder("Language") + "/Gone.vlt", kBuiltInFileMenu},
	};
	Start();
	RunSteps({
		Do([&]() {
			for (const auto& test : cases) {
				SCOPED_TRACE(test.name);
				gPref.languageChosen = true;
				gPref.languageFile = test.name;
				fApp->LoadLanguage();
				EXPECT_EQ(test.resolved, gPref.languageFile);
				EXPECT_STREQ(test.fileMenu, gVLT.Text("Menu_File"));
			}
		}),
	});
	ASSERT_EQ(1u, fAlerts.size());
	EXPECT_NE(std::string::npos, fAlerts[0].find("Gone.vlt"));
}


// Until a language is picked it follows the locale, and the preference's
// file is left as it was.
TEST_F(LanguageRunTest, StartFollowsTheLocaleUntilALanguageIsPicked)
{
	InstallEnglish();
	write_language_file(ProgramFolder("Language") + "/German.vlt", "German ( Deutsch )",
		"D - Datei");
	const struct {
		const char* lang;
		bool chosen;
		const char* fileMenu;
	} cases[] = {
		{"de_DE.UTF-8", false, "D - Datei"},
		{"ja_JP.UTF-8", false, kBuiltInFileMenu},
		{"fr_FR.UTF-8", false, kEnglishFileMenu},
		{"de_DE.UTF-8", true, kEnglishFileMenu},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(std::string(test.lang) + (test.chosen ? " chosen" : ""));
		ScopedVariable lang("LANG", test.lang);
		gPref = TPref();
		gPref.languageChosen = test.chosen;
		Start();
		std::string label;
		RunSteps({Do([&]() { label = FirstMenuLabel(); })});
		EXPECT_EQ(test.fileMenu, label);
		EXPECT_EQ("English.vlt", gPref.languageFile.substr(gPref.languageFile.rfind('/') + 1));
	}
	EXPECT_TRUE(fAlerts.empty());
}


TEST_F(LanguageRunTest, DroppedLanguageFileIsInstalledInTheUsersFolderAndUsed)
{
	InstallEnglish();
	const std::string source = fHome.Path() + "/Klingon.vlt";
	write_language_file(source, "Klingon", "F - tlhIngan");
	const std::string installed = UserFolder("Language") + "/Klingon.vlt";
	Start();
	RunSteps({
		Do([&]() {
			// A drop without a file is ignored.
			fApp->PostMessage('lnfd');
			DropLanguageFile(source);
		}),
		[&]() { return WindowCount('_lgc') == 1; },
		DrainMainWindow(),
		Do([&]() {
			EXPECT_EQ("F - tlhIngan", FirstMenuLabel());
			EXPECT_EQ(installed, fApp->LanguageFileInUse());
		}),
	});
	EXPECT_EQ(read_whole_file(source), read_whole_file(installed));
	EXPECT_EQ(installed, gPref.languageFile);
	EXPECT_TRUE(gPref.languageChosen);
	EXPECT_EQ(1, AppCount('plnc'));
	EXPECT_TRUE(fAlerts.empty());

	gPref = TPref();
	load_global();
	EXPECT_EQ(installed, gPref.languageFile);
	EXPECT_TRUE(gPref.languageChosen);
	TLanguageFiles languages;
	get_lang_files(&languages);
	EXPECT_EQ(installed, languages["Klingon"]);
}


TEST_F(LanguageRunTest, DroppedLanguageFileThatCannotBeCopiedLeavesThePreference)
{
	InstallEnglish();
	const std::string source = fHome.Path() + "/Klingon.vlt";
	write_language_file(source, "Klingon");
	// A file where the user's language folder should be: nothing can be
	// copied into it, whoever runs the test.
	fs::create_directories(fHome.Path() + "/data/VantuMIDI");
	write_whole_file(UserFolder("Language"), "in the way");
	Start();
	RunSteps({
		Do([&]() { DropLanguageFile(source); }),
		[&]() { return AppCount('lnfd') == 1; },
		Settle(),
	});
	ASSERT_EQ(1u, fAlerts.size());
	EXPECT_EQ("* Vantu MIDI *|Cannot install the language file:\n" + UserFolder("Language")
		+ "/Klingon.vlt|U・Understand", fAlerts[0]);
	EXPECT_EQ("English.vlt", gPref.languageFile);
	EXPECT_FALSE(gPref.languageChosen);
	EXPECT_EQ(0, AppCount('plnc'));
}
