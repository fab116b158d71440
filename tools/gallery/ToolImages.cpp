#include "ToolImages.h"

#include <cstdlib>

#include <Bitmap.h>

namespace {

const int32 kSide = 17;


bool
covers(ToolImage image, int32 x, int32 y)
{
	const int32 dy = std::abs(y - 8);
	switch (image) {
		case kImagePlay:
			return x >= 4 && x <= 13 && dy <= (13 - x) / 2 + 1 && y >= 3 && y <= 13;
		case kImagePause:
			return y >= 3 && y <= 13 && ((x >= 4 && x <= 6) || (x >= 10 && x <= 12));
		case kImageStop:
			return x >= 4 && x <= 12 && y >= 4 && y <= 12;
		case kImagePrevious:
			return (x >= 3 && x <= 4 && y >= 3 && y <= 13)
				|| (x >= 5 && x <= 13 && dy <= (x - 5) / 2 + 1 && y >= 3 && y <= 13);
		case kImageNext:
			return (x >= 12 && x <= 13 && y >= 3 && y <= 13)
				|| (x >= 3 && x <= 11 && dy <= (11 - x) / 2 + 1 && y >= 3 && y <= 13);
		case kImageList:
			return x >= 3 && x <= 13 && (y == 4 || y == 8 || y == 12);
	}
	return false;
}

}


BBitmap*
make_tool_image(ToolImage image)
{
	BBitmap* bitmap = new BBitmap(BRect(0, 0, kSide - 1, kSide - 1), B_RGBA32);
	uint8* bits = static_cast<uint8*>(bitmap->Bits());
	for (int32 y = 0; y < kSide; y++) {
		for (int32 x = 0; x < kSide; x++) {
			uint8* pixel = bits + y * bitmap->BytesPerRow() + x * 4;
			const bool on = covers(image, x, y);
			// Blue, green, red, alpha: a dark green-blue glyph.
			pixel[0] = 90;
			pixel[1] = 70;
			pixel[2] = 20;
			pixel[3] = on ? 255 : 0;
		}
	}
	return bitmap;
}
