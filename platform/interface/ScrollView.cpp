#include <ScrollView.h>

#include <ScrollBar.h>

namespace {

const rgb_color kShadow = make_color(152, 152, 152);
const rgb_color kLight = make_color(255, 255, 255);

float
border_size(border_style border)
{
	return border == B_FANCY_BORDER ? 2 : border == B_PLAIN_BORDER ? 1 : 0;
}

}


BScrollView::BScrollView(const char* name, BView* target, uint32 resizingMode,
	uint32 flags, bool horizontal, bool vertical, border_style border)
	:
	BView(_Frame(target, horizontal, vertical, border), name, resizingMode,
		flags | B_WILL_DRAW | B_FRAME_EVENTS),
	fTarget(target),
	fHorizontalBar(NULL),
	fVerticalBar(NULL),
	fBorder(border)
{
	const float inset = border_size(border);
	const BRect bounds = Bounds();
	if (target != NULL) {
		target->MoveTo(inset, inset);
		AddChild(target);
	}
	if (vertical) {
		BRect frame(bounds.right - inset - B_V_SCROLL_BAR_WIDTH, inset,
			bounds.right - inset,
			bounds.bottom - inset - (horizontal ? B_H_SCROLL_BAR_HEIGHT + 1 : 0));
		fVerticalBar = new BScrollBar(frame, "_VSB_", target, 0, 0, B_VERTICAL);
		AddChild(fVerticalBar);
	}
	if (horizontal) {
		BRect frame(inset, bounds.bottom - inset - B_H_SCROLL_BAR_HEIGHT,
			bounds.right - inset - (vertical ? B_V_SCROLL_BAR_WIDTH + 1 : 0),
			bounds.bottom - inset);
		fHorizontalBar = new BScrollBar(frame, "_HSB_", target, 0, 0, B_HORIZONTAL);
		AddChild(fHorizontalBar);
	}
}


BScrollView::~BScrollView()
{
}


void
BScrollView::Draw(BRect)
{
	BRect frame = Bounds();
	const rgb_color high = HighColor();
	if (fBorder == B_PLAIN_BORDER) {
		SetHighColor(kShadow);
		StrokeRect(frame);
	} else if (fBorder == B_FANCY_BORDER) {
		SetHighColor(kShadow);
		StrokeLine(frame.LeftBottom(), frame.LeftTop());
		StrokeLine(frame.RightTop());
		SetHighColor(kLight);
		StrokeLine(frame.RightBottom());
		StrokeLine(frame.LeftBottom());
		frame.InsetBy(1, 1);
		SetHighColor(make_color(96, 96, 96));
		StrokeRect(frame);
	}
	SetHighColor(high);
}


BScrollBar*
BScrollView::ScrollBar(orientation direction) const
{
	return direction == B_VERTICAL ? fVerticalBar : fHorizontalBar;
}


BView*
BScrollView::Target() const
{
	return fTarget;
}


void
BScrollView::SetBorder(border_style border)
{
	fBorder = border;
	Invalidate();
}


border_style
BScrollView::Border() const
{
	return fBorder;
}


BRect
BScrollView::_Frame(BView* target, bool horizontal, bool vertical,
	border_style border)
{
	BRect frame = target != NULL ? target->Frame() : BRect(0, 0, 16, 16);
	const float inset = border_size(border);
	frame.InsetBy(-inset, -inset);
	if (vertical)
		frame.right += B_V_SCROLL_BAR_WIDTH + 1;
	if (horizontal)
		frame.bottom += B_H_SCROLL_BAR_HEIGHT + 1;
	return frame;
}
