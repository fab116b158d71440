#include <Screen.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <InterfaceDefs.h>
#include <Window.h>

#include "ViewQt.h"

namespace {

// The screen the user works on, where new windows belong: the one the
// pointer is on, the primary one when the pointer is on none.
QScreen*
main_screen()
{
	QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
	return screen != NULL ? screen : QGuiApplication::primaryScreen();
}


QScreen*
screen_at(int32 index)
{
	BPrivate::ensure_interface_kit();
	QScreen* main = main_screen();
	if (index == 0)
		return main;
	const QList<QScreen*> screens = QGuiApplication::screens();
	int32 position = 1;
	for (QScreen* screen : screens) {
		if (screen == main)
			continue;
		if (position++ == index)
			return screen;
	}
	return NULL;
}

}	// namespace


BScreen::BScreen(screen_id id)
	:
	fIndex(id.id)
{
}


BScreen::BScreen(BWindow* window)
	:
	fIndex(0)
{
	if (window == NULL)
		return;
	QWidget* widget = BPrivate::window_widget(window);
	QScreen* screen = widget != NULL ? widget->screen() : NULL;
	for (int32 index = 0; screen != NULL && screen_at(index) != NULL; index++) {
		if (screen_at(index) == screen) {
			fIndex = index;
			break;
		}
	}
}


BScreen::~BScreen()
{
}


bool
BScreen::IsValid()
{
	return screen_at(fIndex) != NULL;
}


status_t
BScreen::SetToNext()
{
	if (screen_at(fIndex + 1) == NULL)
		return B_ERROR;
	fIndex++;
	return B_OK;
}


color_space
BScreen::ColorSpace()
{
	return IsValid() ? B_RGB32 : B_NO_COLOR_SPACE;
}


BRect
BScreen::Frame()
{
	QScreen* screen = screen_at(fIndex);
	if (screen == NULL)
		return BRect();
	return BPrivate::to_brect(screen->availableGeometry());
}


screen_id
BScreen::ID()
{
	return screen_id{fIndex};
}


rgb_color
BScreen::DesktopColor()
{
	return ui_color(B_DESKTOP_COLOR);
}


const color_map*
BScreen::ColorMap()
{
	return system_colors();
}


uint8
BScreen::IndexForColor(rgb_color color)
{
	return IndexForColor(color.red, color.green, color.blue, color.alpha);
}


uint8
BScreen::IndexForColor(uint8 red, uint8 green, uint8 blue, uint8 alpha)
{
	if (alpha < 128)
		return B_TRANSPARENT_MAGIC_CMAP8;
	return system_colors()->index_map[((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3)];
}


rgb_color
BScreen::ColorForIndex(uint8 index)
{
	return system_colors()->color_list[index];
}


uint8
BScreen::InvertIndex(uint8 index)
{
	return system_colors()->inversion_map[index];
}
