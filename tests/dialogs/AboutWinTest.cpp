#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Bitmap.h>
#include <Button.h>
#include <InterfaceDefs.h>
#include <ListView.h>
#include <Message.h>
#include <StringItem.h>
#include <Tab.h>
#include <TabView.h>
#include <TextView.h>
#include <Window.h>

#include <AddOnFolders.h>
#include <VLT.h>

#include "AboutView.h"
#include "AboutViewAbout.h"
#include "AboutViewLang.h"
#include "AboutViewLoader.h"
#include "AboutWin.h"
#include "AppConstants.h"
#include "AppGlobals.h"
#include "AppMessages.h"
#include "GuiTest.h"
#include "TempFolder.h"
#include "TestPixels.h"
#include "ViewArchiveSource.h"

namespace {

namespace fs = std::filesystem;

const char kAuthorLine[] = "Programmed by PELKAN";

// A language file of the user's own, with three texts.
const char kUserLanguage[] =
	"[ Informations ]\n"
	"Header = VLT File Format 100\n"
	"Language = Zulu Test\n"
	"Writer = Someone\n"
	"SpecialThanks = Everyone\n"
	"[ Data ]\n"
	"One = 1\nTwo = 2\nThree = 3\n";


class AboutWinTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		gAppPrivacy.AnaExePath("dialog_tests");
		for (const std::string& folder : AddOnFolders()) {
			fs::remove_all(folder);
			fs::create_directories(folder);
		}
		ASSERT_EQ(B_OK, fEnglish.Load(ENGLISH_LANGUAGE_FILE));
	}

	void TearDown() override
	{
		GuiTest::TearDown();
		for (const std::string& folder : AddOnFolders())
			fs::remove_all(folder);
	}

	static std::vector<std::string> AddOnFolders()
	{
		return {ProgramFolder("Language"), ProgramFolder("Loader"),
			user_add_on_folder("Language"), user_add_on_folder("Loader")};
	}

	static std::string ProgramFolder(const char* kind) { return gAppPrivacy.ExePath() + kind; }

	// The window as the application makes it, not shown yet.
	void Make()
	{
		fWindow = new TAboutWin(BRect(100, 100, 200, 200));
		ASSERT_EQ(B_OK, fWindow->InitCheck());
		fWindow->SetAppInfo(gAppName, gAppVer, kAuthorLine);
		fWindow->SetVLTRef(&fEnglish);
		fView = fWindow->AboutView();
	}

	void Open()
	{
		Make();
		fWindow->Show();
	}

	static Step Do(std::function<void()> action)
	{
		return [action]() {
			action();
			return true;
		};
	}

	Step ShowTab(int32 index)
	{
		return Do([this, index] {
			fWindow->Lock();
			fView->TabView()->Select(index);
			fWindow->Unlock();
		});
	}

	// A step that ends once the tab lists those rows.
	Step WaitForRows(TAboutViewAddOn* tab, std::vector<std::string> rows)
	{
		return [this, tab, rows] { return Rows(tab) == rows; };
	}

	static std::vector<std::string> Rows(TAboutViewAddOn* tab)
	{
		std::vector<std::string> rows;
		BListView* list = tab->ListView();
		for (int32 i = 0; i < list->CountItems(); i++)
			rows.push_back(static_cast<BStringItem*>(list->ItemAt(i))->Text());
		return rows;
	}

	// A click on the row, as the user selects it.
	void Click(TAboutViewAddOn* tab, int32 row)
	{
		BListView* list = tab->ListView();
		BMessage message(B_MOUSE_DOWN);
		message.AddPoint("where", list->ItemFrame(row).LeftTop() + BPoint(5, 3));
		message.AddInt32("buttons", B_PRIMARY_MOUSE_BUTTON);
		message.AddInt32("clicks", 1);
		message.AddInt32("modifiers", 0);
		fWindow->PostMessage(&message, list);
	}

	static std::string Info(TAboutViewAddOn* tab) { return tab->InfoView()->Text(); }

	TVLT fEnglish;
	TAboutWin* fWindow = nullptr;
	TAboutView* fView = nullptr;
};


