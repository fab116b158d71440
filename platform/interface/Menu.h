#ifndef _MENU_H
#define _MENU_H

#include <string>
#include <vector>

#include <Messenger.h>
#include <View.h>

class BHandler;
class BMenuItem;

enum menu_layout {
	B_ITEMS_IN_ROW = 0,
	B_ITEMS_IN_COLUMN,
	B_ITEMS_IN_MATRIX
};

// A list of menu items, shown by the layer as a native menu when its bar
// title, menu field or pop-up opens it. The menu owns its items. Separators
// are items and count in positions.
//
// In radio mode choosing an item marks it (and unmarks the others) before
// its message is sent; with the label taken from the marked item, the
// menu's own item (a menu field's button) shows the marked item's label.
class BMenu : public BView {
public:
	BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
	// Deletes its items (and so their submenus).
	virtual ~BMenu();

	bool AddItem(BMenuItem* item);
	bool AddItem(BMenuItem* item, int32 index);
	// Adds a new item holding `submenu`.
	bool AddItem(BMenu* submenu);
	bool AddItem(BMenu* submenu, int32 index);
	bool AddSeparatorItem();
	// Removes without deleting.
	bool RemoveItem(BMenuItem* item);
	BMenuItem* RemoveItem(int32 index);
	bool RemoveItems(int32 index, int32 count, bool deleteItems = false);
	// Removes the submenu's item, deleting the item but not the submenu.
	bool RemoveItem(BMenu* submenu);

	BMenuItem* ItemAt(int32 index) const;
	BMenu* SubmenuAt(int32 index) const;
	int32 CountItems() const;
	int32 IndexOf(const BMenuItem* item) const;
	int32 IndexOf(const BMenu* submenu) const;
	// Searched in submenus too.
	BMenuItem* FindItem(uint32 command) const;
	BMenuItem* FindItem(const char* label) const;

	virtual status_t SetTargetForItems(BHandler* target);
	virtual status_t SetTargetForItems(BMessenger messenger);
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;
	virtual void SetRadioMode(bool on);
	bool IsRadioMode() const;
	void SetLabelFromMarked(bool on);
	bool IsLabelFromMarked() const;

	BMenuItem* FindMarked() const;
	int32 FindMarkedIndex() const;

	BMenu* Supermenu() const;
	BMenuItem* Superitem() const;
	menu_layout Layout() const;

private:
	friend class BMenuItem;

	void _Changed();
	void _ItemMarked(BMenuItem* item);

	std::vector<BMenuItem*> fItems;
	BMenuItem* fSuperitem;
	menu_layout fLayout;
	bool fEnabled;
	bool fRadioMode;
	bool fLabelFromMarked;
};

#endif
