#ifndef _POP_UP_MENU_H
#define _POP_UP_MENU_H

#include <Menu.h>

class BMenuItem;

// A menu that opens at a point, or inside a menu field.
class BPopUpMenu : public BMenu {
public:
	BPopUpMenu(const char* name, bool radioMode = true,
		bool labelFromMarked = true, menu_layout layout = B_ITEMS_IN_COLUMN);
	virtual ~BPopUpMenu();

	// Shows the menu with its top left at `where` (screen coordinates) and
	// waits for the user's choice: returns the chosen item, NULL when the
	// menu was closed without one. With `deliversMessage` the item's
	// message is sent as well (in radio mode the item is marked first).
	// Asynchronous: returns NULL at once; the choice is delivered when
	// made, and with SetAsyncAutoDestruct(true) the menu deletes itself
	// once closed.
	BMenuItem* Go(BPoint where, bool deliversMessage = false,
		bool openAnyway = false, bool asynchronous = false);
	BMenuItem* Go(BPoint where, bool deliversMessage, bool openAnyway,
		BRect clickToOpen, bool asynchronous = false);

	void SetAsyncAutoDestruct(bool on);
	bool AsyncAutoDestruct() const;

private:
	bool fAutoDestruct;
};

#endif
