#ifndef _MENU_QT_H
#define _MENU_QT_H

// How menus become Qt menus. Only sources of platform/interface include it.

#include <functional>

#include <QString>

#include <MenuPrivate.h>

class BMenu;
class BMenuBar;
class BMenuItem;
class QMenu;

namespace BPrivate {

// Replaces the actions of `target` with one per item of `source` (a Qt
// submenu per submenu, filled the same way each time it opens). Choosing an
// action calls `choose` with its item.
void fill_qmenu(QMenu* target, BMenu* source,
	const std::function<void(BMenuItem*)>& choose = choose_menu_item);

// The item's label as Qt shows it: literal, with the shortcut after a tab.
QString menu_item_text(const BMenuItem* item);

// The items of a menu bar (or of one of its menus) changed: the bar's
// titles follow.
void menu_bar_changed(BMenuBar* bar);

}

#endif
