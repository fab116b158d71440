#ifndef _SCREEN_H
#define _SCREEN_H

#include <GraphicsDefs.h>
#include <Rect.h>

class BWindow;

// A screen of the desktop. Its frame is an inclusive rectangle in screen
// coordinates; with several monitors the main screen is the primary one.
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
