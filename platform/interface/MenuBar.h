#ifndef _MENU_BAR_H
#define _MENU_BAR_H

#include <Menu.h>

// The row of menu titles at the top of a window, shown as a native menu
// bar. With `resizeToFit` its height is the native bar's from construction
// on, so a window can place its other views below it at once.
class BMenuBar : public BMenu {
public:
	BMenuBar(BRect frame, const char* name,
		uint32 resizingMode = B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP,
		menu_layout layout = B_ITEMS_IN_ROW, bool resizeToFit = true);
	virtual ~BMenuBar();

	// Becomes the window's key menu bar (whose shortcuts the window tries
	// first) unless the window has one.
	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
};

#endif
