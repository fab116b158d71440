#ifndef TOOL_COLORS_H
#define TOOL_COLORS_H

#include <GraphicsDefs.h>
#include <Rect.h>

class BView;

// The colours of the tool bar's bevels and button backgrounds.
const rgb_color kBevelLight = {255, 255, 255, 255};
const rgb_color kBevelShadow = {128, 128, 128, 255};
const rgb_color kButtonOnColor = {192, 192, 192, 255};
const rgb_color kButtonHoverColor = {240, 240, 240, 255};

// A bevel around `frame`: light on the left and top edges, shadow on the
// right and bottom (raised), or the other way round (sunken).
void stroke_raised_frame(BView* view, BRect frame);
void stroke_sunken_frame(BView* view, BRect frame);

#endif
