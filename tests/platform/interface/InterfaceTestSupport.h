#ifndef INTERFACE_TEST_SUPPORT_H
#define INTERFACE_TEST_SUPPORT_H

#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>

#include <Message.h>
#include <View.h>
#include <Window.h>

#include "InterfaceKit.h"
#include "ViewQt.h"

namespace interface_test {

// Runs the GUI event loop until `done` holds; false when the watchdog (real
// time, generous) ran out first.
inline bool
pump_until(const std::function<bool()>& done, int watchdogMs = 5000)
{
	QElapsedTimer timer;
	timer.start();
	while (!done()) {
		if (timer.elapsed() > watchdogMs)
			return false;
		QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
	}
	return true;
}


// Lets every message and event that is waiting now be handled.
inline void
settle()
{
	for (int i = 0; i < 5; i++)
		QCoreApplication::processEvents(QEventLoop::AllEvents);
}


// A window made for a test and quit at the end of it.
class WindowHolder {
public:
	explicit WindowHolder(BWindow* window) : fWindow(window) {}
	~WindowHolder()
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}
	BWindow* operator->() const { return fWindow; }
	BWindow* Get() const { return fWindow; }

private:
	BWindow* fWindow;
};


inline BWindow*
make_window(BRect frame = BRect(100, 100, 299, 199), const char* title = "Test")
{
	BPrivate::ensure_interface_kit();
	return new BWindow(frame, title, B_TITLED_WINDOW, 0);
}


// Shows the window and waits until its looper runs.
inline void
show_and_settle(BWindow* window)
{
	window->Show();
	settle();
}


inline QImage
grab(BView* view)
{
	settle();
	return BPrivate::view_widget(view)->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}


inline rgb_color
pixel(const QImage& image, int x, int y)
{
	const QRgb value = image.pixel(x, y);
	return make_color(qRed(value), qGreen(value), qBlue(value), qAlpha(value));
}

}

#endif
