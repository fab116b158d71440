#ifndef QT_LOOKUP_H
#define QT_LOOKUP_H

#include <QApplication>
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

#endif
