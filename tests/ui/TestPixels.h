#ifndef TEST_PIXELS_H
#define TEST_PIXELS_H

#include <array>
#include <ostream>

#include <GraphicsDefs.h>

class BBitmap;
class BView;

// One pixel as it lies in a 32-bit bitmap: blue, green, red, alpha.
typedef std::array<uint8, 4> Pixel;

Pixel pixel_at(const BBitmap* bitmap, int32 x, int32 y);
// A pixel of the view as it is drawn now (through a screen shot).
Pixel grab_pixel(BView* view, int32 x, int32 y);
// The view as drawn now; the caller owns the bitmap.
BBitmap* grab_view(BView* view);

#endif
