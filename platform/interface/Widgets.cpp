#include <algorithm>
#include <cmath>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QSizeGrip>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <ScrollBar.h>

#include "InterfaceQt.h"
#include "ServingThread.h"

namespace BPrivate {

QColor
to_qcolor(rgb_color color)
{
	return QColor(color.red, color.green, color.blue, color.alpha);
}


rgb_color
to_rgb_color(const QColor& color)
{
	return make_color(color.red(), color.green(), color.blue(), color.alpha());
}


QRect
to_qrect(BRect rect)
{
	const int left = (int)std::floor(rect.left);
	const int top = (int)std::floor(rect.top);
	// An invalid rectangle (its right edge left of its left, or its bottom
	// above its top) covers no pixels.
	return QRect(left, top, std::max(0, (int)std::floor(rect.right) - left + 1),
		std::max(0, (int)std::floor(rect.bottom) - top + 1));
}


BRect
to_brect(const QRect& rect)
{
	return BRect(rect.left(), rect.top(), rect.right(), rect.bottom());
}


QString
literal_label(const char* label)
{
	return QString::fromUtf8(label != NULL ? label : "").replace("&", "&&");
}


void
call_on_gui_thread(const std::function<void()>& function)
{
	ServingThread::Default().Call(function);
}


void
assert_window_locked(const BView* view)
{
	if (BWindow* window = view != NULL ? view->Window() : NULL)
		window->AssertLocked();
}


static bool
is_input_event(QEvent::Type type)
{
	switch (type) {
		case QEvent::MouseButtonPress:
		case QEvent::MouseButtonDblClick:
		case QEvent::MouseButtonRelease:
		case QEvent::MouseMove:
		case QEvent::Leave:
		case QEvent::KeyPress:
		case QEvent::KeyRelease:
		case QEvent::ShortcutOverride:
		case QEvent::Wheel:
		case QEvent::DragEnter:
		case QEvent::DragMove:
		case QEvent::Drop:
		case QEvent::FocusIn:
			return true;
		default:
			return false;
	}
}


// #pragma mark - ViewWidget


ViewWidget::ViewWidget(BView* view)
	:
	fView(view)
{
	setMouseTracking(true);
	setAcceptDrops(true);
	setFocusPolicy(Qt::NoFocus);
	setAttribute(Qt::WA_NoSystemBackground);
}


bool
ViewWidget::event(QEvent* event)
{
	// Tab reaches the view as a key, as every other key does.
	BWindow* window = view_data(fView).window;
	if (window != NULL && is_input_event(event->type())
		&& window_input_event(window, this, event)) {
		return true;
	}
	return QWidget::event(event);
}


bool
ViewWidget::eventFilter(QObject* watched, QEvent* event)
{
	BWindow* window = view_data(fView).window;
	QWidget* widget = qobject_cast<QWidget*>(watched);
	if (window == NULL || widget == NULL || !is_input_event(event->type()))
		return false;
	return window_input_event(window, widget, event);
}


void
ViewWidget::paintEvent(QPaintEvent* event)
{
	ViewData& data = view_data(fView);
	QPainter painter(this);
	if (data.viewColor != B_TRANSPARENT_COLOR) {
		rgb_color color = data.viewColor;
		color.alpha = 255;
		painter.fillRect(event->rect(), to_qcolor(color));
	}
	if ((data.flags & B_WILL_DRAW) == 0 || data.native != NULL)
		return;

	painter.translate(-data.origin.x, -data.origin.y);
	BRect update = to_brect(event->rect());
	update.OffsetBy(data.origin);
	BWindow* window = data.window;
	const bool locked = window != NULL && window->Lock();
	data.painter = &painter;
	fView->Draw(update);
	data.painter = NULL;
	if (locked)
		window->Unlock();
}


void
ViewWidget::resizeEvent(QResizeEvent* event)
{
	QWidget* native = view_data(fView).native;
	if (native != NULL)
		native->setGeometry(rect());
	QWidget::resizeEvent(event);
}


// #pragma mark - WindowWidget


WindowWidget::WindowWidget(BWindow* window)
	:
	fWindow(window)
{
	setProperty("vantu_window", true);
	setMouseTracking(true);
}


bool
WindowWidget::event(QEvent* event)
{
	// Keys reach the window itself when no view has the focus.
	if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
		&& window_input_event(fWindow, this, event)) {
		return true;
	}
	if (event->type() == QEvent::ActivationChange) {
		WindowData& data = window_data(fWindow);
		const bool active = isActiveWindow();
		if (active != data.active) {
			data.active = active;
			BMessage message(B_WINDOW_ACTIVATED);
			message.AddInt64("when", system_time());
			message.AddBool("active", active);
			fWindow->PostMessage(&message);
		}
	}
	return QWidget::event(event);
}


bool
WindowWidget::eventFilter(QObject* watched, QEvent* event)
{
	QWidget* widget = qobject_cast<QWidget*>(watched);
	if (widget == NULL || !is_input_event(event->type()))
		return false;
	return window_input_event(fWindow, widget, event);
}


void
WindowWidget::closeEvent(QCloseEvent* event)
{
	// The window decides in QuitRequested(), through its looper.
	event->ignore();
	fWindow->PostMessage(B_QUIT_REQUESTED);
}


void
WindowWidget::paintEvent(QPaintEvent*)
{
	const WindowData& data = window_data(fWindow);
	if (data.border == 0)
		return;
	QPainter painter(this);
	painter.setPen(Qt::black);
	painter.drawRect(rect().adjusted(0, 0, -1, -1));
}


void
WindowWidget::resizeEvent(QResizeEvent* event)
{
	QWidget::resizeEvent(event);
	_PlaceResizeKnob();
	window_geometry_changed(fWindow);
}


// Document windows leave their bottom right corner, beside the scroll bars,
// to the knob; without it the content's colour would show there.
void
WindowWidget::SetResizeKnob(bool shown)
{
	if (shown && fResizeKnob == NULL) {
		fResizeKnob = new QSizeGrip(this);
		fResizeKnob->setAutoFillBackground(true);
	}
	if (fResizeKnob == NULL)
		return;
	fResizeKnob->setVisible(shown);
	_PlaceResizeKnob();
}


void
WindowWidget::_PlaceResizeKnob()
{
	if (fResizeKnob == NULL)
		return;
	const QSize size((int)B_V_SCROLL_BAR_WIDTH, (int)B_H_SCROLL_BAR_HEIGHT);
	fResizeKnob->setGeometry(QRect(QPoint(width() - size.width(), height() - size.height()),
		size));
	// Views added later stack above it otherwise.
	fResizeKnob->raise();
}


void
WindowWidget::moveEvent(QMoveEvent* event)
{
	QWidget::moveEvent(event);
	window_geometry_changed(fWindow);
}

}
