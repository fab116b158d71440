#include <MenuItem.h>

#include <Menu.h>
#include <Message.h>
#include <OS.h>
#include <Window.h>

BMenuItem::BMenuItem(const char* label, BMessage* message, char shortcut,
	uint32 modifiers)
	:
	BInvoker(message, NULL),
	fLabel(label != NULL ? label : ""),
	fSubmenu(NULL),
	fMenu(NULL),
	fShortcut(shortcut),
	fModifiers(modifiers),
	fEnabled(true),
	fMarked(false)
{
}


BMenuItem::BMenuItem(BMenu* menu, BMessage* message)
	:
	BInvoker(message, NULL),
	fLabel(menu != NULL && menu->Name() != NULL ? menu->Name() : ""),
	fSubmenu(menu),
	fMenu(NULL),
	fShortcut(0),
	fModifiers(0),
	fEnabled(true),
	fMarked(false)
{
	if (menu != NULL)
		menu->fSuperitem = this;
}


BMenuItem::~BMenuItem()
{
	if (fMenu != NULL)
		fMenu->RemoveItem(this);
	delete fSubmenu;
}


void
BMenuItem::SetLabel(const char* label)
{
	fLabel = label != NULL ? label : "";
	_Changed();
}


const char*
BMenuItem::Label() const
{
	return fLabel.c_str();
}


void
BMenuItem::SetEnabled(bool enabled)
{
	fEnabled = enabled;
	_Changed();
}


bool
BMenuItem::IsEnabled() const
{
	if (!fEnabled || (fMenu != NULL && !fMenu->IsEnabled()))
		return false;
	return fSubmenu == NULL || fSubmenu->IsEnabled();
}


void
BMenuItem::SetMarked(bool marked)
{
	fMarked = marked;
	if (marked && fMenu != NULL)
		fMenu->_ItemMarked(this);
	_Changed();
}


bool
BMenuItem::IsMarked() const
{
	return fMarked;
}


void
BMenuItem::SetShortcut(char shortcut, uint32 modifiers)
{
	fShortcut = shortcut;
	fModifiers = modifiers;
	_Changed();
}


char
BMenuItem::Shortcut(uint32* modifiers) const
{
	if (modifiers != NULL)
		*modifiers = fModifiers;
	return fShortcut;
}


void
BMenuItem::SetToolTip(const char* text)
{
	fToolTip = text != NULL ? text : "";
	_Changed();
}


const char*
BMenuItem::ToolTip() const
{
	return fToolTip.c_str();
}


BMenu*
BMenuItem::Submenu() const
{
	return fSubmenu;
}


BMenu*
BMenuItem::Menu() const
{
	return fMenu;
}


status_t
BMenuItem::Invoke(BMessage* message)
{
	BMessage* model = message != NULL ? message : Message();
	if (model == NULL)
		return B_BAD_VALUE;
	BMessage copy(*model);
	copy.AddInt64("when", system_time());
	copy.AddPointer("source", this);
	if (fMenu != NULL)
		copy.AddInt32("index", fMenu->IndexOf(this));
	if (Messenger().IsValid())
		return BInvoker::Invoke(&copy);
	// Without a target the item reports to the window its menu is in.
	const BMenu* top = fMenu;
	while (top != NULL && top->Supermenu() != NULL)
		top = top->Supermenu();
	BWindow* window = top != NULL ? top->Window() : NULL;
	if (window == NULL)
		return B_BAD_VALUE;
	return window->PostMessage(&copy);
}


void
BMenuItem::_Changed()
{
	if (fMenu != NULL)
		fMenu->_Changed();
}
