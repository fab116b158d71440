#include <InterfaceDefs.h>

#include <cstdlib>

namespace {

const uint8 kCubeLevels[6] = {0, 51, 102, 152, 203, 255};


uint8
nearest_index(const color_map& map, uint8 red, uint8 green, uint8 blue)
{
	int best = 0;
	int bestDistance = 1 << 30;
	for (int i = 0; i < 255; i++) {
		const rgb_color& color = map.color_list[i];
		const int dr = color.red - red;
		const int dg = color.green - green;
		const int db = color.blue - blue;
		const int distance = dr * dr + dg * dg + db * db;
		if (distance < bestDistance) {
			bestDistance = distance;
			best = i;
		}
	}
	return (uint8)best;
}


// The 8-bit palette: a grey ramp, a 6 x 6 x 6 colour cube, a few more greys
// and, at B_TRANSPARENT_MAGIC_CMAP8, the transparent colour.
color_map*
make_color_map()
{
	color_map* map = new color_map;
	map->id = 0;
	int index = 0;
	for (int grey = 0; grey < 32; grey++, index++)
		map->color_list[index] = make_color(grey * 8, grey * 8, grey * 8);
	for (int r = 0; r < 6; r++) {
		for (int g = 0; g < 6; g++) {
			for (int b = 0; b < 6; b++, index++)
				map->color_list[index] = make_color(kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]);
		}
	}
	const uint8 extraGreys[] = {255, 240, 224, 216, 184, 152, 96};
	for (uint8 grey : extraGreys)
		map->color_list[index++] = make_color(grey, grey, grey);
	map->color_list[B_TRANSPARENT_MAGIC_CMAP8] = B_TRANSPARENT_32_BIT;

	for (int i = 0; i < 32768; i++) {
		const uint8 red = (uint8)(((i >> 10) & 0x1f) * 255 / 31);
		const uint8 green = (uint8)(((i >> 5) & 0x1f) * 255 / 31);
		const uint8 blue = (uint8)((i & 0x1f) * 255 / 31);
		map->index_map[i] = nearest_index(*map, red, green, blue);
	}
	for (int i = 0; i < 256; i++) {
		const rgb_color& color = map->color_list[i];
		map->inversion_map[i] = i == B_TRANSPARENT_MAGIC_CMAP8 ? (uint8)i
			: nearest_index(*map, 255 - color.red, 255 - color.green, 255 - color.blue);
	}
	return map;
}

}	// namespace


const color_map*
system_colors()
{
	static const color_map* map = make_color_map();
	return map;
}


rgb_color
ui_color(color_which which)
{
	switch (which) {
		case B_PANEL_BACKGROUND_COLOR:
		case B_MENU_BACKGROUND_COLOR:
		case B_CONTROL_BACKGROUND_COLOR:
			return make_color(216, 216, 216);
		case B_WINDOW_TAB_COLOR:
			return make_color(255, 203, 0);
		case B_KEYBOARD_NAVIGATION_COLOR:
		case B_NAVIGATION_PULSE_COLOR:
			return make_color(0, 0, 229);
		case B_DESKTOP_COLOR:
			return make_color(51, 102, 152);
		case B_MENU_SELECTED_BACKGROUND_COLOR:
			return make_color(168, 168, 168);
		case B_MENU_SELECTED_BORDER_COLOR:
		case B_CONTROL_BORDER_COLOR:
			return make_color(96, 96, 96);
		case B_CONTROL_HIGHLIGHT_COLOR:
			return make_color(102, 152, 203);
		case B_DOCUMENT_BACKGROUND_COLOR:
		case B_SHINE_COLOR:
			return make_color(255, 255, 255);
		case B_TOOLTIP_BACKGROUND_COLOR:
			return make_color(255, 255, 225);
		case B_MENU_ITEM_TEXT_COLOR:
		case B_MENU_SELECTED_ITEM_TEXT_COLOR:
		case B_PANEL_TEXT_COLOR:
		case B_DOCUMENT_TEXT_COLOR:
		case B_CONTROL_TEXT_COLOR:
		case B_SHADOW_COLOR:
		case B_TOOLTIP_TEXT_COLOR:
			return make_color(0, 0, 0);
	}
	return make_color(216, 216, 216);
}
