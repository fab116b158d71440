#include <gtest/gtest.h>

#include <filesystem>

#include <sys/xattr.h>

#include <NodeMonitorHandler.h>

#include "AppRig.h"
#include "LanguageFileWriter.h"

namespace fs = std::filesystem;

namespace {

const bigtime_t kQuietTime = TNodeMonitorHandler::kQuietTime;

typedef AppTest FolderWatchTest;

}	// namespace


// Files created, renamed and removed in the program's and the user's
// "Loader" folders: each burst, however long, is one notice once the folders
// have been quiet for the quiet time, and the main window hears of it.
TEST_F(FolderWatchTest, BurstsOfLoaderChangesBecomeOneNotice)
{
	const std::string program = ProgramFolder("Loader");
	int32 seen = 0;
	Start();
	RunSteps({
		Do([&]() {
			write_whole_file(program + "/a.so", "a");
			write_whole_file(program + "/b.so", "b");
			write_whole_file(program + "/c.so", "c");
			fs::rename(program + "/a.so", program + "/d.so");
			fs::remove(program + "/b.so");
		}),
		// Created three times, moved, removed.
		[&]() { return AppCount(B_NODE_MONITOR) >= 5; },
		Do([&]() {
			fClock.Advance(kQuietTime - 1);
			seen = AppCount(B_NODE_MONITOR);
		}),
		Settle(),
		Do([&]() {
			EXPECT_EQ(0, AppCount('nloc'));
			// Another change inside the quiet time starts it again.
			write_whole_file(program + "/e.so", "e");
		}),
		[&]() { return AppCount(B_NODE_MONITOR) > seen; },
		Do([&]() { fClock.Advance(kQuietTime - 1); }),
		Settle(),
		Do([&]() {
			EXPECT_EQ(0, AppCount('nloc'));
			fClock.Advance(1);
		}),
		[&]() { return WindowCount('nloc') == 1; },
		Settle(),
		Do([&]() {
			EXPECT_EQ(1, AppCount('nloc'));
			seen = AppCount(B_NODE_MONITOR);
			write_whole_file(UserFolder("Loader") + "/f.so", "f");
		}),
		[&]() { return AppCount(B_NODE_MONITOR) > seen; },
		Do([&]() { fClock.Advance(kQuietTime); }),
		[&]() { return WindowCount('nloc') == 2; },
		Settle(),
		Do([&]() {
			EXPECT_EQ(2, AppCount('nloc'));
			EXPECT_EQ(0, AppCount('nlnc'));
		}),
	});
}


// Attributes of a watched folder are not the add-ons' business.
TEST_F(FolderWatchTest, AttributeChangesAreIgnored)
{
	const std::string folder = ProgramFolder("Loader");
	if (setxattr(folder.c_str(), "user.probe", "1", 1, 0) != 0)
		GTEST_SKIP() << "the build folder's file system keeps no attributes";
	Start();
	RunSteps({
		Do([&]() { setxattr(folder.c_str(), "user.vantu", "2", 1, 0); }),
		[&]() { return AppCount(B_NODE_MONITOR) > 0; },
		Do([&]() { fClock.Advance(kQuietTime); }),
		Settle(),
		Do([&]() { EXPECT_EQ(0, AppCount('nloc')); }),
	});
}


// With neither the preferences nor the about window open, a change among
// the language files only reloads the language.
TEST_F(FolderWatchTest, LanguageFolderChangeReloadsTheLanguage)
{
	InstallEnglish();
	Start();
	RunSteps({
		Do([&]() {
			write_language_file(UserFolder("Language") + "/German.vlt", "German ( Deutsch )");
			write_language_file(ProgramFolder("Language") + "/Dutch.vlt", "Dutch");
		}),
		[&]() { return AppCount(B_NODE_MONITOR) >= 2; },
		Do([&]() { fClock.Advance(kQuietTime); }),
		[&]() { return WindowCount('_lgc') == 1; },
		Settle(),
		Do([&]() {
			EXPECT_EQ(1, AppCount('nlnc'));
			EXPECT_EQ(1, AppCount('plnc'));
			EXPECT_EQ(0, WindowCount('nlnc'));
			EXPECT_EQ(0, AppCount('nloc'));
		}),
	});
}
