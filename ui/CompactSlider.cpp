#include "CompactSlider.h"

#include <Message.h>
#include <Window.h>

namespace {

const float kBarHeight = 6.0f;

// Outermost band first; drawn in copy mode, where alpha means nothing.
const rgb_color kBarColors[] = {
	{180, 230, 0, 0},
	{210, 255, 0, 0},
	{255, 255, 120, 0},
	{255, 255, 204, 0}
};
const rgb_color kThumbShadow = {80, 80, 80, 255};
const rgb_color kThumbEdge = {155, 155, 155, 255};
const rgb_color kThumbFace = {216, 216, 216, 255};
const float kThumbRadius = 2.0f;

}


TCompactSlider::TCompactSlider(BRect frame, const char* name, const char* label,
	BMessage* message, int32 minValue, int32 maxValue)
	:
	BSlider(frame, name, label, message, minValue, maxValue, B_BLOCK_THUMB,
		B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE),
	fHasDefault(false),
	fDefaultValue(0)
{
}


// The buttons are those of the press itself: by the time the handler runs,
// the pointer may already have been released.
void
TCompactSlider::MouseDown(BPoint where)
{
	int32 buttons = 0;
	BMessage* message = Window() != NULL ? Window()->CurrentMessage() : NULL;
	if (message == NULL || message->FindInt32("buttons", &buttons) != B_OK) {
		BPoint point;
		uint32 held = 0;
		GetMouse(&point, &held, false);
		buttons = (int32)held;
	}
	if ((uint32)buttons == B_SECONDARY_MOUSE_BUTTON)
		MouseDownRight(where);
	else
		BSlider::MouseDown(where);
}


void
TCompactSlider::MouseDownRight(BPoint /*where*/)
{
	if (!fHasDefault)
		return;
	SetValue(fDefaultValue);
	Invoke();
}


void
TCompactSlider::GetPreferredSize(float* width, float* height)
{
	const BRect bounds = Bounds();
	if (width != NULL)
		*width = bounds.Width();
	if (height != NULL)
		*height = bounds.Height();
}


void
TCompactSlider::DrawBar()
{
	BView* view = OffscreenView();
	if (view == NULL)
		return;
	BRect band = BarFrame();
	for (const rgb_color& color : kBarColors) {
		view->SetHighColor(color);
		view->FillRect(band);
		band.top += 1;
		band.bottom -= 1;
	}
}


void
TCompactSlider::DrawThumb()
{
	BView* view = OffscreenView();
	if (view == NULL)
		return;
	BRect thumb = ThumbFrame();
	thumb.left += 1;
	thumb.top += 1;
	view->SetHighColor(kThumbShadow);
	view->FillRoundRect(thumb, kThumbRadius, kThumbRadius);
	thumb.right -= 1;
	thumb.bottom -= 1;
	view->SetHighColor(kThumbEdge);
	view->FillRoundRect(thumb, kThumbRadius, kThumbRadius);
	thumb.InsetBy(1, 1);
	view->SetHighColor(kThumbFace);
	view->FillRoundRect(thumb, kThumbRadius, kThumbRadius);
}


void
TCompactSlider::DrawText()
{
}


BRect
TCompactSlider::BarFrame() const
{
	BRect frame = BSlider::BarFrame();
	frame.top = (Bounds().bottom - kBarHeight) * 0.5f;
	frame.bottom = frame.top + kBarHeight;
	return frame;
}


void
TCompactSlider::SetDefaultValue(int32 value)
{
	fDefaultValue = value;
	fHasDefault = true;
}
