#include "ToolButton.h"

#include <cstring>

#include <Bitmap.h>
#include <Window.h>

#include "SeparatorButton.h"
#include "ToolBar.h"
#include "ToolColors.h"
#include "ToolTip.h"

namespace {

const float kImageMargin = 3.0f;

enum {
	kLookNormal = 0,
	kLookOn = 1,
	kLookDisabled = 2,
	kLookDisabledOn = 3,
	kLookHover = 4
};


bool
is_32_bit(color_space space)
{
	return space == B_RGBA32 || space == B_RGB32;
}


// Copies `source`, writing `color` over the pixels `replace` picks by
// their alpha.
template<typename Predicate>
status_t
convert_copy(const BBitmap* source, BBitmap** copy, rgb_color color, Predicate replace)
{
	if (source == NULL || copy == NULL || !is_32_bit(source->ColorSpace()))
		return B_BAD_VALUE;
	BBitmap* result = new BBitmap(source->Bounds(), source->ColorSpace());
	if (result->InitCheck() != B_OK || result->BytesPerRow() != source->BytesPerRow()) {
		delete result;
		return B_NO_MEMORY;
	}
	// Pixels are blue, green, red, alpha in memory.
	const uint8 pixel[4] = {color.blue, color.green, color.red, color.alpha};
	const uint8* from = static_cast<const uint8*>(source->Bits());
	uint8* to = static_cast<uint8*>(result->Bits());
	const int32 length = source->BitsLength();
	for (int32 offset = 0; offset + 4 <= length; offset += 4) {
		if (replace(from[offset + 3]))
			memcpy(to + offset, pixel, 4);
		else
			memcpy(to + offset, from + offset, 4);
	}
	*copy = result;
	return B_OK;
}

}


TToolButton::TToolButton(BRect frame, const char* name, BBitmap* normalImage,
	BBitmap* onImage, BMessage* message, uint32 behavior)
	:
	BControl(frame, name, "", message, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW),
	fPressed(false),
	fHover(false),
	fRadioMode(false),
	fBehavior(behavior),
	fBar(NULL),
	fToolTip(new TToolTip(NULL))
{
	for (BBitmap*& image : fImages)
		image = NULL;
	fImages[kImageNormal] = normalImage;
	fImages[kImageOn] = onImage;
	SetDrawingMode(B_OP_ALPHA);
	_AdjustSize();
}


TToolButton::~TToolButton()
{
	for (BBitmap* image : fImages)
		delete image;
	delete fToolTip;
}


void
TToolButton::AttachedToWindow()
{
	BControl::AttachedToWindow();
	SetDefaultImages();
	fToolTip->SetTarget(this);
}


void
TToolButton::DetachedFromWindow()
{
	fToolTip->ReleaseTarget();
	BControl::DetachedFromWindow();
}


int32
TToolButton::Look() const
{
	const bool enabled = IsEnabled() && (fBar == NULL || fBar->IsEnabled());
	const int32 base = !enabled ? kLookDisabled : fHover ? kLookHover : kLookNormal;
	const int32 on = (Value() != 0 || (fPressed && fHover)) ? 1 : 0;
	const int32 look = base + on;
	return look == kLookHover + 1 ? kLookOn : look;
}


void
TToolButton::Draw(BRect /*updateRect*/)
{
	const int32 look = Look();
	const BRect bounds = Bounds();
	switch (look) {
		case kLookOn:
		case kLookDisabledOn:
			SetHighColor(kButtonOnColor);
			break;
		case kLookHover:
			SetHighColor(kButtonHoverColor);
			break;
		default:
			SetHighColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	}
	FillRect(bounds);

	const bool sunken = look == kLookOn || look == kLookDisabledOn;
	const bool flat = fBar != NULL && fBar->IsFlat();
	if (sunken)
		stroke_sunken_frame(this, bounds);
	else if (look == kLookHover || !flat)
		stroke_raised_frame(this, bounds);

	if (const BBitmap* image = fImages[look]) {
		const float offset = sunken ? kImageMargin + 1 : kImageMargin;
		DrawBitmap(image, BPoint(offset, offset));
	}
}


void
TToolButton::MouseDown(BPoint /*where*/)
{
	if (IsHidden())
		return;
	SetEventMask(B_POINTER_EVENTS, B_NO_POINTER_HISTORY);
	fPressed = true;
	Invalidate();
}


void
TToolButton::MouseUp(BPoint where)
{
	if (IsHidden())
		return;
	SetEventMask(0);
	if (!fPressed)
		return;
	fPressed = false;
	Invalidate();
	if (!Bounds().Contains(where))
		return;
	if (fBehavior == kBehaviorToggle) {
		if (fRadioMode && Value() == 1)
			return;
		fToolTip->Hide();
		SetValue(Value() == 0 ? 1 : 0);
		Invoke();
	} else {
		fToolTip->Hide();
		Invoke();
	}
}


