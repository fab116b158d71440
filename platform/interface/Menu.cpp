#include <Menu.h>

#include <algorithm>
#include <cctype>
#include <map>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>

#include <InterfaceDefs.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <MenuPrivate.h>
#include <MenuQt.h>
#include <Message.h>
#include <SeparatorItem.h>
#include <ViewQt.h>
#include <Window.h>

#include "InputQt.h"

BMenu::BMenu(const char* name, menu_layout layout)
	:
	BView(BRect(0, 0, 0, 0), name, B_FOLLOW_NONE, 0),
	fSuperitem(NULL),
	fLayout(layout),
	fEnabled(true),
	fRadioMode(false),
	fLabelFromMarked(false)
{
}


BMenu::~BMenu()
{
	std::vector<BMenuItem*> items;
	items.swap(fItems);
	for (BMenuItem* item : items) {
		item->fMenu = NULL;
		delete item;
	}
}


bool
BMenu::AddItem(BMenuItem* item)
{
	return AddItem(item, CountItems());
}


bool
BMenu::AddItem(BMenuItem* item, int32 index)
{
	if (item == NULL || item->fMenu != NULL || index < 0 || index > CountItems())
		return false;
	fItems.insert(fItems.begin() + index, item);
	item->fMenu = this;
	if (item->IsMarked())
		_ItemMarked(item);
	_Changed();
	return true;
}


bool
BMenu::AddItem(BMenu* submenu)
{
	return AddItem(submenu, CountItems());
}


bool
BMenu::AddItem(BMenu* submenu, int32 index)
{
	if (submenu == NULL || submenu->fSuperitem != NULL)
		return false;
	BMenuItem* item = new BMenuItem(submenu);
	if (AddItem(item, index))
		return true;
	item->fSubmenu = NULL;
	submenu->fSuperitem = NULL;
	delete item;
	return false;
}


bool
BMenu::AddSeparatorItem()
{
	return AddItem(new BSeparatorItem);
}


bool
BMenu::RemoveItem(BMenuItem* item)
{
	return RemoveItem(IndexOf(item)) != NULL;
}


BMenuItem*
BMenu::RemoveItem(int32 index)
{
	if (index < 0 || index >= CountItems())
		return NULL;
	BMenuItem* item = fItems[index];
	fItems.erase(fItems.begin() + index);
	item->fMenu = NULL;
	_Changed();
	return item;
}


bool
BMenu::RemoveItems(int32 index, int32 count, bool deleteItems)
{
	if (index < 0 || count < 0 || index + count > CountItems())
		return false;
	for (int32 i = 0; i < count; i++) {
		BMenuItem* item = RemoveItem(index);
		if (deleteItems)
			delete item;
	}
	return true;
}


bool
BMenu::RemoveItem(BMenu* submenu)
{
	BMenuItem* item = RemoveItem(IndexOf(submenu));
	if (item == NULL)
		return false;
	item->fSubmenu = NULL;
	submenu->fSuperitem = NULL;
	delete item;
	return true;
}


BMenuItem*
BMenu::ItemAt(int32 index) const
{
	return index >= 0 && index < CountItems() ? fItems[index] : NULL;
}


BMenu*
BMenu::SubmenuAt(int32 index) const
{
	BMenuItem* item = ItemAt(index);
	return item != NULL ? item->Submenu() : NULL;
}


int32
BMenu::CountItems() const
{
	return int32(fItems.size());
}


int32
BMenu::IndexOf(const BMenuItem* item) const
{
	const auto found = std::find(fItems.begin(), fItems.end(), item);
	return found == fItems.end() ? -1 : int32(found - fItems.begin());
}


int32
BMenu::IndexOf(const BMenu* submenu) const
{
	for (int32 i = 0; i < CountItems(); i++) {
		if (fItems[i]->Submenu() == submenu)
			return i;
	}
	return -1;
}


BMenuItem*
BMenu::FindItem(uint32 command) const
{
	for (BMenuItem* item : fItems) {
		if (item->Message() != NULL && item->Message()->what == command)
			return item;
		if (item->Submenu() != NULL) {
			if (BMenuItem* found = item->Submenu()->FindItem(command))
				return found;
		}
	}
	return NULL;
}


