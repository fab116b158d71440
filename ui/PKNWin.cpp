#include "PKNWin.h"

#include <AppDefs.h>
#include <Message.h>
#include <Screen.h>

#include "PKNView.h"

namespace {

const float kScreenMargin = 5.0f;

}


TPKNWin::TPKNWin(BRect frame, const char* title, window_look look, window_feel feel,
	uint32 flags, uint32 workspace)
	:
	BWindow(frame, title, look, feel, flags | B_ASYNCHRONOUS_CONTROLS, workspace),
	fMainView(NULL)
{
}


TPKNWin::TPKNWin(BRect frame, const char* title, window_type type, uint32 flags,
	uint32 workspace)
	:
	BWindow(frame, title, type, flags | B_ASYNCHRONOUS_CONTROLS, workspace),
	fMainView(NULL)
{
}


void
TPKNWin::MessageReceived(BMessage* message)
{
	if (message->what == B_KEY_DOWN)
		KeyDown(message);
	else
		BWindow::MessageReceived(message);
}


bool
TPKNWin::QuitRequested()
{
	if (CurrentMessage() == NULL)
		return true;
	if (!IsHidden())
		Hide();
	return false;
}


void
TPKNWin::WorkspaceActivated(int32 /*workspace*/, bool /*active*/)
{
	SetDeskBarTitle();
}


void
TPKNWin::AddMainChild(TPKNView* view)
{
	fMainView = view;
	AddChild(view);
}


void
TPKNWin::Appear()
{
	if (IsHidden())
		Show();
	else
		Activate(true);
}


bool
TPKNWin::SetLanguage(pelkan::TLang /*lang*/)
{
	SetDeskBarTitle();
	return true;
}


void
TPKNWin::KeyDown(BMessage* message)
{
	int32 rawChar = 0;
	message->FindInt32("raw_char", &rawChar);
	ShowMenu(rawChar);
	if (fMainView != NULL)
		DispatchMessage(message, fMainView);
}


bool
TPKNWin::SetDeskBarTitle()
{
	return true;
}


BPoint
TPKNWin::SetPos(bool useGiven, BPoint point)
{
	const BRect screen = BScreen(B_MAIN_SCREEN_ID).Frame();
	const BRect bounds = Bounds();
	BPoint where;
	if (!useGiven) {
		where.x = screen.left + (screen.Width() - bounds.Width()) * 0.5f;
		where.y = screen.top + (screen.Height() - bounds.Height()) * 0.5f;
	} else {
		where = point;
		if (where.x + bounds.right >= screen.right - kScreenMargin)
			where.x = screen.right - bounds.right - kScreenMargin;
		if (where.y + bounds.bottom >= screen.bottom - kScreenMargin)
			where.y = screen.bottom - bounds.bottom - kScreenMargin;
		if (where.x < screen.left)
			where.x = screen.left;
		if (where.y < screen.top)
			where.y = screen.top;
	}
	MoveTo(where);
	return where;
}


void
TPKNWin::ShowMenu(int32 /*rawChar*/)
{
}