TEST_F(AboutWinTest, TitleAndLabelsFollowTheLanguageTable)
{
	TVLT builtIn;
	ASSERT_EQ(B_OK, builtIn.Load(NULL, TVLT::kBuiltInTextId));
	struct Case {
		TVLT* table;
		std::string title;
		std::vector<std::string> labels;
	};
	const Case cases[] = {
		{&builtIn, "Vantu MIDIのバージョン情報",
			{"バージョン情報", "言語", "ローダー", "O・ＯＫ"}},
		{&fEnglish, "About Vantu MIDI", {"About", "Languages", "Loaders", "O・OK"}},
	};
	Open();
	for (const Case& c : cases) {
		SCOPED_TRACE(c.title);
		EXPECT_EQ(0, fWindow->SetVLTRef(c.table));
		EXPECT_EQ(c.title, fWindow->Title());
		BTabView* tabs = fView->TabView();
		const std::vector<std::string> labels = {tabs->TabAt(0)->Label(),
			tabs->TabAt(1)->Label(), tabs->TabAt(2)->Label(), fView->OKButton()->Label()};
		EXPECT_EQ(c.labels, labels);
	}
	EXPECT_EQ(-1, fWindow->SetVLTRef(NULL));
	EXPECT_EQ("About Vantu MIDI", std::string(fWindow->Title()));
}


TEST_F(AboutWinTest, ALayoutWithoutTheTabsMakesNoView)
{
	BView root(BRect(0, 0, 320, 450), "PrefView", B_FOLLOW_ALL, B_WILL_DRAW);
	root.AddChild(new BButton(BRect(123, 415, 198, 439), "ButtonOK", "OK", NULL));
	BMessage archive;
	ASSERT_EQ(B_OK, root.Archive(&archive, true));
	TAboutView view(&archive);
	EXPECT_EQ(B_NO_INIT, view.InitCheck());
}


// A tab bar taller than the layout leaves room for: the tab view grows
// until the About tab holds the whole picture, and the button and the view
// make room for it.
TEST_F(AboutWinTest, ATabViewTooShortForThePictureGrowsAndTakesTheButtonDown)
{
	BMessage archive;
	TViewArchiveError error;
	ASSERT_TRUE(parse_view_archive_source(
		"BView AboutView 0,0,320,350 {\n"
		"	BTabView TabViewAbout 0,5,320,300 {\n"
		"		BView A 0,0,320,275 tab=A\n"
		"		BView B 0,0,320,275 tab=B\n"
		"		BView C 0,0,320,275 tab=C\n"
		"	}\n"
		"	BButton ButtonOK 123,315,198,339 label=OK\n"
		"}\n", &archive, &error)) << error.message;
	TAboutView view(&archive);
	ASSERT_EQ(B_OK, view.InitCheck());
	BTabView* tabs = view.TabView();
	const float grown = tabs->Frame().bottom - 300;
	EXPECT_GT(grown, 0);
	EXPECT_EQ(TAboutViewAbout::PictureFrame().bottom, tabs->Bounds().bottom - tabs->TabHeight());
	EXPECT_EQ(BRect(0, 5, 320, 300 + grown), tabs->Frame());
	EXPECT_EQ(BRect(123, 315 + grown, 198, 339 + grown), view.OKButton()->Frame());
	EXPECT_EQ(350 + grown, view.Bounds().bottom);
	EXPECT_LE(TAboutViewAbout::PictureFrame().bottom, view.AboutTab()->Bounds().bottom);
}


