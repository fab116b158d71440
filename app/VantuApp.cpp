#include "VantuApp.h"

#include <cstdlib>

#include <Autolock.h>
#include <Entry.h>
#include <Bitmap.h>
#include <Message.h>
#include <MimeType.h>
#include <NodeMonitor.h>
#include <OS.h>
#include <Window.h>

#include <AboutWin.h>
#include <Alerts.h>
#include <Bitmaps.h>
#include <DrvCvtWin.h>
#include <Files.h>
#include <Launch.h>
#include <MainWinMessages.h>
#include <PlayerMessages.h>
#include <PrefWin.h>
#include <VantuWin.h>

#include "AppGlobals.h"
#include "AppMessages.h"
#include "LocaleLanguage.h"
#include "NodeMonitorHandler.h"
#include "FileUrl.h"

const char* const TVantuApp::kPlayListMimeType = "text/x-vnd.PELKAN-VantuMIDI-PlayList";

namespace {

const char kPlayListDescription[] = "Vantu MIDI Playlist";

// A dialog opens this far below the main window's top-left corner.
const float kDialogOffset = 20.0f;

const char kHelpDocument[] = "VantuMIDI.htm";
const char kJapaneseHelpDocument[] = "ja/VantuMIDI.htm";
// Fixed texts, not from the language table, followed by the document's
// path or the page's address. The button is the program's own full-width
// label, as the framework's launch failures have it.
const char kHelpFailure[] = "ヘルプを表示できません：\n";
const char kWebFailure[] = "ページを表示できません：\n";
const char kFailureButton[] = "ＯＫ";
// The project's page, set once in the build; without one the README
// delivered beside the program stands in for it.
const char kWebPageUrl[] = VANTU_WEB_PAGE_URL;
const char kReadme[] = "README.md";


// The Japanese document while the language in use is Japanese (and the
// document is there), else the English one.
const char*
help_document()
{
	if (!names_language(gVLT.LanguageName(), "Japanese"))
		return kHelpDocument;
	BEntry entry;
	if (pelkan::get_entry(kJapaneseHelpDocument, &entry, pelkan::BaseDir_Exe, NULL)
		&& entry.Exists()) {
		return kJapaneseHelpDocument;
	}
	return kHelpDocument;
}

}	// namespace


TVantuApp::TOutside::~TOutside()
{
}


void
TVantuApp::TOutside::ShowAlert(const char* caption, const char* text, const char* button)
{
	pelkan::show_alert(caption, text, button, NULL, NULL, 0, B_WARNING_ALERT);
}


TVantuApp::TVantuApp()
	:
	TVantuApp(new TOutside)
{
}


TVantuApp::TVantuApp(TOutside* outside)
	:
	TPKNApp(gAppSignature),
	fOutside(outside),
	fMainWindow(NULL),
	fLanguageHandler(NULL),
	fLoaderHandler(NULL),
	fPrefWindow(NULL),
	fAboutWindow(NULL),
	fDrvCvtWindow(NULL)
{
	BRect frame = gExitState.mainWinFrame;
	srand(static_cast<unsigned int>(system_time()));
	// Before any window: every window takes its labels from the table.
	LoadLanguage();
	// The first run and a run after a version change register the type.
	if (gExitState.lastVersion != gAppVer)
		InstallPlayListMime();
	frame.bottom = frame.top + gExitState.expandedHeight;
	fMainWindow = new TVantuWin(frame);
	fMainWindow->Show();

	fLanguageHandler = new TNodeMonitorHandler(kMsgNodeLanguageChanged);
	fLoaderHandler = new TNodeMonitorHandler(kMsgLoaderFolderChanged);
	AddHandler(fLanguageHandler);
	AddHandler(fLoaderHandler);
	SetNodeMonitorLanguage();
	SetNodeMonitorLoader();
}


TVantuApp::~TVantuApp()
{
	BAutolock locker(this);
	for (TNodeMonitorHandler* handler : {fLanguageHandler, fLoaderHandler}) {
		stop_watching(handler, this);
		RemoveHandler(handler);
		delete handler;
	}
}


void
TVantuApp::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgLanguageChanged:
			LanguageChanged(message);
			TransferMessage(message, fMainWindow);
			TransferMessage(message, fPrefWindow);
			break;
		case kMsgLanguageFileDropped:
			LanguageFileDropped(message);
			break;
		case kMsgPrefLanguageChanged:
			PrefLanguageChanged();
			break;
		case kMsgNodeLanguageChanged:
			NodeLanguageChanged();
			TransferMessage(message, fPrefWindow);
			TransferMessage(message, fAboutWindow);
			break;
		case kMsgLoaderFolderChanged:
			TransferMessage(message, fMainWindow);
			TransferMessage(message, fAboutWindow);
			break;
		case kMsgStatusTextRqtd:
			TransferMessage(message, fMainWindow);
			break;
		case kMsgDrvCvtChanged:
			gAppPrivacy.Load();
			break;
		case kMsgShowDrvCvtPrefs:
			MItemDrvCvtSettingClicked();
			break;
		case kMsgShowPrefs:
			MItemPrefClicked();
			break;
		default:
			TPKNApp::MessageReceived(message);
	}
}


bool
TVantuApp::QuitRequested()
{
	if (fMainWindow == NULL || !fMainWindow->Lock())
		return true;
	const bool agreed = fMainWindow->QuitRequested();
	fMainWindow->Unlock();
	return agreed;
}


