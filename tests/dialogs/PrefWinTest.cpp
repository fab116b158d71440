#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <InterfaceDefs.h>
#include <StringView.h>

#include <AddOnFolders.h>
#include <PlayerMessages.h>

#include "AppMessages.h"
#include "LanguageFiles.h"
#include "PrefWinRig.h"
#include "ViewArchiveSource.h"

namespace {

// The edits every closing case makes, and what they come to in gPref.
void
expect_edited(const TPref& pref)
{
	EXPECT_TRUE(pref.sendSysResets);
	EXPECT_EQ(500000, pref.silenceAfterResets);
	EXPECT_EQ(2, pref.autoSortKind);
	EXPECT_EQ(1 | 8, pref.sysResetCombination);
}


void
expect_defaults(const TPref& pref)
{
	const TPref defaults;
	EXPECT_EQ(defaults.sendSysResets, pref.sendSysResets);
	EXPECT_EQ(defaults.silenceAfterResets, pref.silenceAfterResets);
	EXPECT_EQ(defaults.autoSortKind, pref.autoSortKind);
	EXPECT_EQ(defaults.sysResetCombination, pref.sysResetCombination);
}


// OK (its button, Enter, Alt+O) saves what the controls set and tells the
// application; Cancel (its button, Escape, Alt+C, the close box) puts the
// confirmed values back and saves nothing.
TEST_F(PrefWinTest, OKSavesTheEditsAndCancelPutsBackTheConfirmedOnes)
{
	struct Case {
		const char* name;
		std::function<void(PrefWinTest*)> close;
		bool confirms;
	};
	const Case cases[] = {
		{"the OK button", [](PrefWinTest* t) { t->Press("ButtonOK"); }, true},
		{"Enter", [](PrefWinTest* t) { t->Key(B_ENTER, 0); }, true},
		{"Alt+O", [](PrefWinTest* t) { t->Key('o', B_CONTROL_KEY); }, true},
		{"the Cancel button", [](PrefWinTest* t) { t->Press("ButtonCancel"); }, false},
		{"Escape", [](PrefWinTest* t) { t->Key(B_ESCAPE, 0); }, false},
		{"Alt+C", [](PrefWinTest* t) { t->Key('c', B_CONTROL_KEY); }, false},
		{"the close box", [](PrefWinTest* t) {
			t->fWindow->PostMessage(B_QUIT_REQUESTED);
		}, false},
	};
	UseLanguage(ENGLISH_LANGUAGE_FILE);
	std::vector<Step> steps;
	for (const Case& c : cases) {
		// A new window on the defaults for each case.
		steps.push_back([&] {
			if (fWindow != nullptr && fWindow->Lock())
				fWindow->Quit();
			std::filesystem::remove(PrefFile());
			fTarget.fCounts.clear();
			gPref = TPref();
			Open();
			return true;
		});
		steps.push_back(DrainWindow());
		steps.push_back(Do([&] {
			Toggle("CBoxSendSysResets");
			Toggle("CBoxSRXG");
			Type("TxtCtrlSilenceIntervalAfterSysResets", "500");
			Choose("RButtonAutoSortDown");
		}));
		steps.push_back(DrainWindow());
		steps.push_back(Do([&] {
			SCOPED_TRACE(c.name);
			expect_edited(gPref);
			c.close(this);
		}));
		steps.push_back([this] { return fWindow->IsHidden(); });
		steps.push_back(Settle());
		steps.push_back(Do([&] {
			SCOPED_TRACE(c.name);
			if (c.confirms) {
				expect_edited(gPref);
				expect_edited(SavedPref());
				expect_edited(fView->ConfirmedPref());
				ASSERT_EQ(1, fTarget.fCounts[kMsgStatusTextRqtd]);
				EXPECT_STREQ("Preferences changed.",
					fTarget.fLast[kMsgStatusTextRqtd].FindString("StatBarString"));
			} else {
				expect_defaults(gPref);
				EXPECT_FALSE(std::filesystem::exists(PrefFile()));
				EXPECT_EQ(0, fTarget.fCounts[kMsgStatusTextRqtd]);
				// The controls show the values in force again.
				EXPECT_EQ(B_CONTROL_OFF, Find<BCheckBox>("CBoxSendSysResets")->Value());
				EXPECT_STREQ("300",
					Find<BTextControl>("TxtCtrlSilenceIntervalAfterSysResets")->Text());
				EXPECT_EQ(B_CONTROL_ON, Find<BRadioButton>("RButtonAutoSortUp")->Value());
			}
			EXPECT_EQ(0, fTarget.fCounts[kMsgPrefLanguageChanged])
				<< "the language did not change";
		}));
	}
	RunSteps(steps);
}


// A layout that lacks a control of the window leaves the view unusable,
// which the window reports instead of using it.
TEST_F(PrefWinTest, ALayoutWithoutEveryControlIsRefused)
{
	BMessage archive;
	TViewArchiveError error;
	ASSERT_TRUE(parse_view_archive_source("BView - 0,0,310,265 {\n"
		"\tBBox BoxSendSysResets 10,10,300,82\n"
		"\tBButton ButtonOK 220,230,300,254 label=\"OK\"\n}\n", &archive, &error));
	TPrefView view(&archive);
	EXPECT_EQ(B_NO_INIT, view.InitCheck());
	BMessage cancel(kMsgPrefCancel);
	view.MessageReceived(&cancel);
}


// The entries are read as whole numbers and brought into their ranges
// before they become microseconds: no entry, however long, overflows.
TEST_F(PrefWinTest, EntriesAreClampedToTheirRanges)
{
	struct Case {
		const char* field;
		const char* text;
		int64 expected;
	};
	const char* const kMs = "TxtCtrlSilenceIntervalAfterSysResets";
	const char* const kS = "TxtCtrlSilenceIntervalBetweenSongs";
	const Case cases[] = {
		{kMs, "250", 250000},
		{kMs, "2000", 1000000},
		{kMs, "", 0},
		{kMs, "abc", 0},
		{kMs, "12abc", 12000},
		{kMs, "-5", 0},
		{kMs, "999999999999999999999999999999", 1000000},
		{kMs, "9223372036854776", 1000000},
		{kMs, "-999999999999999999999999999999", 0},
		{kS, "3", 3000000},
		{kS, "0", 1000000},
		{kS, "9", 5000000},
		{kS, "", 1000000},
		{kS, "999999999999999999999999999999", 5000000},
		{kS, "18446744073709551617", 5000000},
		{kS, "-999999999999999999999999999999", 1000000},
	};
	UseLanguage(ENGLISH_LANGUAGE_FILE);
	gPref.sendSysResets = true;
	gPref.silenceBetweenSongs = true;
	Open();
	std::vector<Step> steps;
	for (const Case& c : cases) {
		steps.push_back(Do([&] { Type(c.field, c.text); }));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([&] {
			const int64 stored = c.field == kMs ? gPref.silenceAfterResets
				: gPref.silenceBetweenSongsInterval;
			EXPECT_EQ(c.expected, stored) << c.field << " \"" << c.text << '"';
			EXPECT_STREQ(c.text, Find<BTextControl>(c.field)->Text())
				<< "the field keeps what was typed";
		}));
	}
	steps.push_back(Do([&] {
		Type(kMs, "2000");
		Type(kS, "0");
		Press("ButtonOK");
	}));
	steps.push_back([this] { return fWindow->IsHidden(); });
	steps.push_back(Do([&] {
		EXPECT_STREQ("1000", Find<BTextControl>(kMs)->Text()) << "OK shows what was kept";
		EXPECT_STREQ("1", Find<BTextControl>(kS)->Text());
	}));
	RunSteps(steps);
}


