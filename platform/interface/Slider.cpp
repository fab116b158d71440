#include <Slider.h>

#include <algorithm>
#include <cmath>

#include <Bitmap.h>
#include <Message.h>
#include <Window.h>

namespace {

const float kThumbWidth = 11.0f;
// How far the thumb reaches above and below the bar.
const float kThumbOverhang = 4.0f;
const float kHashMarkLength = 5.0f;
const float kTextGap = 2.0f;

const rgb_color kDefaultBarColor = make_color(184, 184, 184);
const rgb_color kBarEdge = make_color(120, 120, 120);
const rgb_color kThumbFace = make_color(232, 232, 232);
const rgb_color kThumbEdge = make_color(96, 96, 96);
const rgb_color kTextColor = make_color(0, 0, 0);
const rgb_color kFocusColor = make_color(0, 0, 229);

}


BSlider::BSlider(BRect frame, const char* name, const char* label,
	BMessage* message, int32 minValue, int32 maxValue, thumb_style thumbType,
	uint32 resizingMode, uint32 flags)
	:
	BControl(frame, name, label, message, resizingMode, flags),
	fModificationMessage(NULL),
	fOffscreenBitmap(NULL),
	fOffscreenView(NULL),
	fMinValue(minValue),
	fMaxValue(std::max(minValue, maxValue)),
	fKeyIncrementValue(1),
	fHashMarkCount(0),
	fHashMarks(B_HASH_MARKS_NONE),
	fStyle(thumbType),
	fBarColor(kDefaultBarColor),
	fFillColor(kDefaultBarColor),
	fUseFillColor(false),
	fBarThickness(6.0f),
	fGrabOffset(0),
	fValueAtPress(0)
{
	SetValueNoUpdate(fMinValue);
}


BSlider::~BSlider()
{
	_DeleteOffscreen();
	delete fModificationMessage;
}


void
BSlider::AttachedToWindow()
{
	_MakeOffscreen();
	BControl::AttachedToWindow();
}


void
BSlider::DetachedFromWindow()
{
	_DeleteOffscreen();
	BControl::DetachedFromWindow();
}


void
BSlider::FrameResized(float width, float height)
{
	BControl::FrameResized(width, height);
	if (fOffscreenBitmap != NULL)
		_MakeOffscreen();
	Invalidate();
}


void
BSlider::Draw(BRect)
{
	DrawSlider();
}


void
BSlider::MouseDown(BPoint where)
{
	if (!IsEnabled())
		return;
	MakeFocus(true);
	fValueAtPress = Value();
	const BRect thumb = ThumbFrame();
	if (thumb.Contains(where)) {
		fGrabOffset = where.x - (thumb.left + thumb.right) / 2;
	} else {
		BRect active = BarFrame();
		active.top = std::min(active.top, thumb.top);
		active.bottom = std::max(active.bottom, thumb.bottom);
		active.InsetBy(-kThumbWidth / 2, 0);
		if (!active.Contains(where))
			return;
		fGrabOffset = 0;
	}
	SetTracking(true);
	SetMouseEventMask(B_POINTER_EVENTS, B_NO_POINTER_HISTORY | B_LOCK_WINDOW_FOCUS);
	_DragTo(where);
}


void
BSlider::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
	if (IsTracking())
		_DragTo(where);
	else
		BControl::MouseMoved(where, transit, dragMessage);
}


void
BSlider::MouseUp(BPoint where)
{
	if (!IsTracking()) {
		BControl::MouseUp(where);
		return;
	}
	_DragTo(where);
	SetTracking(false);
	if (Value() != fValueAtPress)
		Invoke();
}


void
BSlider::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes != 1 || !IsEnabled()) {
		BControl::KeyDown(bytes, numBytes);
		return;
	}
	int32 value = Value();
	switch (bytes[0]) {
		case B_LEFT_ARROW:
		case B_DOWN_ARROW:
			value -= fKeyIncrementValue;
			break;
		case B_RIGHT_ARROW:
		case B_UP_ARROW:
			value += fKeyIncrementValue;
			break;
		case B_HOME:
			value = fMinValue;
			break;
		case B_END:
			value = fMaxValue;
			break;
		default:
			BControl::KeyDown(bytes, numBytes);
			return;
	}
	value = std::clamp(value, fMinValue, fMaxValue);
	if (value != Value()) {
		SetValue(value);
		Invoke();
	}
}


