#include "GalleryItem.h"

#include <View.h>

namespace {

const float kRowHeight = 15.0f;
const rgb_color kRowColor = {255, 255, 255, 255};
const rgb_color kSelectedColor = {200, 220, 255, 255};
const rgb_color kTextColor = {0, 0, 120, 255};
const rgb_color kCurrentColor = {200, 0, 0, 255};

}


GalleryItem::GalleryItem(const char* text, rgb_color mark, bool current)
	:
	fText(text),
	fMark(mark),
	fCurrent(current)
{
}


void
GalleryItem::DrawItem(BView* owner, BRect frame, bool /*complete*/)
{
	owner->SetLowColor(IsSelected() ? kSelectedColor : kRowColor);
	owner->FillRect(frame, B_SOLID_LOW);
	owner->SetHighColor(fMark);
	owner->FillRoundRect(BRect(frame.left + 2, frame.top + 3, frame.left + 10,
		frame.top + 11), 2, 2);
	font_height height;
	owner->GetFontHeight(&height);
	owner->SetHighColor(fCurrent ? kCurrentColor : kTextColor);
	owner->DrawString(fText.c_str(), BPoint(frame.left + 15, frame.top + height.ascent + 1));
}


void
GalleryItem::Update(BView* /*owner*/, const BFont* /*font*/)
{
	SetHeight(kRowHeight);
}
