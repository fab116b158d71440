#ifndef _GRAPHICS_DEFS_H
#define _GRAPHICS_DEFS_H

#include <SupportDefs.h>

struct rgb_color {
	uint8 red;
	uint8 green;
	uint8 blue;
	uint8 alpha;

	constexpr bool operator==(const rgb_color& other) const
	{
		return red == other.red && green == other.green && blue == other.blue
			&& alpha == other.alpha;
	}
	constexpr bool operator!=(const rgb_color& other) const { return !(*this == other); }
};

constexpr rgb_color make_color(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255)
{
	return rgb_color{red, green, blue, alpha};
}

#endif