void
BSlider::SetValue(int32 value)
{
	BControl::SetValue(std::clamp(value, fMinValue, fMaxValue));
}


int32
BSlider::ValueForPoint(BPoint point) const
{
	const BRect bar = BarFrame();
	if (bar.Width() <= 0 || fMaxValue == fMinValue)
		return fMinValue;
	const float position = std::clamp((point.x - bar.left) / bar.Width(), 0.0f, 1.0f);
	return fMinValue + int32(std::lround(position * (fMaxValue - fMinValue)));
}


void
BSlider::SetPosition(float position)
{
	position = std::clamp(position, 0.0f, 1.0f);
	SetValue(fMinValue + int32(std::lround(position * (fMaxValue - fMinValue))));
}


float
BSlider::Position() const
{
	if (fMaxValue == fMinValue)
		return 0;
	return float(Value() - fMinValue) / float(fMaxValue - fMinValue);
}


void
BSlider::GetLimits(int32* minimum, int32* maximum) const
{
	if (minimum != NULL)
		*minimum = fMinValue;
	if (maximum != NULL)
		*maximum = fMaxValue;
}


void
BSlider::SetLimitLabels(const char* minLabel, const char* maxLabel)
{
	fMinLimitLabel = minLabel != NULL ? minLabel : "";
	fMaxLimitLabel = maxLabel != NULL ? maxLabel : "";
	Invalidate();
}


const char*
BSlider::MinLimitLabel() const
{
	return fMinLimitLabel.empty() ? NULL : fMinLimitLabel.c_str();
}


const char*
BSlider::MaxLimitLabel() const
{
	return fMaxLimitLabel.empty() ? NULL : fMaxLimitLabel.c_str();
}


void
BSlider::SetModificationMessage(BMessage* message)
{
	delete fModificationMessage;
	fModificationMessage = message;
}


BMessage*
BSlider::ModificationMessage() const
{
	return fModificationMessage;
}


void
BSlider::SetKeyIncrementValue(int32 value)
{
	fKeyIncrementValue = std::max<int32>(value, 1);
}


int32
BSlider::KeyIncrementValue() const
{
	return fKeyIncrementValue;
}


void
BSlider::SetHashMarkCount(int32 count)
{
	fHashMarkCount = std::max<int32>(count, 0);
	Invalidate();
}


int32
BSlider::HashMarkCount() const
{
	return fHashMarkCount;
}


void
BSlider::SetHashMarks(hash_mark_location where)
{
	fHashMarks = where;
	Invalidate();
}


hash_mark_location
BSlider::HashMarks() const
{
	return fHashMarks;
}


void
BSlider::SetStyle(thumb_style style)
{
	fStyle = style;
	Invalidate();
}


thumb_style
BSlider::Style() const
{
	return fStyle;
}


void
BSlider::SetBarColor(rgb_color color)
{
	fBarColor = color;
	Invalidate();
}


rgb_color
BSlider::BarColor() const
{
	return fBarColor;
}


void
BSlider::UseFillColor(bool useFill, const rgb_color* color)
{
	fUseFillColor = useFill;
	if (color != NULL)
		fFillColor = *color;
	Invalidate();
}


bool
BSlider::FillColor(rgb_color* color) const
{
	if (color != NULL && fUseFillColor)
		*color = fFillColor;
	return fUseFillColor;
}


void
BSlider::SetBarThickness(float thickness)
{
	fBarThickness = std::max(thickness, 1.0f);
	Invalidate();
}


float
BSlider::BarThickness() const
{
	return fBarThickness;
}


