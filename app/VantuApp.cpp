#include "VantuApp.h"

#include <cstdlib>

#include <Autolock.h>
#include <Bitmap.h>
#include <Message.h>
#include <MimeType.h>
#include <NodeMonitor.h>
#include <OS.h>
#include <Window.h>

#include <Alerts.h>
#include <Bitmaps.h>
#include <MainWinMessages.h>
#include <PlayerMessages.h>
#include <VantuWin.h>

#include "AppGlobals.h"
#include "AppMessages.h"
#include "NodeMonitorHandler.h"

const char* const TVantuApp::kPlayListMimeType = "text/x-vnd.PELKAN-VantuMIDI-PlayList";

namespace {

const char kPlayListDescription[] = "Vantu MIDI Playlist";

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
			TransferMessage(message, fPrefWindow);
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
}


void
TVantuApp::MItemDrvCvtSettingClicked()
{
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
