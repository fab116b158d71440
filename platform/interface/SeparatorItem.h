#ifndef _SEPARATOR_ITEM_H
#define _SEPARATOR_ITEM_H

#include <MenuItem.h>

// A line between groups of items. It counts as an item in its menu's
// positions, is never enabled and sends nothing.
class BSeparatorItem : public BMenuItem {
public:
	BSeparatorItem();
	virtual ~BSeparatorItem();

	virtual void SetEnabled(bool enabled);
};

#endif
