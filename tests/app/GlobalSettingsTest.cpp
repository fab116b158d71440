#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <AppGlobals.h>
#include <Entry.h>
#include <File.h>
#include <GlobalSettings.h>
#include <InterfaceDefs.h>
#include <ModifiersSource.h>

#include "TempFolder.h"

namespace {

uint32 sHeldKeys = 0;

uint32
held_keys()
{
	return sHeldKeys;
}


// Each test starts with default records, no keys held and an empty settings
// folder of its own.
class GlobalSettingsTest : public testing::Test {
protected:
	void SetUp() override
	{
		gPref = TPref();
		gExitState = TExitState();
		sHeldKeys = 0;
		BPrivate::set_modifiers_source(held_keys);
	}

	void TearDown() override
	{
		BPrivate::set_modifiers_source(nullptr);
		gPref = TPref();
		gExitState = TExitState();
	}

	std::string PrefsFile() const
	{
		return fHome.Folder(kSettingsFolderName) + "/" + kPrefsFileName;
	}

	std::string ExitStatesFile() const
	{
		return fHome.Folder(kSettingsFolderName) + "/" + kExitStatesFileName;
	}

	void WriteMessage(const std::string& path, const BMessage& message)
	{
		std::filesystem::create_directories(fHome.Folder(kSettingsFolderName));
		BFile file(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
		ASSERT_EQ(B_OK, message.Flatten(&file));
	}

	SettingsHome fHome;
};

}


TEST_F(GlobalSettingsTest, ResetChordNeedsAllFourKeys)
{
	const uint32 chord = B_SHIFT_KEY | B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY;
	struct {
		uint32 held;
		bool reset;
	} cases[] = {
		{chord, true},
		{chord | B_CAPS_LOCK | B_LEFT_SHIFT_KEY, true},
		{B_SHIFT_KEY | B_COMMAND_KEY | B_CONTROL_KEY, false},
		{B_SHIFT_KEY | B_COMMAND_KEY | B_OPTION_KEY, false},
		{B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY, false},
		{0, false},
	};
	for (const auto& test : cases) {
		TPref saved;
		saved.sysResetCombination = 15;
		saved.languageFile = "/custom.vlt";
		gPref = saved;
		sHeldKeys = 0;
		ASSERT_TRUE(save_pref(false));
		TExitState state;
		state.playMode = 4;
		gExitState = state;
		ASSERT_TRUE(save_exit_state());

		gPref = TPref();
		gExitState = TExitState();
		sHeldKeys = test.held;
		EXPECT_EQ(!test.reset, load_global()) << std::hex << test.held;
		EXPECT_EQ(test.reset ? 1 : 15, gPref.sysResetCombination);
		EXPECT_EQ(test.reset ? 0 : 4, gExitState.playMode);

		// The defaults were written over the file: the next start sees them.
		sHeldKeys = 0;
		TPref reread;
		BEntry entry(PrefsFile().c_str());
		ASSERT_TRUE(reread.Load(entry));
		EXPECT_EQ(test.reset ? "English.vlt" : "/custom.vlt", reread.languageFile);
	}
}


TEST_F(GlobalSettingsTest, ResetChordAtExitDiscardsTheExitState)
{
	gExitState.playMode = 3;
	sHeldKeys = B_SHIFT_KEY | B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY;
	EXPECT_FALSE(save_exit_state());
	EXPECT_FALSE(save_pref(false));
	EXPECT_FALSE(std::filesystem::exists(ExitStatesFile()));
	EXPECT_FALSE(std::filesystem::exists(PrefsFile()));
	EXPECT_TRUE(save_pref(true));
}


TEST_F(GlobalSettingsTest, FirstStartKeepsEveryDefault)
{
	EXPECT_FALSE(load_global());
	EXPECT_EQ("English.vlt", gPref.languageFile);
	EXPECT_EQ(BRect(5, 24, 605, 250), gExitState.mainWinFrame);
}


TEST_F(GlobalSettingsTest, MissingOrMistypedFieldsKeepTheirDefaults)
{
	BMessage prefs;
	prefs.AddBool("ClAI", false);
	prefs.AddBool("SiBS", true);
	prefs.AddBool("SSyR", true);
	prefs.AddInt32("ASKy", 2);
	prefs.AddInt64("SIAR", 1000);
	prefs.AddInt32("SIBS", 5);
	prefs.AddString("VLTF", "");
	WriteMessage(PrefsFile(), prefs);

	BMessage exitState;
	exitState.AddString("PlyM", "3");
	exitState.AddString("CMO0", "be:one");
	exitState.AddString("CMO0", "be:two");
	exitState.AddString("CMO0", "be:three");
	exitState.AddString("_Ver", "Ver 5.00");
	exitState.AddRect("_WFr", BRect(10, 40, 400, 500));
	WriteMessage(ExitStatesFile(), exitState);

	EXPECT_FALSE(load_global());
	EXPECT_FALSE(gPref.aiLearning);
	EXPECT_TRUE(gPref.silenceBetweenSongs);
	EXPECT_TRUE(gPref.sendSysResets);
	EXPECT_EQ(2, gPref.autoSortKind);
	EXPECT_EQ(1, gPref.sysResetCombination);
	EXPECT_EQ(1000, gPref.silenceAfterResets);
	EXPECT_EQ(3000000, gPref.silenceBetweenSongsInterval);
	EXPECT_EQ("", gPref.languageFile);
	EXPECT_EQ(pelkan::Lang_BuiltIn, gPref.Lang());

	EXPECT_EQ(0, gExitState.playMode);
	EXPECT_EQ((std::vector<std::string>{"be:one", "be:two", "be:three"}),
		gExitState.connectedOutputs[0]);
	EXPECT_TRUE(gExitState.connectedOutputs[1].empty());
	EXPECT_EQ("Ver 5.00", gExitState.lastVersion);
	EXPECT_EQ(BRect(10, 40, 400, 500), gExitState.mainWinFrame);
	EXPECT_TRUE(gExitState.listExpanded);
	EXPECT_EQ("/boot/home", gExitState.panelFolder);
}


TEST_F(GlobalSettingsTest, ExitStateIsWrittenWithTheRunningVersion)
{
	gExitState.lastVersion = "Ver 1.00";
	gExitState.connectedOutputs[1] = {"be:synth", "be:port"};
	gExitState.mainListFile = "/home/user/リスト.lml";
	gExitState.expandedHeight = 321.5f;
	ASSERT_TRUE(save_exit_state());

	BFile file(ExitStatesFile().c_str(), B_READ_ONLY);
	BMessage saved;
	ASSERT_EQ(B_OK, saved.Unflatten(&file));
	EXPECT_EQ(0u, saved.what);
	EXPECT_STREQ("Ver 5.34", saved.FindString("_Ver"));
	type_code type;
	int32 count = -1;
	EXPECT_NE(B_OK, saved.GetInfo("CMO0", &type, &count));
	ASSERT_EQ(B_OK, saved.GetInfo("CMO1", &type, &count));
	EXPECT_EQ(2, count);

	gExitState = TExitState();
	load_global();
	EXPECT_EQ("Ver 5.34", gExitState.lastVersion);
	EXPECT_EQ((std::vector<std::string>{"be:synth", "be:port"}),
		gExitState.connectedOutputs[1]);
	EXPECT_EQ("/home/user/リスト.lml", gExitState.mainListFile);
	EXPECT_EQ(321.5f, gExitState.expandedHeight);
}


TEST_F(GlobalSettingsTest, PreferencesRoundTripWithBothSilenceKeys)
{
	gPref.silenceBetweenSongs = true;
	gPref.silenceBetweenSongsInterval = 5000000;
	gPref.silenceAfterResets = 0;
	gPref.sysResetCombination = 2 | 8;
	ASSERT_TRUE(save_pref(false));

	BFile file(PrefsFile().c_str(), B_READ_ONLY);
	BMessage saved;
	ASSERT_EQ(B_OK, saved.Unflatten(&file));
	EXPECT_TRUE(saved.FindBool("SiBS"));
	EXPECT_EQ(5000000, saved.FindInt64("SIBS"));

	TPref copy = gPref;
	gPref = TPref();
	load_global();
	EXPECT_EQ(copy.silenceBetweenSongs, gPref.silenceBetweenSongs);
	EXPECT_EQ(copy.silenceBetweenSongsInterval, gPref.silenceBetweenSongsInterval);
	EXPECT_EQ(copy.silenceAfterResets, gPref.silenceAfterResets);
	EXPECT_EQ(copy.sysResetCombination, gPref.sysResetCombination);
	EXPECT_EQ(pelkan::Lang_File, gPref.Lang());
}
