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

// A view whose view colour is this one is not erased before it draws.
inline constexpr rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};
inline constexpr rgb_color B_TRANSPARENT_32_BIT = {0x77, 0x74, 0x77, 0x00};
// The index of a B_CMAP8 pixel that is not drawn.
inline constexpr uint8 B_TRANSPARENT_MAGIC_CMAP8 = 0xff;
inline constexpr uint8 B_TRANSPARENT_8_BIT = 0xff;

// An 8 x 8 two-colour pattern: a set bit draws the high colour, a clear one
// the low colour.
struct pattern {
	uint8 data[8];
};

inline constexpr pattern B_SOLID_HIGH = {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
inline constexpr pattern B_MIXED_COLORS = {{0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55}};
inline constexpr pattern B_SOLID_LOW = {{0, 0, 0, 0, 0, 0, 0, 0}};

constexpr bool operator==(const pattern& a, const pattern& b)
{
	for (int i = 0; i < 8; i++) {
		if (a.data[i] != b.data[i])
			return false;
	}
	return true;
}

enum drawing_mode {
	B_OP_COPY,
	B_OP_OVER,
	B_OP_ERASE,
	B_OP_INVERT,
	B_OP_ADD,
	B_OP_SUBTRACT,
	B_OP_BLEND,
	B_OP_MIN,
	B_OP_MAX,
	B_OP_SELECT,
	B_OP_ALPHA
};

enum source_alpha {
	B_PIXEL_ALPHA = 0,
	B_CONSTANT_ALPHA
};

enum alpha_function {
	B_ALPHA_OVERLAY = 0,
	B_ALPHA_COMPOSITE
};

// Pixel layouts. 32-bit layouts hold blue, green, red, alpha in that byte
// order; B_CMAP8 bytes index the system palette (system_colors()).
enum color_space {
	B_NO_COLOR_SPACE = 0x0000,
	B_RGB32 = 0x0008,
	B_RGBA32 = 0x2008,
	B_RGB24 = 0x0003,
	B_RGB16 = 0x0005,
	B_RGB15 = 0x0010,
	B_RGBA15 = 0x2010,
	B_CMAP8 = 0x0004,
	B_GRAY8 = 0x0002,
	B_GRAY1 = 0x0001
};

struct color_map {
	int32 id;
	rgb_color color_list[256];
	uint8 inversion_map[256];
	uint8 index_map[32768];
};

struct screen_id {
	int32 id;
};

inline constexpr screen_id B_MAIN_SCREEN_ID = {0};

#endif
