#include "ToolTipWin.h"

#include <string>

#include <AppDefs.h>
#include <Message.h>
#include <MessageRunner.h>
#include <Messenger.h>
#include <StringView.h>

namespace {

const rgb_color kTipColor = {255, 255, 225, 255};

}


TToolTipWin::TToolTipWin(BRect frame, const char* name, const char* text,
	bigtime_t showTime)
	:
	BWindow(frame, name, B_BORDERED_WINDOW_LOOK, B_FLOATING_ALL_WINDOW_FEEL,
		B_AVOID_FRONT | B_AVOID_FOCUS, B_CURRENT_WORKSPACE),
	fCloseTimer(NULL)
{
	const std::string shown = std::string(" ") + (text != NULL ? text : "") + " ";
	BStringView* view = new BStringView(Bounds(), text, shown.c_str(),
		B_FOLLOW_LEFT | B_FOLLOW_TOP);
	view->SetViewColor(kTipColor);
	view->SetLowColor(kTipColor);
	AddChild(view);
	view->ResizeToPreferred();
	ResizeTo(view->Bounds().Width(), view->Bounds().Height());

	BMessage quit(B_QUIT_REQUESTED);
	if (showTime > 0)
		fCloseTimer = new BMessageRunner(BMessenger(this), &quit, showTime, 1);
	else
		PostMessage(&quit);
}


TToolTipWin::~TToolTipWin()
{
	delete fCloseTimer;
}
