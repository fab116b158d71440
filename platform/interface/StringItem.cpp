#include <StringItem.h>

#include <cmath>

#include <Font.h>
#include <View.h>

namespace {

// Room between the row's left edge and the text.
const float kTextInset = 3.0f;

const rgb_color kSelectedBackground = make_color(184, 198, 224);

}


BStringItem::BStringItem(const char* text, uint32 outlineLevel, bool expanded)
	:
	BListItem(outlineLevel, expanded),
	fText(text != NULL ? text : ""),
	fBaselineOffset(0)
{
}


BStringItem::~BStringItem()
{
}


void
BStringItem::DrawItem(BView* owner, BRect frame, bool complete)
{
	const rgb_color highColor = owner->HighColor();
	const rgb_color lowColor = owner->LowColor();
	if (IsSelected() || complete) {
		owner->SetHighColor(IsSelected() ? kSelectedBackground : lowColor);
		owner->FillRect(frame);
		owner->SetHighColor(highColor);
	}
	const float baseline = fBaselineOffset > 0 ? fBaselineOffset
		: frame.Height() - 2;
	owner->DrawString(fText.c_str(),
		BPoint(frame.left + kTextInset, frame.top + baseline));
}


void
BStringItem::SetText(const char* text)
{
	fText = text != NULL ? text : "";
}


const char*
BStringItem::Text() const
{
	return fText.c_str();
}


void
BStringItem::Update(BView* owner, const BFont* font)
{
	BListItem::Update(owner, font);
	font_height height;
	font->GetHeight(&height);
	fBaselineOffset = std::ceil(height.ascent + height.leading / 2);
	SetWidth(font->StringWidth(fText.c_str()) + kTextInset * 2);
}


float
BStringItem::BaselineOffset() const
{
	return fBaselineOffset;
}
