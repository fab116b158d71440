#ifndef _SCREEN_H
#define _SCREEN_H

#include <GraphicsDefs.h>
#include <Rect.h>

class BWindow;

// A screen of the desktop. Its frame is an inclusive rectangle in screen
// coordinates, and only the part windows may use: the desktop's panels and
// docks are left out, so that a window placed inside it opens under none of
// them. With several monitors the main screen is the one the pointer is on
// (the primary one when the pointer is on none), so that windows open where
// the user works; the others follow in the desktop's order.
class BScreen {
public:
	BScreen(screen_id id = B_MAIN_SCREEN_ID);
	// The screen that shows the window (the main screen when unknown).
	BScreen(BWindow* window);
	~BScreen();

	bool IsValid();
	status_t SetToNext();

	color_space ColorSpace();
	BRect Frame();
	screen_id ID();
	rgb_color DesktopColor();

	const color_map* ColorMap();
	uint8 IndexForColor(rgb_color color);
	uint8 IndexForColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255);
	rgb_color ColorForIndex(uint8 index);
	uint8 InvertIndex(uint8 index);

private:
	int32 fIndex;
};

#endif
