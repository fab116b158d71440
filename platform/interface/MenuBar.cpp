#include <MenuBar.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

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


namespace BPrivate {

void
menu_bar_changed(BMenuBar* bar)
{
	QMenuBar* native = static_cast<QMenuBar*>(native_widget(bar));
	if (native == NULL)
		return;
	native->clear();
	for (QMenu* old : native->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
		old->deleteLater();
	for (int32 i = 0; i < bar->CountItems(); i++) {
		BMenuItem* item = bar->ItemAt(i);
		if (dynamic_cast<BSeparatorItem*>(item) != NULL)
			continue;
		QAction* action;
		if (BMenu* submenu = item->Submenu()) {
			QMenu* menu = native->addMenu(menu_item_text(item));
			QObject::connect(menu, &QMenu::aboutToShow, menu,
				[menu, submenu]() { fill_qmenu(menu, submenu); });
			action = menu->menuAction();
		} else {
			action = native->addAction(menu_item_text(item));
			QObject::connect(action, &QAction::triggered, native,
				[item]() { choose_menu_item(item); });
		}
		action->setEnabled(item->IsEnabled());
	}
}

}
