#include <SeparatorItem.h>

BSeparatorItem::BSeparatorItem()
	:
	BMenuItem("", NULL)
{
	BMenuItem::SetEnabled(false);
}


BSeparatorItem::~BSeparatorItem()
{
}


void
BSeparatorItem::SetEnabled(bool)
{
}
