#ifndef _INTERFACE_QT_H
#define _INTERFACE_QT_H

// The Qt side of windows and views, shared by the sources of the layer.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QKeyEvent>
#include <QWidget>

#include <Font.h>
#include <GraphicsDefs.h>
#include <Message.h>
#include <Rect.h>
#include <View.h>
#include <Window.h>

#include "InputQt.h"
#include "ViewQt.h"

class BBitmap;
class BButton;
class BMenuBar;
class QPainter;
class QSizeGrip;

namespace BPrivate {

class ViewWidget;
class WindowWidget;

struct ViewData {
	BView* view = NULL;
	BRect frame;
	BPoint origin;
	uint32 resizingMode = 0;
	uint32 flags = 0;

	BView* parent = NULL;
	BWindow* window = NULL;
	BBitmap* bitmap = NULL;
	std::vector<BView*> children;
	int32 hideCount = 0;

	rgb_color viewColor = {255, 255, 255, 255};
	rgb_color highColor = {0, 0, 0, 255};
	rgb_color lowColor = {255, 255, 255, 255};
	drawing_mode drawingMode = B_OP_COPY;
	source_alpha sourceAlpha = B_PIXEL_ALPHA;
	alpha_function alphaFunction = B_ALPHA_OVERLAY;
	float penSize = 1.0f;
	BPoint penLocation;
	BFont font;

	uint32 eventMask = 0;
	uint32 eventOptions = 0;
	// SetMouseEventMask: the mask ends with the press.
	bool eventMaskUntilRelease = false;

	std::vector<std::pair<const void*, std::function<void(BPoint)>>> scrollListeners;

	ViewWidget* widget = NULL;
	QWidget* native = NULL;
	QPainter* painter = NULL;
};

struct WindowData {
	BWindow* window = NULL;
	WindowWidget* widget = NULL;
	// Holds the views; its coordinates are the window's.
	QWidget* content = NULL;
	// Width of the frame drawn around the content (bordered look).
	int border = 0;

	std::string title;
	window_type type = B_UNTYPED_WINDOW;
	window_look look = B_TITLED_WINDOW_LOOK;
	window_feel feel = B_NORMAL_WINDOW_FEEL;
	uint32 flags = 0;
	uint32 workspaces = 0;

	std::vector<BView*> children;
	BView* focus = NULL;
	BButton* defaultButton = NULL;
	BMenuBar* keyMenuBar = NULL;

	// Where the content is while the window is not shown, in screen
	// coordinates.
	BRect frame;
	float minWidth = 0;
	float maxWidth = 32768;
	float minHeight = 0;
	float maxHeight = 32768;

	int32 hideCount = 1;
	bool ranLooper = false;
	bool active = false;
	bigtime_t pulseRate = 500000;

	struct Shortcut {
		uint32 key;
		uint32 modifiers;
		std::unique_ptr<BMessage> message;
		BHandler* target;
	};
	std::vector<Shortcut> shortcuts;

	PointerInput input;
	// Key presses of native widgets, waiting for their B_KEY_DOWN to reach
	// BView::KeyDown.
	std::map<int64, std::unique_ptr<QKeyEvent>> nativeKeys;
	int64 nextNativeKey = 1;
	// A native widget is handling a key it had handed to the window.
	bool passingKey = false;
};

// The widget of a view: erases with the view colour, calls Draw(), turns
// input into Be messages for its window.
class ViewWidget : public QWidget {
public:
	ViewWidget(BView* view);

	BView* View() const { return fView; }

protected:
	virtual bool event(QEvent* event);
	virtual bool eventFilter(QObject* watched, QEvent* event);
	virtual void paintEvent(QPaintEvent* event);
	virtual void resizeEvent(QResizeEvent* event);

private:
	BView* fView;
};

// A window's top-level widget.
class WindowWidget : public QWidget {
public:
	WindowWidget(BWindow* window);

	BWindow* Window() const { return fWindow; }
	// The resize knob of a document window, in its bottom right corner.
	void SetResizeKnob(bool shown);

protected:
	virtual bool event(QEvent* event);
	virtual bool eventFilter(QObject* watched, QEvent* event);
	virtual void closeEvent(QCloseEvent* event);
	virtual void paintEvent(QPaintEvent* event);
	virtual void resizeEvent(QResizeEvent* event);
	virtual void moveEvent(QMoveEvent* event);

private:
	void _PlaceResizeKnob();

	BWindow* fWindow;
	QSizeGrip* fResizeKnob = NULL;
};

ViewData& view_data(const BView* view);
WindowData& window_data(const BWindow* window);

// Input from Qt for a window: `event` arrived at `widget` (a view widget,
// the content or a native widget inside a view); returns true when it was
// taken (the widget must not see it).
bool window_input_event(BWindow* window, QWidget* widget, QEvent* event);

// Applies the resizing modes of the children of a view (or of the window's
// top views when view is NULL) after their parent grew by dw, dh.
void follow_parent_resize(BWindow* window, BView* view, float dw, float dh);
// Places the view's widget at its frame, inside the parent's scrolled bounds.
void place_view_widget(BView* view);
void post_frame_events(BView* view, bool moved, bool resized);

// Attachment of a view subtree to a window, with the hooks in their order.
void attach_view(BView* view, BWindow* window);
void detach_view(BView* view);

void forget_window_priority(const BWindow* window);

// The window's widget moved or changed size: the Be frame follows, the
// views follow their resizing modes, and the window hears of it.
void window_geometry_changed(BWindow* window);

}

#endif
