#include "PKNView.h"

#include <Message.h>
#include <OS.h>
#include <Window.h>

#include "PointerProbe.h"
#include "ViewProbe.h"

namespace {

// Squared distance the pointer must exceed for a press to be a drag.
const float kDragDistanceSquared = 10.0f;

}


TPointerProbe::~TPointerProbe()
{
}


uint32 TPKNView::sPreviousButtons = 0;


TPKNView::TPKNView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags)
{
}


TPKNView::TPKNView(BMessage* archive)
	:
	BView(archive)
{
}


void
TPKNView::MouseDown(BPoint where)
{
	BWindow* window = Window();
	BMessage* message = window != NULL ? window->CurrentMessage() : NULL;
	int32 buttons = 0;
	int32 clicks = 1;
	if (message != NULL) {
		message->FindInt32("buttons", &buttons);
		message->FindInt32("clicks", &clicks);
		message->FindPoint("where", &where);
	}
	TViewProbe probe(this);
	ClassifyPress(where, (uint32)buttons, clicks, probe);
}


void
TPKNView::ClassifyPress(BPoint where, uint32 buttons, int32 clicks, TPointerProbe& probe)
{
	if (buttons != sPreviousButtons)
		clicks = 1;
	sPreviousButtons = buttons;

	if (clicks % 2 == 1) {
		if (buttons == B_PRIMARY_MOUSE_BUTTON)
			MouseDownLeft(where);
		else if (buttons == B_SECONDARY_MOUSE_BUTTON)
			MouseDownRight(where);
	}

	bool drag = false;
	for (;;) {
		BPoint point;
		uint32 held = 0;
		probe.GetMouse(&point, &held);
		const float dx = point.x - where.x;
		const float dy = point.y - where.y;
		if (dx * dx + dy * dy > kDragDistanceSquared) {
			drag = true;
			break;
		}
		if (held != buttons)
			break;
		probe.Wait();
	}

	if (!drag) {
		if (clicks == 1) {
			if (buttons == B_PRIMARY_MOUSE_BUTTON)
				MouseClickLeftSingle(where);
			else if (buttons == B_SECONDARY_MOUSE_BUTTON)
				MouseClickRightSingle(where);
		} else if (clicks == 2) {
			if (buttons == B_PRIMARY_MOUSE_BUTTON)
				MouseClickLeftDouble(where);
			else if (buttons == B_SECONDARY_MOUSE_BUTTON)
				MouseClickRightDouble(where);
		}
	} else if (clicks == 1) {
		if (buttons == B_PRIMARY_MOUSE_BUTTON)
			MouseDragLeft(where);
		else if (buttons == B_SECONDARY_MOUSE_BUTTON)
			MouseDragRight(where);
	}
}


void TPKNView::MouseClickLeftDouble(BPoint) {}
void TPKNView::MouseClickLeftSingle(BPoint) {}
void TPKNView::MouseClickRightDouble(BPoint) {}
void TPKNView::MouseClickRightSingle(BPoint) {}
void TPKNView::MouseDownLeft(BPoint) {}
void TPKNView::MouseDownRight(BPoint) {}
void TPKNView::MouseDragLeft(BPoint) {}
void TPKNView::MouseDragRight(BPoint) {}
