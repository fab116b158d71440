#include "ToolColors.h"

#include <View.h>

namespace {

void
stroke_bevel(BView* view, BRect frame, rgb_color topLeft, rgb_color bottomRight)
{
	view->SetHighColor(topLeft);
	view->StrokeLine(frame.LeftBottom(), frame.LeftTop());
	view->StrokeLine(frame.LeftTop(), frame.RightTop());
	view->SetHighColor(bottomRight);
	view->StrokeLine(frame.RightTop(), frame.RightBottom());
	view->StrokeLine(frame.RightBottom(), frame.LeftBottom());
}

}


void
stroke_raised_frame(BView* view, BRect frame)
{
	stroke_bevel(view, frame, kBevelLight, kBevelShadow);
}


void
stroke_sunken_frame(BView* view, BRect frame)
{
	stroke_bevel(view, frame, kBevelShadow, kBevelLight);
}