// Turning the resets off greys their boxes, the milliseconds and their
// unit, and keeps the combination; the silence box does the same for the
// seconds.
TEST_F(PrefWinTest, SwitchesGreyWhatDependsOnThem)
{
	UseLanguage(ENGLISH_LANGUAGE_FILE);
	gPref.sendSysResets = true;
	gPref.sysResetCombination = 2 | 4;
	gPref.silenceBetweenSongs = true;
	Open();
	const char* const dependents[] = {"CBoxSRGM", "CBoxSRGS", "CBoxSR88", "CBoxSRXG",
		"TxtCtrlSilenceIntervalAfterSysResets"};
	auto expect_enabled = [&](bool resets, bool silence) {
		for (const char* name : dependents)
			EXPECT_EQ(resets, Find<BControl>(name)->IsEnabled()) << name;
		const rgb_color unit
			= Find<BStringView>("StrViewSilenceIntervalAfterSysResets")->HighColor();
		EXPECT_EQ(resets ? 0 : 128, unit.red);
		EXPECT_EQ(resets ? 0 : 128, unit.blue);
		EXPECT_EQ(silence,
			Find<BControl>("TxtCtrlSilenceIntervalBetweenSongs")->IsEnabled());
	};
	RunSteps({Drain(fWindow), Do([&] {
		expect_enabled(true, true);
		EXPECT_EQ(B_CONTROL_ON, Find<BCheckBox>("CBoxSRGS")->Value());
		EXPECT_EQ(B_CONTROL_OFF, Find<BCheckBox>("CBoxSRGM")->Value());
		Toggle("CBoxSendSysResets");
	}), Drain(fWindow), Do([&] {
		expect_enabled(false, true);
		EXPECT_FALSE(gPref.sendSysResets);
		EXPECT_EQ(2 | 4, gPref.sysResetCombination) << "the choice of resets stays";
		Toggle("CBoxSilenceBetweenSongs");
	}), Drain(fWindow), Do([&] {
		expect_enabled(false, false);
		EXPECT_FALSE(gPref.silenceBetweenSongs);
		Toggle("CBoxSendSysResets");
		Toggle("CBoxSilenceBetweenSongs");
	}), Drain(fWindow), Do([&] {
		expect_enabled(true, true);
	})});
}


