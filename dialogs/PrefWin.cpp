#include "PrefWin.h"

#include <Message.h>

#include <PlayerMessages.h>

#include "AppGlobals.h"
#include "AppMessages.h"
#include "PKNApp.h"
#include "PrefView.h"
#include "ViewArchive.h"

namespace {

const char kArchiveName[] = "PrefViewRsrc";

}	// namespace


TPrefWin::TPrefWin(BRect frame)
	:
	TPKNDlgWin(frame, "PrefWin", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	fInitStatus(B_NO_INIT),
	fPrefView(NULL)
{
	BMessage archive;
	if (!load_view_archive(kArchiveName, &archive))
		return;
	TPrefView* view = new TPrefView(&archive);
	if (view->InitCheck() != B_OK) {
		delete view;
		return;
	}
	fPrefView = view;
	ResizeTo(fPrefView->Bounds().Width(), fPrefView->Bounds().Height());
	AddMainChild(fPrefView);
	_SetWinTitle();
	fInitStatus = B_OK;
}


status_t
TPrefWin::InitCheck() const
{
	return fInitStatus;
}


bool
TPrefWin::QuitRequested()
{
	// The close box is the user's Cancel; the program's own quit has no
	// current message.
	if (CurrentMessage() != NULL && fPrefView != NULL)
		fPrefView->Revert();
	return TPKNDlgWin::QuitRequested();
}


void
TPrefWin::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgLanguageChanged:
			_SetWinTitle();
			if (fPrefView != NULL)
				fPrefView->MessageReceived(message);
			TPKNDlgWin::MessageReceived(message);
			break;
		case kMsgNodeLanguageChanged:
		case kMsgLanguageFileDropped:
			if (fPrefView != NULL)
				fPrefView->MessageReceived(message);
			break;
		default:
			TPKNDlgWin::MessageReceived(message);
	}
}


bool
TPrefWin::SetLanguage(pelkan::TLang lang)
{
	_SetWinTitle();
	return TPKNDlgWin::SetLanguage(lang);
}


const TPref&
TPrefWin::ConfirmedPref() const
{
	return fPrefView != NULL ? fPrefView->ConfirmedPref() : gPref;
}


void
TPrefWin::_SetWinTitle()
{
	SetTitle(gVLT.Text("Pref_Win_Title"));
}
