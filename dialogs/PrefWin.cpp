#include "PrefWin.h"

#include <Application.h>
#include <Message.h>
#include <Resources.h>

#include "AppGlobals.h"

TPrefWin::TPrefWin(BRect frame)
	:
	TPKNDlgWin(frame, "PrefWin", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	fInitStatus(B_NO_INIT),
	fPrefView(NULL)
{
}


status_t
TPrefWin::InitCheck() const
{
	return fInitStatus;
}


bool
TPrefWin::QuitRequested()
{
	return TPKNDlgWin::QuitRequested();
}


void
TPrefWin::MessageReceived(BMessage* message)
{
	TPKNDlgWin::MessageReceived(message);
}


void
TPrefWin::_SetWinTitle()
{
	SetTitle(gVLT.Text("Pref_Win_Title"));
}
