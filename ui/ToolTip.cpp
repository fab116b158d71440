#include "ToolTip.h"

#include <AppDefs.h>
#include <Application.h>
#include <Message.h>
#include <MessageRunner.h>
#include <Messenger.h>
#include <View.h>
#include <Window.h>

#include "TTSpy.h"
#include "ToolTipCodes.h"
#include "ToolTipWin.h"

namespace {

const bigtime_t kDefaultDelayTime = 1000000;
const bigtime_t kDefaultShowTime = 5000000;
// Where the tip opens, from the pointer: left of it and below it.
const float kTipOffsetX = -16.0f;
const float kTipOffsetY = 16.0f;

}


TToolTip::TToolTip(const char* name)
	:
	BHandler(name),
	fDelayTime(kDefaultDelayTime),
	fShowTime(kDefaultShowTime),
	fTimer(NULL),
	fWaiting(false),
	fTarget(NULL),
	fSpy(new TTTSpy(this)),
	fWindow(NULL)
{
}


TToolTip::~TToolTip()
{
	ReleaseTarget();
	delete fSpy;
}


void
TToolTip::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgPointerEntered:
			_MouseEntered();
			break;
		case kMsgPointerExited:
			_MouseExited();
			break;
		case kMsgOpenToolTipWindow:
			_OpenToolTipWindowRqtd();
			break;
		default:
			BHandler::MessageReceived(message);
	}
}


status_t
TToolTip::SetTarget(BView* view)
{
	if (view == NULL || view->Window() == NULL)
		return -1;
	ReleaseTarget();
	if (fSpy == NULL)
		fSpy = new TTTSpy(this);
	fTarget = view;
	fWindow = view->Window();
	fSpy->SetTarget(view);
	fWindow->AddCommonFilter(fSpy);
	fWindow->AddHandler(this);
	return B_OK;
}


void
TToolTip::ReleaseTarget()
{
	_CancelTimer();
	if (fWindow == NULL)
		return;
	// A window lets go of its handlers and deletes its filters when it is
	// deleted: the tool tip still being its handler means the window, and
	// the spy in it, are still there.
	if (Looper() == fWindow) {
		fWindow->RemoveCommonFilter(fSpy);
		fWindow->RemoveHandler(this);
		fSpy->SetTarget(NULL);
	} else
		fSpy = NULL;
	fWindow = NULL;
	fTarget = NULL;
}


void
TToolTip::SetTip(const char* text)
{
	fTip = text != NULL ? text : "";
}


status_t
TToolTip::SetDelayTime(bigtime_t time)
{
	if (time < 0)
		return -1;
	fDelayTime = time;
	return B_OK;
}


status_t
TToolTip::SetShowTime(bigtime_t time)
{
	if (time < 0)
		return -1;
	fShowTime = time;
	return B_OK;
}


void
TToolTip::Hide()
{
	if (BWindow* window = FindToolTipWindow())
		BMessenger(window).SendMessage(B_QUIT_REQUESTED);
}


std::string
TToolTip::ToolTipWindowName() const
{
	std::string name = "TTW_";
	if (Name() != NULL)
		name += Name();
	return name;
}


BWindow*
TToolTip::FindToolTipWindow() const
{
	if (be_app == NULL)
		return NULL;
	const std::string name = ToolTipWindowName();
	for (int32 i = 0; BWindow* window = be_app->WindowAt(i); i++) {
		if (window->Name() != NULL && name == window->Name())
			return window;
	}
	return NULL;
}


void
TToolTip::_MouseEntered()
{
	if (fWaiting)
		return;
	BMessage open(kMsgOpenToolTipWindow);
	fWaiting = true;
	if (fDelayTime == 0) {
		Looper()->PostMessage(&open, this);
		return;
	}
	fTimer = new BMessageRunner(BMessenger(this), &open, fDelayTime, 1);
}


void
TToolTip::_MouseExited()
{
	_CancelTimer();
	Hide();
}


void
TToolTip::_OpenToolTipWindowRqtd()
{
	// A delay that ended just as the pointer left is not acted on.
	if (!fWaiting)
		return;
	_CancelTimer();
	if (FindToolTipWindow() != NULL || fTip.empty() || fTarget == NULL)
		return;
	BWindow* window = fTarget->Window();
	if (window == NULL || !window->IsActive())
		return;
	BPoint where;
	uint32 buttons;
	fTarget->GetMouse(&where, &buttons);
	fTarget->ConvertToScreen(&where);
	where += BPoint(kTipOffsetX, kTipOffsetY);
	const std::string name = ToolTipWindowName();
	TToolTipWin* tip = new TToolTipWin(BRect(where, where), name.c_str(), fTip.c_str(),
		fShowTime);
	tip->Show();
}


void
TToolTip::_CancelTimer()
{
	delete fTimer;
	fTimer = NULL;
	fWaiting = false;
}
