#ifndef _MENU_PRIVATE_H
#define _MENU_PRIVATE_H

#include <SupportDefs.h>

class BMenu;
class BMenuItem;

namespace BPrivate {

// What the window needs of a menu bar: the enabled item of `menu` or one of
// its enabled submenus (submenus' own items included) whose shortcut is
// `key` (compared without case; digits as digits) with exactly the
// Shift/Control/Option keys of its modifiers. `modifiers` is the key
// message's; it must hold B_COMMAND_KEY.
BMenuItem* find_menu_shortcut(const BMenu* menu, uint32 key, uint32 modifiers);

// Acts as the user choosing the item: in a radio-mode menu the item is
// marked first, then its message is sent.
void choose_menu_item(BMenuItem* item);

}

#endif