void
BSlider::DrawSlider()
{
	if (fOffscreenBitmap == NULL || !fOffscreenBitmap->Lock())
		return;
	fOffscreenView->SetHighColor(ViewColor());
	fOffscreenView->FillRect(fOffscreenView->Bounds());
	DrawBar();
	DrawHashMarks();
	DrawThumb();
	DrawFocusMark();
	DrawText();
	fOffscreenView->Sync();
	fOffscreenBitmap->Unlock();
	DrawBitmap(fOffscreenBitmap, BPoint(0, 0));
}


void
BSlider::DrawBar()
{
	BView* view = OffscreenView();
	const BRect bar = BarFrame();
	view->SetHighColor(fBarColor);
	view->FillRect(bar);
	if (fUseFillColor) {
		BRect filled = bar;
		filled.right = std::floor((ThumbFrame().left + ThumbFrame().right) / 2);
		view->SetHighColor(fFillColor);
		view->FillRect(filled);
	}
	view->SetHighColor(kBarEdge);
	view->StrokeRect(bar);
}


void
BSlider::DrawHashMarks()
{
	if (fHashMarks == B_HASH_MARKS_NONE || fHashMarkCount < 2)
		return;
	BView* view = OffscreenView();
	const BRect frame = HashMarksFrame();
	const BRect bar = BarFrame();
	view->SetHighColor(kBarEdge);
	const float step = bar.Width() / (fHashMarkCount - 1);
	for (int32 i = 0; i < fHashMarkCount; i++) {
		const float x = std::round(bar.left + i * step);
		if ((fHashMarks & B_HASH_MARKS_TOP) != 0)
			view->StrokeLine(BPoint(x, frame.top), BPoint(x, frame.top + kHashMarkLength - 1));
		if ((fHashMarks & B_HASH_MARKS_BOTTOM) != 0) {
			view->StrokeLine(BPoint(x, frame.bottom - kHashMarkLength + 1),
				BPoint(x, frame.bottom));
		}
	}
}


void
BSlider::DrawThumb()
{
	BView* view = OffscreenView();
	const BRect thumb = ThumbFrame();
	if (fStyle == B_TRIANGLE_THUMB) {
		view->SetHighColor(kThumbFace);
		view->FillTriangle(BPoint(thumb.left, thumb.bottom), BPoint(thumb.right, thumb.bottom),
			BPoint((thumb.left + thumb.right) / 2, thumb.top));
		view->SetHighColor(kThumbEdge);
		view->StrokeTriangle(BPoint(thumb.left, thumb.bottom), BPoint(thumb.right, thumb.bottom),
			BPoint((thumb.left + thumb.right) / 2, thumb.top));
		return;
	}
	view->SetHighColor(kThumbFace);
	view->FillRect(thumb);
	view->SetHighColor(kThumbEdge);
	view->StrokeRect(thumb);
	const float middle = std::floor((thumb.left + thumb.right) / 2);
	view->StrokeLine(BPoint(middle, thumb.top + 3), BPoint(middle, thumb.bottom - 3));
}


void
BSlider::DrawFocusMark()
{
	if (!IsFocus() || Window() == NULL || !Window()->IsActive())
		return;
	BView* view = OffscreenView();
	const BRect thumb = ThumbFrame();
	view->SetHighColor(kFocusColor);
	view->StrokeLine(BPoint(thumb.left + 2, thumb.bottom + 1),
		BPoint(thumb.right - 2, thumb.bottom + 1));
}


void
BSlider::DrawText()
{
	BView* view = OffscreenView();
	font_height height;
	view->GetFontHeight(&height);
	const float ascent = std::ceil(height.ascent);
	const BRect bounds = view->Bounds();
	view->SetHighColor(IsEnabled() ? kTextColor : kBarEdge);
	view->SetLowColor(ViewColor());
	if (Label()[0] != '\0')
		view->DrawString(Label(), BPoint(bounds.left, bounds.top + ascent));
	if (const char* text = UpdateText()) {
		view->DrawString(text, BPoint(bounds.right - view->StringWidth(text),
			bounds.top + ascent));
	}
	const float bottom = bounds.bottom - std::ceil(height.descent);
	if (!fMinLimitLabel.empty())
		view->DrawString(fMinLimitLabel.c_str(), BPoint(bounds.left, bottom));
	if (!fMaxLimitLabel.empty()) {
		view->DrawString(fMaxLimitLabel.c_str(),
			BPoint(bounds.right - view->StringWidth(fMaxLimitLabel.c_str()), bottom));
	}
}