TEST_F(AboutWinTest, LanguageTabListsEveryLanguageAndShowsTheSelectedOnesDetails)
{
	fs::copy_file(ENGLISH_LANGUAGE_FILE, ProgramFolder("Language") + "/English.vlt");
	const std::string userFile = user_add_on_folder("Language") + "/Zulu.vlt";
	write_whole_file(userFile, kUserLanguage);
	TVLT builtIn;
	ASSERT_EQ(B_OK, builtIn.Load(BUILTIN_LANGUAGE_FILE));

	struct Case {
		int32 row;
		std::string info;
	};
	const Case cases[] = {
		{1, "Language:\nJapanese ( 日本語 )\n\nFile name:\n\n\nWritten by:\n"
			"PELKAN ( ＰＥＬＫＡＮ )\n\nSpecial thanks:\n\n\nNumber of texts:\n"
			+ std::to_string(builtIn.TextMap().size())},
		{2, "Language:\nZulu Test\n\nFile name:\n" + userFile + "\n\nWritten by:\nSomeone"
			"\n\nSpecial thanks:\nEveryone\n\nNumber of texts:\n3"},
	};
	Open();
	TAboutViewLang* tab = fView->LanguageTab();
	std::vector<Step> steps = {
		ShowTab(1),
		WaitForRows(tab, {"English ( English )", "Japanese ( 日本語 )", "Zulu Test"}),
		[&] { return Info(tab).empty(); },
	};
	for (const Case& c : cases) {
		steps.push_back(Do([&] { Click(tab, c.row); }));
		steps.push_back([&] { return Info(tab) == c.info; });
	}
	RunSteps(steps);
	EXPECT_EQ(cases[1].info, Info(tab));
}


TEST_F(AboutWinTest, LoaderTabListsTheBuiltInLoaderAndTheAddOnsOfBothFolders)
{
	// The user's copy of a loader the program has is listed after it, under
	// the same name.
	fs::copy_file(RAW_LOADER_FILE, ProgramFolder("Loader") + "/RawLoader.so");
	const std::string usersCopy = user_add_on_folder("Loader") + "/MyRaw.so";
	fs::copy_file(RAW_LOADER_FILE, usersCopy);
	const std::string usersInfo = "Loader name:\nContainer Loader Raw List\n\nVersion:\n"
		"Ver 1.10\n\nFile name:\n" + usersCopy + "\n\nCopyright:\nCopyright (C) 2025 PELKAN"
		"\n\nDescription:\nTells MIDI files in the raw list";

	Open();
	TAboutViewLoader* tab = fView->LoaderTab();
	RunSteps({
		ShowTab(2),
		WaitForRows(tab, {"Container Loader Native 100", "Container Loader Raw List",
			"Container Loader Raw List"}),
		Do([&] { Click(tab, 0); }),
		[&] { return Info(tab).find("Container Loader Native 100") != std::string::npos; },
		Do([&] { Click(tab, 2); }),
		[&] { return Info(tab).rfind(usersInfo, 0) == 0; },
		// Added while the window is open (the folder's watcher sends 'nloc'),
		// it comes before the selected copy in the user's folder.
		Do([&] {
			fs::copy_file(FOLDER_LOADER_FILE, user_add_on_folder("Loader") + "/FolderLoader.so");
			fWindow->PostMessage(kMsgLoaderFolderChanged);
		}),
		WaitForRows(tab, {"Container Loader Native 100", "Container Loader Raw List",
			"Container Loader Folder", "Container Loader Raw List"}),
	});
	EXPECT_EQ(3, tab->ListView()->CurrentSelection()) << "the same loader stays selected";
	EXPECT_EQ(0u, Info(tab).rfind(usersInfo, 0)) << Info(tab);
}


TEST_F(AboutWinTest, BuiltInLoaderHasNoFileName)
{
	Open();
	TAboutViewLoader* tab = fView->LoaderTab();
	RunSteps({
		ShowTab(2),
		WaitForRows(tab, {"Container Loader Native 100"}),
		Do([&] { Click(tab, 0); }),
		[&] { return !Info(tab).empty(); },
	});
	EXPECT_NE(std::string::npos, Info(tab).find("\n\nFile name:\n\n\nCopyright:\n")) << Info(tab);
}