BMenuItem*
BMenu::FindItem(const char* label) const
{
	if (label == NULL)
		return NULL;
	for (BMenuItem* item : fItems) {
		if (strcmp(item->Label(), label) == 0)
			return item;
		if (item->Submenu() != NULL) {
			if (BMenuItem* found = item->Submenu()->FindItem(label))
				return found;
		}
	}
	return NULL;
}


status_t
BMenu::SetTargetForItems(BHandler* target)
{
	status_t result = B_OK;
	for (BMenuItem* item : fItems) {
		const status_t status = item->SetTarget(target);
		if (status != B_OK)
			result = status;
	}
	return result;
}


status_t
BMenu::SetTargetForItems(BMessenger messenger)
{
	status_t result = B_OK;
	for (BMenuItem* item : fItems) {
		const status_t status = item->SetTarget(messenger);
		if (status != B_OK)
			result = status;
	}
	return result;
}


void
BMenu::SetEnabled(bool enabled)
{
	fEnabled = enabled;
	_Changed();
}


bool
BMenu::IsEnabled() const
{
	return fEnabled && (Supermenu() == NULL || Supermenu()->IsEnabled());
}


void
BMenu::SetRadioMode(bool on)
{
	fRadioMode = on;
	if (!on)
		fLabelFromMarked = false;
}


bool
BMenu::IsRadioMode() const
{
	return fRadioMode;
}


void
BMenu::SetLabelFromMarked(bool on)
{
	fLabelFromMarked = on;
	if (on)
		fRadioMode = true;
	if (BMenuItem* marked = FindMarked())
		_ItemMarked(marked);
}


bool
BMenu::IsLabelFromMarked() const
{
	return fLabelFromMarked;
}


BMenuItem*
BMenu::FindMarked() const
{
	for (BMenuItem* item : fItems) {
		if (item->IsMarked())
			return item;
	}
	return NULL;
}


int32
BMenu::FindMarkedIndex() const
{
	return IndexOf(FindMarked());
}


BMenu*
BMenu::Supermenu() const
{
	return fSuperitem != NULL ? fSuperitem->Menu() : NULL;
}


BMenuItem*
BMenu::Superitem() const
{
	return fSuperitem;
}


menu_layout
BMenu::Layout() const
{
	return fLayout;
}


void
BMenu::_Changed()
{
	BMenu* top = this;
	while (top->Supermenu() != NULL)
		top = top->Supermenu();
	if (BMenuBar* bar = dynamic_cast<BMenuBar*>(top))
		BPrivate::menu_bar_changed(bar);
}


void
BMenu::_ItemMarked(BMenuItem* item)
{
	if (fRadioMode) {
		for (BMenuItem* other : fItems) {
			if (other != item)
				other->fMarked = false;
		}
	}
	if (fLabelFromMarked && fSuperitem != NULL)
		fSuperitem->SetLabel(item->Label());
}