const char*
BSlider::UpdateText() const
{
	return NULL;
}


BRect
BSlider::BarFrame() const
{
	const BRect bounds = Bounds();
	BRect frame;
	frame.left = bounds.left + std::floor(kThumbWidth / 2);
	frame.right = bounds.right - std::floor(kThumbWidth / 2);
	frame.top = bounds.top + _TextHeight() + kThumbOverhang;
	if ((fHashMarks & B_HASH_MARKS_TOP) != 0)
		frame.top += kHashMarkLength;
	frame.bottom = frame.top + fBarThickness - 1;
	return frame;
}


BRect
BSlider::HashMarksFrame() const
{
	BRect frame = BarFrame();
	frame.top -= kThumbOverhang + kHashMarkLength;
	frame.bottom += kThumbOverhang + kHashMarkLength;
	return frame;
}


BRect
BSlider::ThumbFrame() const
{
	const BRect bar = BarFrame();
	const float centre = std::floor(bar.left + Position() * bar.Width());
	const float halfWidth = std::floor(kThumbWidth / 2);
	BRect frame(centre - halfWidth, bar.top - kThumbOverhang,
		centre + halfWidth, bar.bottom + kThumbOverhang);
	frame.top = std::max(frame.top, Bounds().top);
	frame.bottom = std::min(frame.bottom, Bounds().bottom);
	return frame;
}


BView*
BSlider::OffscreenView() const
{
	return fOffscreenView;
}


void
BSlider::GetPreferredSize(float* width, float* height)
{
	float preferredHeight = _TextHeight() + 2 * kThumbOverhang + fBarThickness;
	if ((fHashMarks & B_HASH_MARKS_TOP) != 0)
		preferredHeight += kHashMarkLength;
	if ((fHashMarks & B_HASH_MARKS_BOTTOM) != 0)
		preferredHeight += kHashMarkLength;
	if (!fMinLimitLabel.empty() || !fMaxLimitLabel.empty()) {
		font_height fontHeight;
		GetFontHeight(&fontHeight);
		preferredHeight += std::ceil(fontHeight.ascent + fontHeight.descent) + kTextGap;
	}
	if (width != NULL)
		*width = std::max(Bounds().Width(), 60.0f);
	if (height != NULL)
		*height = std::ceil(preferredHeight) - 1;
}


void
BSlider::_MakeOffscreen()
{
	_DeleteOffscreen();
	fOffscreenBitmap = new BBitmap(BRect(0, 0, Bounds().Width(), Bounds().Height()),
		B_RGBA32, true);
	fOffscreenView = new BView(fOffscreenBitmap->Bounds(), "offscreen", B_FOLLOW_NONE, 0);
	BFont font;
	GetFont(&font);
	fOffscreenView->SetFont(&font);
	fOffscreenBitmap->AddChild(fOffscreenView);
}


void
BSlider::_DeleteOffscreen()
{
	// The bitmap deletes the views it holds.
	delete fOffscreenBitmap;
	fOffscreenBitmap = NULL;
	fOffscreenView = NULL;
}


float
BSlider::_TextHeight() const
{
	if (Label()[0] == '\0' && UpdateText() == NULL)
		return 0;
	font_height height;
	GetFontHeight(&height);
	return std::ceil(height.ascent + height.descent) + kTextGap;
}


void
BSlider::_DragTo(BPoint where)
{
	const int32 value = ValueForPoint(BPoint(where.x - fGrabOffset, where.y));
	if (value == Value())
		return;
	SetValue(value);
	if (fModificationMessage != NULL)
		InvokeNotify(fModificationMessage, B_CONTROL_MODIFIED);
}