// A list is made only while its tab is in the window: a change reported
// before the window is first shown, or while another tab is on show, is
// carried out when the tab is shown, once.
TEST_F(AboutWinTest, FolderChangesReachTabsThatAreNotOnShow)
{
	Make();
	TAboutViewLang* languages = fView->LanguageTab();
	TAboutViewLoader* loaders = fView->LoaderTab();
	fWindow->PostMessage(kMsgNodeLanguageChanged);
	fWindow->PostMessage(kMsgLoaderFolderChanged);
	fWindow->Show();
	RunSteps({
		Drain(fWindow),
		Do([&] {
			fs::copy_file(ENGLISH_LANGUAGE_FILE, user_add_on_folder("Language") + "/English.vlt");
			fs::copy_file(RAW_LOADER_FILE, user_add_on_folder("Loader") + "/RawLoader.so");
			fWindow->PostMessage(kMsgNodeLanguageChanged);
			fWindow->PostMessage(kMsgLoaderFolderChanged);
		}),
		Drain(fWindow),
		ShowTab(1),
		WaitForRows(languages, {"English ( English )", "Japanese ( 日本語 )"}),
		ShowTab(2),
		WaitForRows(loaders, {"Container Loader Native 100", "Container Loader Raw List"}),
		// Hidden behind the About tab, the Language tab is told of a new file.
		ShowTab(0),
		Do([&] {
			write_whole_file(user_add_on_folder("Language") + "/Zulu.vlt", kUserLanguage);
			fWindow->PostMessage(kMsgNodeLanguageChanged);
		}),
		// Once to the window, which posts it on to its view.
		Drain(fWindow),
		Drain(fWindow),
		ShowTab(1),
		Settle(),
	});
	EXPECT_EQ((std::vector<std::string>{"English ( English )", "Japanese ( 日本語 )",
		"Zulu Test"}), Rows(languages));
}


TEST_F(AboutWinTest, EscapeAndEnterHideTheWindow)
{
	std::vector<Step> steps;
	for (int32 key : {B_ESCAPE, B_ENTER}) {
		steps.push_back(Do([this, key] {
			Open();
			BMessage message = KeyMessage(key, 0);
			fWindow->PostMessage(&message, fView->OKButton());
		}));
		steps.push_back([this, key] {
			if (!fWindow->IsHidden())
				return false;
			EXPECT_TRUE(fWindow->Lock()) << "hidden, not quit, by key " << key;
			fWindow->Quit();
			return true;
		});
	}
	RunSteps(steps);
}


TEST_F(AboutWinTest, IconAndPictureAreDrawnWholeAboveAndBelowTheLine)
{
	Open();
	std::unique_ptr<BBitmap> shot;
	RunSteps({
		Settle(),
		Do([&] { shot.reset(grab_view(fView->AboutTab())); }),
	});
	ASSERT_NE(nullptr, shot);
	const BRect picture = TAboutViewAbout::PictureFrame();
	ASSERT_GE(shot->Bounds().bottom, picture.bottom) << "the tab cuts the picture";
	const Pixel background = {216, 216, 216, 255};
	EXPECT_NE(background, pixel_at(shot.get(), 160, 75)) << "the line";
	EXPECT_EQ(background, pixel_at(shot.get(), 160, 120)) << "between the line and the picture";
	// The play button's green, and the keyboard's frame at the picture's foot.
	EXPECT_EQ((Pixel{0x26, 0xc8, 0x26, 255}), pixel_at(shot.get(), 250, picture.top + 46));
	EXPECT_EQ((Pixel{0x00, 0x3a, 0x2b, 255}), pixel_at(shot.get(), 160, picture.top + 195));
	// The program's icon, 32 × 32 at the top left.
	int32 iconPixels = 0;
	for (int32 y = 10; y < 42; y++) {
		for (int32 x = 10; x < 42; x++)
			iconPixels += pixel_at(shot.get(), x, y) != background;
	}
	EXPECT_GT(iconPixels, 32 * 32 / 2);
	EXPECT_EQ(background, pixel_at(shot.get(), 44, 26)) << "right of the icon";
}

}  // namespace
