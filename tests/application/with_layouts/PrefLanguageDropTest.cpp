#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <Autolock.h>
#include <Button.h>
#include <Entry.h>
#include <Menu.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <TextControl.h>

#include <Files.h>
#include <GlobalSettings.h>
#include <PrefView.h>
#include <PrefWin.h>

#include "AppRig.h"
#include "LanguageFileWriter.h"

namespace {

typedef AppTest PrefLanguageDropTest;


// The preferences file as the next start reads it.
TPref
saved_pref()
{
	BEntry entry;
	TPref pref;
	EXPECT_TRUE(pelkan::get_entry(kPrefsFileName, &entry, pelkan::BaseDir_Settings,
		kSettingsFolderName));
	EXPECT_TRUE(pref.Load(entry));
	return pref;
}


// A language file dropped on the program while the preferences window holds
// an edit the user has not confirmed: the file gets the new language and
// the confirmed values, and a later Cancel drops the edit but keeps the
// language.
TEST_F(PrefLanguageDropTest, OnlyTheConfirmedPreferencesAreSavedWithTheDroppedLanguage)
{
	InstallEnglish();
	const std::string source = fHome.Path() + "/Klingon.vlt";
	write_language_file(source, "Klingon");
	const std::string installed = UserFolder("Language") + "/Klingon.vlt";
	Start();
	auto view = [&]() { return fApp->PrefWindow()->PrefView(); };
	RunSteps({
		Do([&]() { fApp->PostMessage('_prf'); }),
		[&]() { return fApp->PrefWindow() != nullptr && !fApp->PrefWindow()->IsHidden(); },
		Do([&]() {
			BAutolock locker(fApp->PrefWindow());
			BTextControl* field = dynamic_cast<BTextControl*>(
				view()->FindView("TxtCtrlSilenceIntervalAfterSysResets"));
			ASSERT_NE(nullptr, field);
			field->SetText("900");
			BMessage modified(*field->ModificationMessage());
			field->Invoke(&modified);
		}),
		[&]() { return gPref.silenceAfterResets == 900000; },
		Do([&]() { DropLanguageFile(source); }),
		[&]() { return AppCount('plnc') == 1; },
		Do([&]() {
			const TPref saved = saved_pref();
			EXPECT_EQ(installed, saved.languageFile);
			EXPECT_TRUE(saved.languageChosen);
			EXPECT_EQ(300000, saved.silenceAfterResets) << "the edit was not confirmed";
			EXPECT_EQ(900000, gPref.silenceAfterResets) << "the edit is still in force";
			BAutolock locker(fApp->PrefWindow());
			dynamic_cast<BButton*>(view()->FindView("ButtonCancel"))->Invoke();
		}),
		[&]() { return fApp->PrefWindow()->IsHidden(); },
		Settle(),
		Do([&]() {
			EXPECT_EQ(300000, gPref.silenceAfterResets);
			EXPECT_EQ(installed, gPref.languageFile) << "the dropped language stays";
			EXPECT_EQ(1, AppCount('plnc')) << "Cancel had no language to put back";
		}),
	});
	EXPECT_TRUE(fAlerts.empty());
}



// A dropped file that cannot be installed changes no language: a language
// picked in the window and not confirmed stays unconfirmed, and Cancel puts
// the old one back.
TEST_F(PrefLanguageDropTest, AFailedDropConfirmsNothing)
{
	InstallEnglish();
	const std::string source = fHome.Path() + "/Klingon.vlt";
	write_language_file(source, "Klingon");
	// A file where the user's language folder should be: nothing can be
	// copied into it.
	std::filesystem::create_directories(fHome.Path() + "/data/VantuMIDI");
	write_whole_file(UserFolder("Language"), "in the way");
	const std::string english = ProgramFolder("Language") + "/English.vlt";
	Start();
	auto view = [&]() { return fApp->PrefWindow()->PrefView(); };
	RunSteps({
		Do([&]() { fApp->PostMessage('_prf'); }),
		[&]() { return fApp->PrefWindow() != nullptr && !fApp->PrefWindow()->IsHidden(); },
		Do([&]() {
			BAutolock locker(fApp->PrefWindow());
			BMenu* menu = dynamic_cast<BMenuField*>(view()->FindView("MFieldLanguage"))->Menu();
			for (int32 i = 0; BMenuItem* item = menu->ItemAt(i); i++) {
				if (english == item->Message()->FindString("LangFileName")) {
					item->SetMarked(true);
					item->Invoke();
				}
			}
		}),
		[&]() { return gPref.languageChosen; },
		Do([&]() { DropLanguageFile(source); }),
		[&]() { return AppCount('lnfd') == 1; },
		Settle(),
		Do([&]() {
			EXPECT_FALSE(fApp->PrefWindow()->ConfirmedPref().languageChosen);
			BAutolock locker(fApp->PrefWindow());
			dynamic_cast<BButton*>(view()->FindView("ButtonCancel"))->Invoke();
		}),
		[&]() { return fApp->PrefWindow()->IsHidden(); },
		Settle(),
	});
	EXPECT_EQ(1u, fAlerts.size()) << "the failed copy is told";
	EXPECT_FALSE(gPref.languageChosen) << "the language follows the desktop again";
	EXPECT_EQ("English.vlt", gPref.languageFile);
}

}	// namespace