void
TToolButton::MouseMoved(BPoint /*where*/, uint32 transit, const BMessage* /*dragMessage*/)
{
	if (IsHidden())
		return;
	if (transit == B_ENTERED_VIEW) {
		if (Window() != NULL && Window()->IsActive()) {
			fHover = true;
			Invalidate();
		}
	} else if (transit == B_EXITED_VIEW) {
		fHover = false;
		Invalidate();
	}
}


void
TToolButton::WindowActivated(bool active)
{
	bool hover = false;
	if (active) {
		BPoint where;
		uint32 buttons;
		GetMouse(&where, &buttons, false);
		hover = Bounds().Contains(where);
	}
	if (hover != fHover) {
		fHover = hover;
		Invalidate();
	}
}


void
TToolButton::SetValue(int32 value)
{
	if (value == Value())
		return;
	BControl::SetValue(value != 0 ? 1 : 0);
	if (Value() == 1 && fRadioMode) {
		for (TToolButton* brother : GetBrothers())
			brother->SetValue(0);
	}
	Invalidate();
}


void
TToolButton::SetBehavior(uint32 behavior)
{
	if (behavior == fBehavior)
		return;
	fBehavior = behavior;
	if (fBehavior == kBehaviorPush)
		SetValue(0);
}


void
TToolButton::SetRadioMode(bool on)
{
	if (on == fRadioMode || (on && fBehavior == kBehaviorPush))
		return;
	fRadioMode = on;
	if (on)
		SetValue(0);
	for (TToolButton* brother : GetBrothers())
		brother->SetRadioMode(on);
}


status_t
TToolButton::SetImage(int32 index, BBitmap* bitmap)
{
	if (index < 0 || index >= kImageCount)
		return -1;
	if (fImages[index] != bitmap)
		delete fImages[index];
	fImages[index] = bitmap;
	if (index == kImageNormal)
		_AdjustSize();
	Invalidate();
	return B_OK;
}


BBitmap*
TToolButton::Image(int32 index) const
{
	return index >= 0 && index < kImageCount ? fImages[index] : NULL;
}


status_t
TToolButton::ClearImages()
{
	for (int32 i = kImageOn; i < kImageCount; i++) {
		delete fImages[i];
		fImages[i] = NULL;
	}
	return B_OK;
}


status_t
TToolButton::SetDefaultImages()
{
	const BBitmap* normal = fImages[kImageNormal];
	if (normal == NULL)
		return -1;
	bool made = false;
	const auto derive = [&](int32 slot, const BBitmap* from, rgb_color color, bool filled) {
		if (fImages[slot] != NULL || from == NULL)
			return;
		const status_t status = filled ? ConvertFilledCopy(from, &fImages[slot], color)
			: ConvertTransparentCopy(from, &fImages[slot], color);
		made = made || status == B_OK;
	};
	derive(kImageDisabled, normal, kBevelShadow, true);
	derive(kImageHover, normal, kButtonHoverColor, false);
	derive(kImageOn, normal, kButtonOnColor, false);
	derive(kImageDisabledOn, fImages[kImageDisabled], kButtonOnColor, false);
	return made ? B_OK : -1;
}


void
TToolButton::SetTip(const char* text)
{
	fToolTip->SetTip(text);
}


const char*
TToolButton::Tip() const
{
	return fToolTip->Tip();
}


std::vector<TToolButton*>
TToolButton::GetBrothers() const
{
	std::vector<TToolButton*> brothers;
	if (fBar == NULL)
		return brothers;
	const int32 index = fBar->IndexOf(this);
	if (index < 0)
		return brothers;
	for (int32 i = index - 1; i >= 0; i--) {
		TToolButton* item = fBar->ItemAt(i);
		if (dynamic_cast<TSeparatorButton*>(item) != NULL)
			break;
		brothers.push_back(item);
	}
	for (int32 i = index + 1; i < fBar->CountItems(); i++) {
		TToolButton* item = fBar->ItemAt(i);
		if (dynamic_cast<TSeparatorButton*>(item) != NULL)
			break;
		brothers.push_back(item);
	}
	return brothers;
}


status_t
TToolButton::ConvertTransparentCopy(const BBitmap* source, BBitmap** copy, rgb_color color)
{
	return convert_copy(source, copy, color, [](uint8 alpha) { return alpha == 0; });
}


status_t
TToolButton::ConvertFilledCopy(const BBitmap* source, BBitmap** copy, rgb_color color)
{
	return convert_copy(source, copy, color, [](uint8 alpha) { return alpha != 0; });
}


void
TToolButton::_AdjustSize()
{
	const BBitmap* image = fImages[kImageNormal];
	if (image == NULL)
		return;
	const BRect bounds = image->Bounds();
	ResizeTo(bounds.Width() + 2 * kImageMargin, bounds.Height() + 2 * kImageMargin);
}