// Alt with a label's first letter operates that control.
TEST_F(PrefWinTest, AltLettersOperateTheirControls)
{
	UseLanguage(nullptr);
	Open();
	// Each key makes its control send its message: waited for by its effect.
	RunSteps({Drain(fWindow), Do([&] {
		Key('s', B_CONTROL_KEY);
		Key('b', B_CONTROL_KEY);
		Key('d', B_CONTROL_KEY);
	}), [] { return gPref.sendSysResets && gPref.silenceBetweenSongs; },
		[] { return gPref.autoSortKind == 2; }, Do([&] {
		Key('n', B_CONTROL_KEY);
	}), [] { return gPref.autoSortKind == 0; }, Do([&] {
		Key('u', B_CONTROL_KEY);
	}), [] { return gPref.autoSortKind == 1; }, Do([&] {
		Key('s', B_CONTROL_KEY);
	}), [] { return !gPref.sendSysResets; }, Drain(fWindow), Do([&] {
		EXPECT_FALSE(fWindow->IsHidden());
		EXPECT_TRUE(gPref.silenceBetweenSongs);
	})});
}


// A language file in the user's language folder for one test.
class UserLanguageFile {
public:
	UserLanguageFile()
	{
		const std::string folder = user_add_on_folder(kLanguageFolderName);
		std::filesystem::create_directories(folder);
		fPath = folder + "/English.vlt";
		std::filesystem::copy_file(ENGLISH_LANGUAGE_FILE, fPath,
			std::filesystem::copy_options::overwrite_existing);
	}
	~UserLanguageFile() { std::filesystem::remove(fPath); }

	const std::string& Path() const { return fPath; }

private:
	std::string fPath;
};


// Picking a language switches it at once and counts as the user's choice;
// Cancel switches back. Numbers alone are put back without a word to the
// application.
TEST_F(PrefWinTest, CancelAsksForTheOldLanguageOnlyWhenItChanged)
{
	UserLanguageFile english;
	UseLanguage(nullptr);
	gPref.languageFile = "";
	Open();
	RunSteps({Drain(fWindow), Do([&] {
		BMenuItem* marked = Find<BMenuField>("MFieldLanguage")->Menu()->FindMarked();
		ASSERT_NE(nullptr, marked);
		EXPECT_STREQ("", marked->Message()->FindString("LangFileName"))
			<< "the built-in language is the one in force";
		PickLanguage(english.Path());
	}), Settle(), Do([&] {
		EXPECT_EQ(english.Path(), gPref.languageFile);
		EXPECT_TRUE(gPref.languageChosen);
		EXPECT_EQ(1, fTarget.fCounts[kMsgPrefLanguageChanged]);
		Press("ButtonCancel");
	}), Settle(), Do([&] {
		EXPECT_EQ("", gPref.languageFile);
		EXPECT_FALSE(gPref.languageChosen);
		EXPECT_EQ(2, fTarget.fCounts[kMsgPrefLanguageChanged]);
		EXPECT_FALSE(std::filesystem::exists(PrefFile()));
		Reopen();
		Type("TxtCtrlSilenceIntervalAfterSysResets", "700");
		Toggle("CBoxSilenceBetweenSongs");
	}), Drain(fWindow), Do([&] {
		EXPECT_EQ(700000, gPref.silenceAfterResets);
		Press("ButtonCancel");
	}), Settle(), Do([&] {
		EXPECT_EQ(300000, gPref.silenceAfterResets);
		EXPECT_FALSE(gPref.silenceBetweenSongs);
		EXPECT_EQ(2, fTarget.fCounts[kMsgPrefLanguageChanged]) << "nothing more was asked";
	})});
}


// Until the user picks a language it follows the desktop's: the field shows
// the one in force, though the preference names no file of the menu.
TEST_F(PrefWinTest, TheLanguageInForceIsShownUntilOneIsPicked)
{
	UserLanguageFile english;
	UseLanguage(english.Path().c_str());
	ASSERT_FALSE(gPref.languageChosen);
	Open();
	RunSteps({Drain(fWindow), Do([&] {
		BMenuItem* marked = Find<BMenuField>("MFieldLanguage")->Menu()->FindMarked();
		ASSERT_NE(nullptr, marked);
		EXPECT_EQ(english.Path(), marked->Message()->FindString("LangFileName"));
	})});
}


