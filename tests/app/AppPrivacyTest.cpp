#include <gtest/gtest.h>

#include <filesystem>

#include <AppConstants.h>
#include <AppPrivacy.h>
#include <Files.h>
#include <PathFunctions.h>

#include "TempFolder.h"

TEST(AppPrivacyTest, ExecutableFolderIsTheRealOneWhateverArgv0Says)
{
	const std::string realFolder = extract_file_path(pelkan::executable_path());
	ASSERT_FALSE(realFolder.empty());

	struct {
		const char* argv0;
		const char* name;
	} cases[] = {
		{"VantuMIDI", "VantuMIDI"},
		{"./bin/VantuMIDI", "VantuMIDI"},
		{"/usr/local/bin/vantu-link", "vantu-link"},
		{"", ""},
	};
	for (const auto& test : cases) {
		TAppPrivacy privacy;
		privacy.AnaExePath(test.argv0);
		EXPECT_EQ(test.name, privacy.ExeName()) << test.argv0;
		EXPECT_EQ(realFolder, privacy.ExePath()) << test.argv0;
		EXPECT_EQ('/', privacy.ExePath().back());
		EXPECT_TRUE(std::filesystem::is_directory(privacy.ExePath()));
	}
}


TEST(AppPrivacyTest, StartsStoppedWithTheDefaultDriveTable)
{
	SettingsHome home;
	TAppPrivacy privacy;
	EXPECT_EQ(TS_Stopped, privacy.State());
	privacy.SetState(TS_StartGS);
	EXPECT_EQ(TS_StartGS, privacy.State());
	EXPECT_EQ("", privacy.ExeName());

	char path[TDrvCvt::kPathBufferSize];
	ASSERT_TRUE(privacy.CvtPathWinToBe("C:\\a.mid", path, ""));
	EXPECT_STREQ("/windows/a.mid", path);
}


TEST(AppPrivacyTest, Constants)
{
	EXPECT_STREQ("Vantu MIDI", gAppName);
	EXPECT_STREQ("Ver 5.34", gAppVer);
	EXPECT_STREQ("application/x-vnd.PELKAN-VantuMIDI", gAppSignature);
}