namespace BPrivate {

BMenuItem*
find_menu_shortcut(const BMenu* menu, uint32 key, uint32 modifiers)
{
	if (menu == NULL || !menu->IsEnabled() || (modifiers & B_COMMAND_KEY) == 0)
		return NULL;
	const uint32 relevant = B_SHIFT_KEY | B_CONTROL_KEY | B_OPTION_KEY;
	for (int32 i = 0; i < menu->CountItems(); i++) {
		BMenuItem* item = menu->ItemAt(i);
		uint32 itemModifiers = 0;
		const char shortcut = item->Shortcut(&itemModifiers);
		if (shortcut != 0 && item->IsEnabled()
			&& std::tolower((unsigned char)shortcut) == std::tolower(int(key))
			&& (modifiers & relevant) == (itemModifiers & relevant)) {
			return item;
		}
		if (BMenuItem* found = find_menu_shortcut(item->Submenu(), key, modifiers))
			return found;
	}
	return NULL;
}


void
choose_menu_item(BMenuItem* item)
{
	BMenu* top = item->Menu();
	while (top != NULL && top->Supermenu() != NULL)
		top = top->Supermenu();
	BWindow* window = top != NULL ? top->Window() : NULL;
	// Qt reports the choice outside any dispatch: take the window's lock as
	// a handler of it would hold it.
	if (window != NULL && !window->Lock())
		return;
	if (item->Menu() != NULL && item->Menu()->IsRadioMode())
		item->SetMarked(true);
	item->Invoke();
	if (window != NULL)
		window->Unlock();
}


QString
menu_item_text(const BMenuItem* item)
{
	QString text = literal_label(item->Label());
	uint32 modifiers = 0;
	const char shortcut = item->Shortcut(&modifiers);
	if (shortcut == 0)
		return text;
	// Named as Qt names the keys the user presses for it.
	const QKeyCombination keys(qt_modifiers(modifiers | B_COMMAND_KEY),
		Qt::Key(std::toupper((unsigned char)shortcut)));
	text += QLatin1Char('\t');
	text += QKeySequence(keys).toString(QKeySequence::NativeText);
	return text;
}


// Qt only opens a submenu when its item is clicked. An item with a submenu
// and a message of its own (Open, whose submenu lists the recent files) is
// chosen by a click, as on the original platform; without this, the mouse
// could not reach what its shortcut does.
class SuperitemClicks : public QObject {
public:
	SuperitemClicks(QMenu* menu, const std::function<void(BMenuItem*)>& choose)
		:
		QObject(menu),
		fMenu(menu),
		fChoose(choose)
	{
		setObjectName(kName);
		menu->installEventFilter(this);
	}

	void Add(QAction* action, BMenuItem* item) { fItems[action] = item; }

	static constexpr const char* kName = "vantu-superitem-clicks";

protected:
	bool eventFilter(QObject* watched, QEvent* event) override
	{
		if (watched != fMenu || event->type() != QEvent::MouseButtonRelease
			|| static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
			return false;
		}
		QAction* action = fMenu->actionAt(
			static_cast<QMouseEvent*>(event)->position().toPoint());
		const auto found = fItems.find(action);
		if (found == fItems.end() || !action->isEnabled())
			return false;
		BMenuItem* item = found->second;
		// Closed up to the menu bar, as after any other item.
		for (QMenu* menu = fMenu; menu != NULL;
				menu = qobject_cast<QMenu*>(menu->parentWidget())) {
			menu->hide();
		}
		fChoose(item);
		return true;
	}

private:
	QMenu* fMenu;
	std::function<void(BMenuItem*)> fChoose;
	std::map<QAction*, BMenuItem*> fItems;
};


void
fill_qmenu(QMenu* target, BMenu* source,
	const std::function<void(BMenuItem*)>& choose)
{
	target->clear();
	// The Qt submenus of the last opening; one may be the sender of the
	// signal that led here.
	for (QMenu* old : target->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
		old->deleteLater();
	if (QObject* old = target->findChild<QObject*>(SuperitemClicks::kName,
			Qt::FindDirectChildrenOnly)) {
		target->removeEventFilter(old);
		old->setObjectName(QString());
		old->deleteLater();
	}
	SuperitemClicks* clicks = NULL;
	for (int32 i = 0; i < source->CountItems(); i++) {
		BMenuItem* item = source->ItemAt(i);
		if (dynamic_cast<BSeparatorItem*>(item) != NULL) {
			target->addSeparator();
			continue;
		}
		QAction* action;
		if (BMenu* submenu = item->Submenu()) {
			QMenu* child = target->addMenu(menu_item_text(item));
			QObject::connect(child, &QMenu::aboutToShow, child,
				[child, submenu, choose]() { fill_qmenu(child, submenu, choose); });
			action = child->menuAction();
			if (item->Message() != NULL) {
				if (clicks == NULL)
					clicks = new SuperitemClicks(target, choose);
				clicks->Add(action, item);
			}
		} else {
			action = target->addAction(menu_item_text(item));
			QObject::connect(action, &QAction::triggered, target,
				[item, choose]() { choose(item); });
		}
		action->setEnabled(item->IsEnabled());
		if (item->ToolTip()[0] != '\0') {
			action->setToolTip(QString::fromUtf8(item->ToolTip()));
			target->setToolTipsVisible(true);
		}
		if (item->IsMarked() || source->IsRadioMode()) {
			action->setCheckable(true);
			action->setChecked(item->IsMarked());
		}
	}
}

}