// A language file put into a language folder while the window is open is
// in the menu once the application says the folder changed.
TEST_F(PrefWinTest, TheLanguageMenuFollowsTheFolders)
{
	UseLanguage(nullptr);
	gPref.languageFile = "";
	Open();
	std::unique_ptr<UserLanguageFile> english;
	RunSteps({Drain(fWindow), Do([&] {
		EXPECT_EQ(1, Find<BMenuField>("MFieldLanguage")->Menu()->CountItems())
			<< "the built-in language alone";
		english = std::make_unique<UserLanguageFile>();
		fWindow->PostMessage(kMsgNodeLanguageChanged);
	}), Drain(fWindow), Do([&] {
		BMenu* menu = Find<BMenuField>("MFieldLanguage")->Menu();
		EXPECT_EQ(2, menu->CountItems());
		ASSERT_NE(nullptr, LanguageItem(english->Path()));
		ASSERT_NE(nullptr, menu->FindMarked());
		EXPECT_STREQ("", menu->FindMarked()->Message()->FindString("LangFileName"));
		PickLanguage(english->Path());
	}), Settle(), Do([&] {
		EXPECT_EQ(english->Path(), gPref.languageFile) << "the new items reach the view";
	})});
}


// A language file dropped on the program while the window holds unconfirmed
// edits: the application sets and saves the new language, then tells the
// window, whose confirmed copy takes the language and nothing else; a later
// Cancel keeps the dropped language and drops the edits.
TEST_F(PrefWinTest, ADroppedLanguageBecomesConfirmedAndTheEditsDoNot)
{
	UserLanguageFile english;
	UseLanguage(nullptr);
	gPref.languageFile = "";
	Open();
	RunSteps({Drain(fWindow), Do([&] {
		Type("TxtCtrlSilenceIntervalAfterSysResets", "900");
		Choose("RButtonAutoSortNone");
	}), Drain(fWindow), Do([&] {
		// What the application does with the drop.
		gPref.languageFile = english.Path();
		gPref.languageChosen = true;
		fWindow->PostMessage(kMsgLanguageFileDropped);
	}), Drain(fWindow), Do([&] {
		const TPref& confirmed = fWindow->ConfirmedPref();
		EXPECT_EQ(english.Path(), confirmed.languageFile);
		EXPECT_TRUE(confirmed.languageChosen);
		EXPECT_EQ(300000, confirmed.silenceAfterResets);
		EXPECT_EQ(1, confirmed.autoSortKind);
		BMenuItem* marked = Find<BMenuField>("MFieldLanguage")->Menu()->FindMarked();
		ASSERT_NE(nullptr, marked);
		EXPECT_STREQ(english.Path().c_str(), marked->Message()->FindString("LangFileName"));
		Press("ButtonCancel");
	}), Settle(), Do([&] {
		EXPECT_EQ(english.Path(), gPref.languageFile);
		EXPECT_EQ(300000, gPref.silenceAfterResets);
		EXPECT_EQ(1, gPref.autoSortKind);
		EXPECT_EQ(0, fTarget.fCounts[kMsgPrefLanguageChanged])
			<< "the dropped language stays in force";
	})});
}


// A save that fails is told, and the window stays open with the edits,
// which a later OK saves.
TEST_F(PrefWinTest, AFailedSaveIsToldAndKeepsTheWindowWithItsEdits)
{
	UseLanguage(ENGLISH_LANGUAGE_FILE);
	Open();
	std::string alertText;
	RunSteps({Drain(fWindow), Do([&] {
		// A folder where the file belongs: nothing can be renamed over it.
		std::filesystem::create_directories(PrefFile());
		Type("TxtCtrlSilenceIntervalAfterSysResets", "40");
		Press("ButtonOK");
	}), AnswerAlert(&alertText), Drain(fWindow), Do([&] {
		EXPECT_FALSE(fWindow->IsHidden());
		EXPECT_EQ(0, fTarget.fCounts[kMsgStatusTextRqtd]);
		EXPECT_EQ(40000, gPref.silenceAfterResets) << "the edit is still in force";
		EXPECT_EQ(300000, fView->ConfirmedPref().silenceAfterResets);
		EXPECT_STREQ("40", Find<BTextControl>("TxtCtrlSilenceIntervalAfterSysResets")->Text());
		std::filesystem::remove(PrefFile());
		Press("ButtonOK");
	}), [this] { return fWindow->IsHidden(); }, Settle(), Do([&] {
		EXPECT_EQ(1, fTarget.fCounts[kMsgStatusTextRqtd]);
		EXPECT_EQ(40000, SavedPref().silenceAfterResets);
	})});
	EXPECT_EQ("* Vantu MIDI *\n\nCannot save the preferences:\n" + PrefFile(),
		alertText);
}

}	// namespace