void
TVantuApp::Quit()
{
	if (fMainWindow != NULL && fMainWindow->Lock()) {
		fMainWindow->Hide();
		fMainWindow->Unlock();
	}
	_CloseWindow(&fPrefWindow);
	_CloseWindow(&fDrvCvtWindow);
	_CloseWindow(&fAboutWindow);
	_CloseWindow(&fMainWindow);
	TPKNApp::Quit();
}


void
TVantuApp::TransferMessage(BMessage* message, BWindow* window)
{
	if (window == NULL || !window->Lock())
		return;
	window->PostMessage(message);
	window->Unlock();
}


void
TVantuApp::InstallPlayListMime()
{
	BMimeType type(kPlayListMimeType);
	BMessage extensions;
	extensions.AddString("extensions", "lml");
	extensions.AddString("extensions", "LML");
	type.SetFileExtensions(&extensions);
	type.SetShortDescription(kPlayListDescription);
	type.SetLongDescription(kPlayListDescription);
	type.SetPreferredApp(gAppSignature);
	BBitmap* large = NULL;
	BBitmap* mini = NULL;
	pelkan::get_icons(&large, &mini);
	// Only the icons the program carries; a missing one stays unset.
	if (large != NULL)
		type.SetIcon(large, B_LARGE_ICON);
	if (mini != NULL)
		type.SetIcon(mini, B_MINI_ICON);
	delete large;
	delete mini;
	type.Install();
}


void
TVantuApp::MItemPrefClicked()
{
	if (fPrefWindow == NULL) {
		const BRect frame = _DialogFrame();
		fPrefWindow = new TPrefWin(frame);
		if (!_CheckDialog(&fPrefWindow, "Err_Cannot_Create_Pref_Win"))
			return;
		BAutolock locker(fPrefWindow);
		fPrefWindow->SetPos(true, frame.LeftTop());
		fPrefWindow->SetTarget(this);
	}
	BAutolock locker(fPrefWindow);
	fPrefWindow->Appear();
}


void
TVantuApp::MItemDrvCvtSettingClicked()
{
	if (fDrvCvtWindow == NULL) {
		const BRect frame = _DialogFrame();
		fDrvCvtWindow = new TDrvCvtWin(frame);
		BAutolock locker(fDrvCvtWindow);
		fDrvCvtWindow->SetVLTRef(&gVLT);
		fDrvCvtWindow->SetPos(true, frame.LeftTop());
		fDrvCvtWindow->SetTarget(this);
	}
	BAutolock locker(fDrvCvtWindow);
	fDrvCvtWindow->Appear();
}


void
TVantuApp::AboutRequested()
{
	if (fAboutWindow == NULL) {
		const BRect frame = _DialogFrame();
		fAboutWindow = new TAboutWin(frame);
		if (!_CheckDialog(&fAboutWindow, "Err_Cannot_Create_About_Win"))
			return;
		BAutolock locker(fAboutWindow);
		fAboutWindow->SetPos(true, frame.LeftTop());
		_SetAboutInfo();
	}
	BAutolock locker(fAboutWindow);
	fAboutWindow->Appear();
}


void
TVantuApp::MItemHelpClicked()
{
	std::string path = help_document();
	const status_t status = pelkan::open_help_document(path.c_str(), &path);
	_ReportOpenFailure(status, kHelpFailure, path);
}


void
TVantuApp::MItemAuthorWebClicked()
{
	const std::string readme = gAppPrivacy.ExePath() + kReadme;
	const bool configured = kWebPageUrl[0] != '\0';
	const std::string address = configured ? kWebPageUrl : file_url(readme);
	// A README missing from beside the program is told here, not left to
	// the browser.
	const status_t status = configured || BEntry(readme.c_str()).Exists()
		? pelkan::open_url(address.c_str()) : B_ENTRY_NOT_FOUND;
	_ReportOpenFailure(status, kWebFailure, address);
}


BRect
TVantuApp::_DialogFrame() const
{
	BRect frame = gExitState.mainWinFrame;
	if (fMainWindow != NULL && fMainWindow->Lock()) {
		frame = fMainWindow->Frame();
		fMainWindow->Unlock();
	}
	frame.top += kDialogOffset;
	return frame;
}


// A window whose layout could not be read has no view: it is quit at once
// rather than kept, so that nothing later reaches into the missing view.
template<class Window>
bool
TVantuApp::_CheckDialog(Window** window, const char* errorKey)
{
	if ((*window)->InitCheck() == B_OK)
		return true;
	fOutside->ShowAlert(gVLT.Text("Alert_Caption"), gVLT.Text(errorKey),
		gVLT.Text("Button_Understand"));
	_CloseWindow(window);
	return false;
}


void
TVantuApp::_ReportOpenFailure(status_t status, const char* failureText,
	const std::string& what)
{
	if (status == B_OK)
		return;
	const std::string text = failureText + what;
	fOutside->ShowAlert(gVLT.Text("Alert_Caption"), text.c_str(), kFailureButton);
}


void
TVantuApp::_SetAboutInfo()
{
	const std::string author = std::string(gAppAuthorPrefix) + gVLT.Text("App_Author");
	fAboutWindow->SetAppInfo(gAppName, gAppVer, author.c_str());
	fAboutWindow->SetVLTRef(&gVLT);
}


template<class Window>
void
TVantuApp::_CloseWindow(Window** window)
{
	if (*window == NULL || !(*window)->Lock())
		return;
	(*window)->Quit();
	*window = NULL;
}
