#include "TTSpy.h"

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <View.h>

#include "ToolTipCodes.h"

TTTSpy::TTTSpy(BHandler* toolTip)
	:
	BMessageFilter(B_ANY_DELIVERY, B_ANY_SOURCE, B_MOUSE_MOVED),
	fInside(false),
	fLastHandler(NULL),
	fTarget(NULL),
	fToolTip(toolTip)
{
}


filter_result
TTTSpy::Filter(BMessage* message, BHandler** target)
{
	BHandler* handler = *target;
	int32 transit = B_INSIDE_VIEW;
	message->FindInt32("be:transit", &transit);
	if (handler == fTarget && (transit == B_EXITED_VIEW || transit == B_OUTSIDE_VIEW)) {
		// The pointer left the target for no other view (out of the window).
		if (fInside)
			_Notify(kMsgPointerExited);
		fInside = false;
		fLastHandler = NULL;
		return B_DISPATCH_MESSAGE;
	}
	if (handler == fTarget) {
		if (fLastHandler != fTarget && !fInside) {
			_Notify(kMsgPointerEntered);
			fInside = true;
		}
	} else if (fLastHandler == fTarget) {
		_Notify(kMsgPointerExited);
		fInside = false;
	}
	fLastHandler = handler;
	return B_DISPATCH_MESSAGE;
}


void
TTTSpy::SetTarget(BHandler* target)
{
	fTarget = target;
	fInside = false;
	fLastHandler = NULL;
}


void
TTTSpy::_Notify(uint32 what)
{
	if (BLooper* looper = fToolTip->Looper())
		looper->PostMessage(what, fToolTip);
}
