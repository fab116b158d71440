#include <MenuBar.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <MenuItem.h>
#include <MenuQt.h>
#include <SeparatorItem.h>
#include <ControlQt.h>
#include <ViewQt.h>
#include <Window.h>

BMenuBar::BMenuBar(BRect frame, const char* name, uint32 resizingMode,
	menu_layout layout, bool resizeToFit)
	:
	BMenu(name, layout)
{
	SetResizingMode(resizingMode);
	MoveTo(frame.LeftTop());
	ResizeTo(frame.Width(), frame.Height());
	BPrivate::ensure_interface_kit();
	QMenuBar* bar = new QMenuBar;
	bar->setNativeMenuBar(false);
	BPrivate::set_native_widget(this, bar);
	BPrivate::adopt_view_font(this);
	if (resizeToFit) {
		// An empty bar has no height yet; measure one with a title.
		QAction* probe = bar->addAction(QStringLiteral("X"));
		ResizeTo(frame.Width(), bar->sizeHint().height() - 1);
		bar->removeAction(probe);
		delete probe;
	}
}


BMenuBar::~BMenuBar()
{
}


void
BMenuBar::AttachedToWindow()
{
	if (Window()->KeyMenuBar() == NULL)
		Window()->SetKeyMenuBar(this);
	BMenu::AttachedToWindow();
}


void
BMenuBar::DetachedFromWindow()
{
	if (Window()->KeyMenuBar() == this)
		Window()->SetKeyMenuBar(NULL);
	BMenu::DetachedFromWindow();
}


// The window hears MenusBeginning() when one of the bar's menus opens while
// none was open, and MenusEnded() once none is open any more, so that it can
// leave the items alone meanwhile. The end is told from the event loop: a
// menu hides before the action chosen in it triggers, and the choice must
// still find its item.
static void
call_menu_hook(BMenuBar* bar, bool began)
{
	BWindow* window = bar->Window();
	if (window == NULL || !window->Lock())
		return;
	if (began)
		window->MenusBeginning();
	else
		window->MenusEnded();
	window->Unlock();
}


static void
menu_opened(BMenuBar* bar, QMenuBar* native)
{
	if (native->property("vantu_menus_open").toBool())
		return;
	native->setProperty("vantu_menus_open", true);
	call_menu_hook(bar, true);
}


static void
menu_closed(BMenuBar* bar, QMenuBar* native)
{
	QTimer::singleShot(0, native, [bar, native]() {
		if (!native->property("vantu_menus_open").toBool())
			return;
		for (QMenu* menu : native->findChildren<QMenu*>()) {
			if (menu->isVisible())
				return;
		}
		native->setProperty("vantu_menus_open", false);
		call_menu_hook(bar, false);
	});
}


// Rebuilds the bar's titles. Runs from the event loop: the change that asked
// for it may come from an action of this bar that is still emitting its
// signal, and many changes in a row (relabelling every menu) make one
// rebuild.
static void
rebuild_menu_bar(BMenuBar* bar, QMenuBar* native)
{
	native->setProperty("vantu_rebuild_pending", false);
	native->clear();
	// A menu open now goes; hiding it first tells the window so.
	for (QMenu* old : native->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
		old->hide();
		old->deleteLater();
	}
	for (int32 i = 0; i < bar->CountItems(); i++) {
		BMenuItem* item = bar->ItemAt(i);
		if (dynamic_cast<BSeparatorItem*>(item) != NULL)
			continue;
		QAction* action;
		if (BMenu* submenu = item->Submenu()) {
			QMenu* menu = native->addMenu(BPrivate::menu_item_text(item));
			QObject::connect(menu, &QMenu::aboutToShow, menu,
				[bar, native, menu, submenu]() {
					menu_opened(bar, native);
					BPrivate::fill_qmenu(menu, submenu);
				});
			QObject::connect(menu, &QMenu::aboutToHide, native,
				[bar, native]() { menu_closed(bar, native); });
			action = menu->menuAction();
		} else {
			action = native->addAction(BPrivate::menu_item_text(item));
			QObject::connect(action, &QAction::triggered, native,
				[item]() { BPrivate::choose_menu_item(item); });
		}
		action->setEnabled(item->IsEnabled());
	}
}


namespace BPrivate {

void
menu_bar_changed(BMenuBar* bar)
{
	QMenuBar* native = static_cast<QMenuBar*>(native_widget(bar));
	if (native == NULL || native->property("vantu_rebuild_pending").toBool())
		return;
	native->setProperty("vantu_rebuild_pending", true);
	QTimer::singleShot(0, native, [bar, native]() { rebuild_menu_bar(bar, native); });
}

}
