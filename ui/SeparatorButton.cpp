#include "SeparatorButton.h"

#include "ToolColors.h"

namespace {

const float kSeparatorWidth = 8.0f;
const float kGrooveX = 4.0f;

}


TSeparatorButton::TSeparatorButton(float height)
	:
	TToolButton(BRect(0, 0, 1, 1), "", NULL, NULL, NULL, kBehaviorPush)
{
	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	ResizeTo(kSeparatorWidth, height);
}


void
TSeparatorButton::AttachedToWindow()
{
}


void
TSeparatorButton::Draw(BRect /*updateRect*/)
{
	const BRect bounds = Bounds();
	SetHighColor(kBevelShadow);
	StrokeLine(BPoint(kGrooveX, bounds.top), BPoint(kGrooveX, bounds.bottom));
	SetHighColor(kBevelLight);
	StrokeLine(BPoint(kGrooveX + 1, bounds.top), BPoint(kGrooveX + 1, bounds.bottom));
}
