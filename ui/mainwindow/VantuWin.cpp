#include "VantuWin.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <Application.h>
#include <FilePanel.h>
#include <MenuBar.h>
#include <Screen.h>

#include <Alerts.h>
#include <WindowFunctions.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "MainWinMessages.h"
#include "PlayerMessages.h"
#include "VantuView.h"

namespace {

// The smallest window a settings file can ask for; anything smaller leaves
// no room for the player's controls.
const float kMinWidth = 200;
const float kMinHeight = 100;
// What pelkan::move_window_into_screen keeps free around a window.
const float kScreenMarginX = 10;
const float kScreenMarginY = 29;
const char kTitleSeparator[] = " - ";

}

const char* const TVantuWin::kRecentFilesName = "VantuMIDI_MRUPlaylists.arc";
std::string TVantuWin::sLastDeskBarTitle;


TVantuWin::TVantuWin(BRect frame)
	:
	TVantuWin(frame, NULL)
{
}


TVantuWin::TVantuWin(BRect frame, TVantuView* playerView)
	:
	TPKNWin(_FitFrame(frame), gAppName, B_TITLED_WINDOW, B_ASYNCHRONOUS_CONTROLS),
	fOpenPanelForOpen(true),
	fAddMenu(NULL),
	fPortMenus{NULL, NULL},
	fOpenMenu(NULL),
	fPlayMenu(NULL),
	fMenuBar(NULL),
	fPlayerView(NULL),
	fMenusOpen(false),
	fMidiOutRebuildPending(false),
	fRecentRebuildPending(false)
{
	_Init(Bounds(), playerView);
}


void
TVantuWin::_Init(BRect bounds, TVantuView* playerView)
{
	SetDeskBarTitle(gAppName);
	fMenuBar = new BMenuBar(bounds, "MenuBar");
	AddChild(fMenuBar);
	BRect rect = bounds;
	rect.OffsetTo(0, 0);
	rect.top += fMenuBar->Bounds().Height() + 1;
	if (playerView == NULL)
		playerView = new TVantuView(rect);
	else {
		playerView->MoveTo(rect.LeftTop());
		playerView->ResizeTo(rect.Width(), rect.Height());
	}
	fPlayerView = playerView;
	AddMainChild(fPlayerView);

	fMRUF.SetShowSC(true);
	fMRUF.SetMaxMRUF(10);
	fMRUF.SetTgtHandler(this);
	CreateMenu();
	CreateMenuMidiOut();
	ReflectExitConnection();
	_LoadMRUF();
	GenerateMenuMRUF();
	pelkan::move_window_into_screen(this);
}


TVantuWin::~TVantuWin()
{
	_StorePanelFolder();
}


BRect
TVantuWin::_FitFrame(BRect frame)
{
	const BRect screen = BScreen(B_MAIN_SCREEN_ID).Frame();
	if (!std::isfinite(frame.left) || !std::isfinite(frame.top)
		|| !std::isfinite(frame.right) || !std::isfinite(frame.bottom)) {
		frame = TExitState().mainWinFrame;
	}
	const float maxWidth = std::max(kMinWidth, screen.Width() - kScreenMarginX);
	const float maxHeight = std::max(kMinHeight, screen.Height() - kScreenMarginY);
	frame.right = frame.left + std::clamp(frame.Width(), kMinWidth, maxWidth);
	frame.bottom = frame.top + std::clamp(frame.Height(), kMinHeight, maxHeight);
	return frame;
}


