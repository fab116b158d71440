#ifndef _MENU_ITEM_H
#define _MENU_ITEM_H

#include <string>

#include <Archivable.h>
#include <Invoker.h>
#include <Rect.h>

class BMenu;

// One entry of a menu: a label with a message, or a submenu. A submenu's
// own item may carry a message and a shortcut too; its shortcut sends that
// message.
//
// The shortcut is the Command key with `key` (plus the given modifiers).
// On a PC keyboard Command is Ctrl, Control is Alt and Option is the Super
// key, so Command shortcuts and Control-letter dialog accelerators never
// collide; menus show the shortcut as "Ctrl+O".
//
// Labels are shown literally: '&' is no mnemonic marker. Marking, enabling
// and relabelling from code send nothing; the item's message goes out when
// the user chooses it or on Invoke(), with "when", "source" and "index".
// An item without a target sends to its menu's window.
class BMenuItem : public BArchivable, public BInvoker {
public:
	BMenuItem(const char* label, BMessage* message, char shortcut = 0,
		uint32 modifiers = 0);
	// Takes ownership of `menu`; the item's label is the menu's name.
	BMenuItem(BMenu* menu, BMessage* message = NULL);
	// Deletes the submenu.
	virtual ~BMenuItem();

	virtual void SetLabel(const char* label);
	const char* Label() const;
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;
	virtual void SetMarked(bool marked);
	bool IsMarked() const;
	virtual void SetShortcut(char shortcut, uint32 modifiers);
	char Shortcut(uint32* modifiers = NULL) const;
	// Shown while the pointer rests on the item; empty for none.
	void SetToolTip(const char* text);
	const char* ToolTip() const;

	BMenu* Submenu() const;
	// The menu the item is in.
	BMenu* Menu() const;

	virtual status_t Invoke(BMessage* message = NULL);

private:
	friend class BMenu;

	void _Changed();

	std::string fLabel;
	std::string fToolTip;
	BMenu* fSubmenu;
	BMenu* fMenu;
	char fShortcut;
	uint32 fModifiers;
	bool fEnabled;
	bool fMarked;
};

#endif
