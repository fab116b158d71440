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


// Rebuilds the bar's titles. Runs from the event loop: the change that asked
// for it may come from an action of this bar that is still emitting its
// signal, and many changes in a row (relabelling every menu) make one
// rebuild.
static void
rebuild_menu_bar(BMenuBar* bar, QMenuBar* native)
{
	native->setProperty("vantu_rebuild_pending", false);
	native->clear();
	for (QMenu* old : native->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
		old->deleteLater();
	for (int32 i = 0; i < bar->CountItems(); i++) {
		BMenuItem* item = bar->ItemAt(i);
		if (dynamic_cast<BSeparatorItem*>(item) != NULL)
			continue;
		QAction* action;
		if (BMenu* submenu = item->Submenu()) {
			QMenu* menu = native->addMenu(BPrivate::menu_item_text(item));
			QObject::connect(menu, &QMenu::aboutToShow, menu,
				[menu, submenu]() { BPrivate::fill_qmenu(menu, submenu); });
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