void
TVantuWin::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgSavePanelTitleChanged:
			ChangeSavePanelTitleRqtd(message);
			break;
		case kMsgDeleteAllRecentFiles:
			MItemDelAllMRUFClicked();
			break;
		case kMsgOpenPanelForAdd:
			MItemOpenClicked(false);
			break;
		case kMsgOpenPanelForOpen:
			MItemOpenClicked(true);
			break;
		case kMsgRemoveRecentFileRqtd:
			RemoveHistoryRqtd(message);
			break;
		case kMsgDeskBarTitleRqtd:
		{
			const char* title;
			if (message->FindString("DeskBarTitle", &title) == B_OK)
				SetDeskBarTitle(title);
			break;
		}
		case kMsgRecreateMenuMidiOutRqtd:
			RecreateMenuMidiOutRqtd();
			break;
		case kMsgSavePanelRqtd:
			ShowSavePanelRqtd(message);
			break;
		case kMsgUpdateMenuMidiOutRqtd:
			UpdateMenuMidiOutRqtd(message);
			break;
		case kMsgUpdateMenuPlayModeRqtd:
			UpdateMenuPlayModeRqtd(message);
			break;
		case B_CANCEL:
			FilePanelCancelled(message);
			break;
		case B_SAVE_REQUESTED:
			SaveRequested(message);
			PostMessage(message, fPlayerView);
			break;
		case kMsgOpenListFolderFileRqtd:
		case kMsgAddListFolderFileRqtd:
			if (_ForgetMissingRecentFile(message))
				break;
			OpenListFolderFileRqtd(message);
			PostMessage(message, fPlayerView);
			break;
		case kMsgLanguageChanged:
			LanguageChanged(message);
			break;
		case kMsgNodeLoaderChanged:
		case kMsgExpStatBarRqtd:
			PostMessage(message, fPlayerView);
			break;
		default:
			TPKNWin::MessageReceived(message);
	}
}


// The player sets the window's title whenever its list changes; the song
// that plays goes in front of whatever it set, so that the task bars, which
// show window titles, name the song.
void
TVantuWin::DispatchMessage(BMessage* message, BHandler* handler)
{
	TPKNWin::DispatchMessage(message, handler);
	if (fTitleShown != Title())
		_ShowSongInTitle();
}


void
TVantuWin::_ShowSongInTitle()
{
	if (fTitleShown != Title())
		fTitleBase = Title();
	fTitleShown = fSongTitle.empty() ? fTitleBase
		: fSongTitle + kTitleSeparator + fTitleBase;
	if (fTitleShown != Title())
		SetTitle(fTitleShown.c_str());
}


bool
TVantuWin::QuitRequested()
{
	if (CurrentMessage() != NULL) {
		be_app->PostMessage(B_QUIT_REQUESTED);
		return false;
	}
	BMessage quit(B_QUIT_REQUESTED);
	return fPlayerView->AskSaveAllList(&quit, this);
}


void
TVantuWin::Quit()
{
	gExitState.mainWinFrame = Frame();
	TPKNWin::Quit();
}


void
TVantuWin::WorkspaceActivated(int32, bool)
{
	SetDeskBarTitle(static_cast<const char*>(NULL));
}


bool
TVantuWin::SetDeskBarTitle()
{
	SetDeskBarTitle(static_cast<const char*>(NULL));
	return true;
}


// A title renames the entry whatever label it shows now: the executable's
// name (no label set yet), the display name, or the last title.
void
TVantuWin::SetDeskBarTitle(const char* title)
{
	const std::string exeName = gAppPrivacy.ExeName();
	if (title == NULL) {
		pelkan::set_deskbar_title(exeName.c_str(), sLastDeskBarTitle.c_str());
		return;
	}
	pelkan::set_deskbar_title(exeName.c_str(), title);
	pelkan::set_deskbar_title(gAppName, title);
	pelkan::set_deskbar_title(sLastDeskBarTitle.c_str(), title);
	sLastDeskBarTitle = title;
	fSongTitle = strcmp(title, gAppName) == 0 ? "" : title;
	_ShowSongInTitle();
}


void
TVantuWin::MenusBeginning()
{
	fMenusOpen = true;
}


// What waited for the menus to close: a language change rebuilds every
// menu, the output menus and the recent files included.
void
TVantuWin::MenusEnded()
{
	fMenusOpen = false;
	if (fPendingLanguageChange != NULL) {
		std::unique_ptr<BMessage> message = std::move(fPendingLanguageChange);
		fMidiOutRebuildPending = fRecentRebuildPending = false;
		LanguageChanged(message.get());
		return;
	}
	if (fMidiOutRebuildPending) {
		fMidiOutRebuildPending = false;
		RecreateMenuMidiOutRqtd();
	}
	if (fRecentRebuildPending) {
		fRecentRebuildPending = false;
		GenerateMenuMRUF();
	}
}


int32
TVantuWin::ShowAlert(const char* text, const char* button0, const char* button1)
{
	return pelkan::show_alert(gVLT.Text("Alert_Caption"), text, button0, button1, NULL,
		-1, B_INFO_ALERT);
}
