#ifndef _VIEW_QT_H
#define _VIEW_QT_H

// What the layer's own classes need of a view's Qt side. Only sources of
// platform/interface include this; no public header does.

#include <functional>
#include <optional>
#include <type_traits>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <GraphicsDefs.h>
#include <Rect.h>

class BBitmap;
class BFont;
class BMessage;
class BView;
class BWindow;
class QPainter;

namespace BPrivate {

// Runs `function` on the GUI thread, the only thread that may touch Qt, and
// returns its result: at once when called there; from another thread the
// caller waits for it. Every layer method that another thread may call with
// the window locked puts its Qt work through here. The GUI thread runs such
// calls also while it waits for a window's lock, and counts as the caller
// for the caller's locks while it does (ServingThread.h), so the caller's
// lock never stalls them.
void call_on_gui_thread(const std::function<void()>& function);

template<typename Function>
std::invoke_result_t<Function&>
run_on_gui_thread(Function&& function)
{
	using Result = std::invoke_result_t<Function&>;
	if constexpr (std::is_void_v<Result>) {
		call_on_gui_thread(function);
	} else {
		std::optional<Result> result;
		call_on_gui_thread([&function, &result] { result.emplace(function()); });
		return std::move(*result);
	}
}

// Where the original platform requires the caller to hold the lock of the
// view's window (view setters), debug builds stop the program when it does
// not; a view in no window needs no lock.
void assert_window_locked(const BView* view);

// The widget that shows the view, from its construction on: a child of its
// parent view's widget (or the window's content widget), with the same
// frame. Its paint event erases with the view colour and calls Draw().
QWidget* view_widget(const BView* view);
QWidget* window_widget(const BWindow* window);

// Puts a native Qt widget inside the view, filling its bounds and following
// its size; the view owns it (NULL removes and deletes the current one).
// Controls whose drawing the program does not override are built this way.
//
// Mouse presses and releases inside a native widget are Qt's own (no
// B_MOUSE_DOWN reaches the view); pointer movement still arrives as
// B_MOUSE_MOVED for the view, so the window's filters (tool tips) see it.
// Key presses in it become B_KEY_DOWN messages dispatched through the
// window and its filters first; when the message reaches BView::KeyDown
// (the base implementation) the original key goes on to the native widget.
// So a control that wants Qt's key handling does not override KeyDown, or
// calls the base for keys it does not handle.
//
// MakeFocus() focuses the native widget. A native widget's signals are
// delivered on the main thread outside any dispatch: handlers lock the
// window (LockLooper()) before calling into Be code, and send messages only
// for user actions (set values from code with the signals blocked).
void set_native_widget(BView* view, QWidget* native);
QWidget* native_widget(const BView* view);

// Keeps `owner` (a scroll bar) told of the view's scrolling: `listener`
// runs after each ScrollTo() that moved the view's bounds, with the new
// origin. The owner removes itself before it goes.
void add_scroll_listener(BView* view, const void* owner,
	std::function<void(BPoint origin)> listener);
void remove_scroll_listener(BView* view, const void* owner);

// The painter of the view's current drawing pass: Draw() in a window, or a
// view inside a locked BBitmap. NULL when drawing is not possible now. The
// painter is set to the view's coordinates (bounds origin included).
QPainter* view_painter(BView* view);

QColor to_qcolor(rgb_color color);
rgb_color to_rgb_color(const QColor& color);
// Inclusive Be rectangles to Qt's and back: BRect(0, 0, 9, 9) is QRect(0, 0,
// 10, 10).
QRect to_qrect(BRect rect);
BRect to_brect(const QRect& rect);
QFont to_qfont(const BFont& font);
// Modifier bits of a Qt modifier state (Alt is Command, Ctrl is Control,
// Meta/Super is Option).
uint32 be_modifiers(Qt::KeyboardModifiers modifiers);
// Qt shows '&' as a mnemonic marker; labels are shown as given.
QString literal_label(const char* label);
// A copy of the bitmap as a QImage (Format_ARGB32; B_CMAP8 through the
// system palette, its transparent index transparent).
QImage bitmap_image(const BBitmap* bitmap);
// Copies an image into a new bitmap of the colour space (B_RGBA32 or
// B_RGB32, or B_CMAP8 by nearest palette colour).
BBitmap* bitmap_from_image(const QImage& image, color_space space);

// Ensures the GUI application exists (see InterfaceKit.h).
void ensure_interface_kit();

}

#endif
