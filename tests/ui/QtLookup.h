#ifndef QT_LOOKUP_H
#define QT_LOOKUP_H

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <Window.h>

// The Qt side of a window, found as any Qt program would find it (the
// layer's bridge stays private): for tests that feed real Qt input.
inline QWidget*
top_level_widget(BWindow* window)
{
	for (QWidget* top : QApplication::topLevelWidgets()) {
		if (top->isVisible() && top->windowTitle() == QString::fromUtf8(window->Title()))
			return top;
	}
	return nullptr;
}


// The widget under a point of the screen.
inline QWidget*
widget_at(BWindow* window, BPoint screen)
{
	QWidget* top = top_level_widget(window);
	return top != nullptr ? top->childAt(top->mapFromGlobal(QPoint((int)screen.x,
		(int)screen.y))) : nullptr;
}


// Opens the menu at that place of the window's menu bar as a click would;
// NULL while the bar does not hold it yet.
inline QMenu*
popup_bar_menu(BWindow* window, int index)
{
	QWidget* top = top_level_widget(window);
	QMenuBar* bar = top != nullptr ? top->findChild<QMenuBar*>() : nullptr;
	if (bar == nullptr || bar->actions().size() <= index)
		return nullptr;
	QMenu* menu = bar->actions().at(index)->menu();
	menu->popup(QPoint(10, 10));
	return menu;
}

#endif
