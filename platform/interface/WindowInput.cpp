#include <Window.h>

#include <cctype>
#include <cstring>

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QThread>
#include <QUrl>
#include <QWheelEvent>

#include <AppDefs.h>
#include <Button.h>
#include <Entry.h>
#include <MenuBar.h>
#include <Message.h>
#include <Path.h>
#include <View.h>

#include "InterfaceQt.h"
#include "MenuPrivate.h"
#include "MessagePrivate.h"

using BPrivate::PointerState;
using BPrivate::ViewData;
using BPrivate::WindowData;

namespace {

// Dragged messages travel between views (and programs) flattened.
const char* const kMessageMimeType = "application/x-vnd.Be-message";


bool
on_gui_thread()
{
	QCoreApplication* application = QCoreApplication::instance();
	return application != NULL && QThread::currentThread() == application->thread();
}


// The view a widget belongs to: a view's own widget, or a native widget
// (or a part of one) inside it.
BView*
owner_view(QWidget* widget)
{
	for (; widget != NULL; widget = widget->parentWidget()) {
		if (BPrivate::ViewWidget* viewWidget = dynamic_cast<BPrivate::ViewWidget*>(widget))
			return viewWidget->View();
	}
	return NULL;
}


bool
is_native_part(QWidget* widget)
{
	return dynamic_cast<BPrivate::ViewWidget*>(widget) == NULL
		&& dynamic_cast<BPrivate::WindowWidget*>(widget) == NULL
		&& owner_view(widget) != NULL;
}


BPoint
screen_point(QPointF global)
{
	return BPoint(std::floor(global.x()), std::floor(global.y()));
}


void
post_mouse(BWindow* window, uint32 what, BHandler* target, const PointerState& state,
	int64 serial, int32 clicks, int32 transit)
{
	BMessage message(what);
	BPoint where = state.screenWhere;
	BView* view = dynamic_cast<BView*>(target);
	if (view != NULL)
		view->ConvertFromScreen(&where);
	else
		window->ConvertFromScreen(&where);
	message.AddInt64("when", system_time());
	message.AddPoint("screen_where", state.screenWhere);
	message.AddPoint("where", where);
	message.AddPoint("be:view_where", where);
	message.AddInt32("buttons", (int32)state.buttons);
	message.AddInt32("modifiers", (int32)state.modifiers);
	if (clicks > 0)
		message.AddInt32("clicks", clicks);
	if (transit >= 0)
		message.AddInt32("be:transit", transit);
	message.AddInt64(BPrivate::kPointerSerialField, serial);
	window->PostMessage(&message, target);
}


void
post_pointer_moved(BWindow* window, const PointerState& state, int64 serial)
{
	WindowData& data = BPrivate::window_data(window);
	BPrivate::PointerInput& input = data.input;
	BView* over = window->FindView(window->ConvertFromScreen(state.screenWhere));
	BView* previous = input.mouseView;
	if (over != previous) {
		if (previous != NULL)
			post_mouse(window, B_MOUSE_MOVED, previous, state, serial, 0, B_EXITED_VIEW);
		if (over != NULL)
			post_mouse(window, B_MOUSE_MOVED, over, state, serial, 0, B_ENTERED_VIEW);
		input.mouseView = over;
	} else if (over != NULL) {
		post_mouse(window, B_MOUSE_MOVED, over, state, serial, 0, B_INSIDE_VIEW);
	}
	for (BView* masked : std::vector<BView*>(input.maskedViews)) {
		if (masked != over && masked != previous)
			post_mouse(window, B_MOUSE_MOVED, masked, state, serial, 0, B_OUTSIDE_VIEW);
	}
}


void
post_pointer_released(BWindow* window, const PointerState& state, int64 serial)
{
	BPrivate::PointerInput& input = BPrivate::window_data(window).input;
	BView* over = window->FindView(window->ConvertFromScreen(state.screenWhere));
	bool overGotIt = false;
	for (BView* masked : std::vector<BView*>(input.maskedViews)) {
		post_mouse(window, B_MOUSE_UP, masked, state, serial, 0, -1);
		overGotIt = overGotIt || masked == over;
	}
	if (!overGotIt)
		post_mouse(window, B_MOUSE_UP, over != NULL ? (BHandler*)over : window, state, serial,
			0, -1);
	if (state.buttons == 0) {
		std::erase_if(input.maskedViews, [](BView* view) {
			ViewData& data = BPrivate::view_data(view);
			if (!data.eventMaskUntilRelease)
				return false;
			data.eventMask = 0;
			data.eventMaskUntilRelease = false;
			return true;
		});
	}
}


// When the user made the input: the window system's stamp (milliseconds),
// so that presses that waited while the program was busy still count as
// the clicks they were. Input made inside the program carries no stamp.
bigtime_t
input_time(const QInputEvent* event)
{
	return event->timestamp() != 0 ? bigtime_t(event->timestamp()) * 1000 : system_time();
}


bool
handle_mouse(BWindow* window, QWidget* widget, QMouseEvent* event)
{
	WindowData& data = BPrivate::window_data(window);
	BPrivate::PointerInput& input = data.input;
	PointerState state;
	state.screenWhere = screen_point(event->globalPosition());
	state.buttons = BPrivate::be_buttons(event->buttons());
	state.modifiers = BPrivate::be_modifiers(event->modifiers());
	input.current = state;
	const bool native = is_native_part(widget);

	switch (event->type()) {
		case QEvent::MouseButtonPress:
		case QEvent::MouseButtonDblClick:
		{
			const int32 clicks = input.clicks.Press(input_time(event), state.screenWhere,
				state.buttons);
			if (native) {
				if (input.pumping > 0)
					input.Queue(state);
				return false;
			}
			BView* over = window->FindView(window->ConvertFromScreen(state.screenWhere));
			post_mouse(window, B_MOUSE_DOWN, over != NULL ? (BHandler*)over : window, state,
				input.Queue(state), clicks, -1);
			return true;
		}
		case QEvent::MouseButtonRelease:
			if (input.pumping > 0) {
				input.Queue(state);
				return !native;
			}
			if (native)
				return false;
			post_pointer_released(window, state, input.Queue(state));
			return true;
		case QEvent::MouseMove:
			if (input.pumping > 0) {
				input.Queue(state);
				return !native;
			}
			post_pointer_moved(window, state, input.Queue(state));
			return !native;
		default:
			return false;
	}
}


bool
handle_key(BWindow* window, QWidget* widget, QKeyEvent* event)
{
	WindowData& data = BPrivate::window_data(window);
	if (data.passingKey)
		return false;
	BMessage message;
	if (!BPrivate::make_key_message(*event, event->type() == QEvent::KeyPress, &message))
		return false;
	data.input.current.modifiers = BPrivate::be_modifiers(event->modifiers());
	const bool native = is_native_part(widget);
	if (native && event->type() == QEvent::KeyRelease)
		return false;
	// A native widget gets keys only when Qt gave it the focus, whatever the
	// window last heard.
	BView* target = native || data.focus == NULL ? owner_view(widget) : data.focus;
	if (native) {
		const int64 id = data.nextNativeKey++;
		data.nativeKeys[id] = std::unique_ptr<QKeyEvent>(event->clone());
		message.AddInt64("be:native_key", id);
	}
	window->PostMessage(&message, target != NULL ? (BHandler*)target : window);
	return true;
}


bool
handle_wheel(BWindow* window, QWidget* widget, QWheelEvent* event)
{
	if (is_native_part(widget))
		return false;
	const BPoint screen = screen_point(event->globalPosition());
	BView* over = window->FindView(window->ConvertFromScreen(screen));
	BMessage message(B_MOUSE_WHEEL_CHANGED);
	message.AddInt64("when", system_time());
	// One notch is 120 in Qt and 1 step (down is positive) in Be.
	message.AddFloat("be:wheel_delta_x", -event->angleDelta().x() / 120.0f);
	message.AddFloat("be:wheel_delta_y", -event->angleDelta().y() / 120.0f);
	window->PostMessage(&message, over != NULL ? (BHandler*)over : window);
	return true;
}


bool
accepts_drop(const QMimeData* mime)
{
	return mime != NULL && (mime->hasFormat(kMessageMimeType) || mime->hasUrls());
}


bool
handle_drop(BWindow* window, QWidget* widget, QDropEvent* event)
{
	const QMimeData* mime = event->mimeData();
	if (!accepts_drop(mime))
		return false;
	const BPoint screen = screen_point(widget->mapToGlobal(event->position()));
	BMessage message;
	bool remote = event->source() == NULL;
	if (mime->hasFormat(kMessageMimeType)) {
		const QByteArray flat = mime->data(kMessageMimeType);
		if (message.Unflatten(flat.constData(), flat.size()) != B_OK)
			return false;
	} else {
		// Files from the desktop or a file manager.
		message.what = B_SIMPLE_DATA;
		for (const QUrl& url : mime->urls()) {
			entry_ref ref;
			if (url.isLocalFile()
				&& get_ref_for_path(url.toLocalFile().toUtf8().constData(), &ref) == B_OK) {
				message.AddRef("refs", &ref);
			}
		}
		if (message.IsEmpty())
			return false;
		remote = true;
	}
	BMessage::Private::SetDropInfo(message, screen, B_ORIGIN, remote);
	message.AddPoint("_drop_point_", screen);
	message.AddPoint("_drop_offset_", B_ORIGIN);
	BView* over = window->FindView(window->ConvertFromScreen(screen));
	window->PostMessage(&message, over != NULL ? (BHandler*)over : window);
	event->acceptProposedAction();
	return true;
}

}	// namespace


bool
BPrivate::window_input_event(BWindow* window, QWidget* widget, QEvent* event)
{
	WindowData& data = window_data(window);
	switch (event->type()) {
		case QEvent::MouseButtonPress:
		case QEvent::MouseButtonDblClick:
		case QEvent::MouseButtonRelease:
		case QEvent::MouseMove:
			return handle_mouse(window, widget, static_cast<QMouseEvent*>(event));
		case QEvent::Leave:
			if (widget == data.content && data.input.mouseView != NULL) {
				post_mouse(window, B_MOUSE_MOVED, data.input.mouseView, data.input.current,
					data.input.lastSerial, 0, B_EXITED_VIEW);
				data.input.mouseView = NULL;
			}
			return false;
		case QEvent::KeyPress:
		case QEvent::KeyRelease:
			return handle_key(window, widget, static_cast<QKeyEvent*>(event));
		case QEvent::Wheel:
			return handle_wheel(window, widget, static_cast<QWheelEvent*>(event));
		case QEvent::DragEnter:
		case QEvent::DragMove:
		{
			QDropEvent* drop = static_cast<QDropEvent*>(event);
			if (!accepts_drop(drop->mimeData()))
				return false;
			drop->acceptProposedAction();
			return true;
		}
		case QEvent::Drop:
			return handle_drop(window, widget, static_cast<QDropEvent*>(event));
		case QEvent::FocusIn:
		{
			// Qt moved the focus (a click into a text field, Tab): the
			// window's focus view follows. Qt tells it outside any dispatch
			// (or inside one, from MakeFocus): take the window's lock as a
			// handler of it would hold it.
			if (!window->Lock())
				return false;
			// Qt hands a window that is activated without a focus widget to
			// its first navigable view; a window here has no focus view
			// until one is asked for or clicked, or a start-up press of
			// Home would set the first slider to its minimum.
			if (data.focus == NULL
				&& static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason) {
				window->Unlock();
				widget->clearFocus();
				return true;
			}
			BView* view = owner_view(widget);
			if (view != NULL && view->Window() == window && data.focus != view) {
				data.focus = view;
				window->SetPreferredHandler(view);
			}
			window->Unlock();
			return false;
		}
		default:
			return false;
	}
}


// #pragma mark - dispatching


static void
activate_views(const std::vector<BView*>& views, bool active)
{
	for (BView* view : std::vector<BView*>(views)) {
		view->WindowActivated(active);
		activate_views(BPrivate::view_data(view).children, active);
	}
}


static bool
handle_shortcut(BWindow* window, uint32 rawChar, uint32 modifiers)
{
	WindowData& data = BPrivate::window_data(window);
	const uint32 extra = B_SHIFT_KEY | B_CONTROL_KEY | B_OPTION_KEY;
	for (const WindowData::Shortcut& shortcut : data.shortcuts) {
		if (std::tolower((int)shortcut.key) == std::tolower((int)rawChar)
			&& (shortcut.modifiers & extra) == (modifiers & extra)) {
			window->PostMessage(shortcut.message.get(),
				shortcut.target != NULL ? shortcut.target : window);
			return true;
		}
	}
	if (data.keyMenuBar == NULL)
		return false;
	BMenuItem* item = BPrivate::find_menu_shortcut(data.keyMenuBar, rawChar, modifiers);
	if (item == NULL)
		return false;
	BPrivate::choose_menu_item(item);
	return true;
}


// A view that wants Enter for itself rather than the default button.
static bool
takes_enter(BView* view)
{
	if (dynamic_cast<BButton*>(view) != NULL)
		return true;
	QWidget* native = BPrivate::native_widget(view);
	return native != NULL
		&& (native->inherits("QTextEdit") || native->inherits("QPlainTextEdit"));
}


static void
handle_key_down(BWindow* window, BMessage* message, BHandler* handler)
{
	WindowData& data = BPrivate::window_data(window);
	int32 rawChar = 0;
	int32 modifiers = 0;
	message->FindInt32("raw_char", &rawChar);
	message->FindInt32("modifiers", &modifiers);
	if ((modifiers & B_COMMAND_KEY) != 0 && handle_shortcut(window, rawChar, modifiers))
		return;

	BView* view = dynamic_cast<BView*>(handler);
	if (view == NULL || view->Window() != window) {
		window->BLooper::DispatchMessage(message, handler);
		return;
	}
	BButton* button = data.defaultButton;
	if (rawChar == B_ENTER && button != NULL && button->IsEnabled() && !takes_enter(view)) {
		button->Invoke();
		return;
	}
	const char* bytes = "";
	message->FindString("bytes", &bytes);
	view->KeyDown(bytes, (int32)strlen(bytes));
}


// The view a message for the window itself is about: the one under its
// "where" (window coordinates), with "where" turned into its coordinates.
static BView*
resolve_pointer_target(BWindow* window, BMessage* message)
{
	BPoint where;
	if (message->FindPoint("where", &where) != B_OK)
		return NULL;
	BView* view = window->FindView(where);
	if (view == NULL)
		return NULL;
	BPoint local = window->ConvertToScreen(where);
	view->ConvertFromScreen(&local);
	message->ReplacePoint("where", local);
	return view;
}


void
BWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	WindowData& data = *fData;
	switch (message->what) {
		case B_MOUSE_DOWN:
		case B_MOUSE_UP:
		case B_MOUSE_MOVED:
		{
			// Made from Qt input, the message's state is no longer ahead of
			// the handler, and "current" already holds it or a newer one.
			int64 serial;
			const bool fromQt
				= message->FindInt64(BPrivate::kPointerSerialField, &serial) == B_OK;
			if (fromQt)
				data.input.Dispatching(serial);
			BView* view = dynamic_cast<BView*>(handler);
			if (view == NULL && handler == this)
				view = resolve_pointer_target(this, message);
			if (view == NULL || view->Window() != this)
				break;
			BPoint where;
			message->FindPoint("where", &where);
			int32 buttons = 0;
			int32 modifiers = 0;
			message->FindInt32("buttons", &buttons);
			message->FindInt32("modifiers", &modifiers);
			BPoint screen;
			if (message->FindPoint("screen_where", &screen) != B_OK)
				screen = view->ConvertToScreen(where);
			if (message->what == B_MOUSE_DOWN && !message->HasInt32("clicks")) {
				message->AddInt32("clicks",
					data.input.clicks.Press(system_time(), screen, (uint32)buttons));
			}
			// Messages a test (or a filter) made count like real input.
			if (!fromQt && data.input.pumping == 0) {
				PointerState& current = data.input.current;
				current.screenWhere = screen;
				current.buttons = (uint32)buttons;
				current.modifiers = (uint32)modifiers;
			}
			if (message->what == B_MOUSE_DOWN) {
				view->MouseDown(where);
			} else if (message->what == B_MOUSE_UP) {
				view->MouseUp(where);
			} else {
				int32 transit = B_INSIDE_VIEW;
				message->FindInt32("be:transit", &transit);
				view->MouseMoved(where, (uint32)transit, NULL);
			}
			return;
		}
		case B_KEY_DOWN:
		{
			handle_key_down(this, message, handler);
			int64 nativeKey;
			if (message->FindInt64("be:native_key", &nativeKey) == B_OK)
				data.nativeKeys.erase(nativeKey);
			return;
		}
		case B_KEY_UP:
		{
			BView* view = dynamic_cast<BView*>(handler);
			if (view == NULL || view->Window() != this)
				break;
			const char* bytes = "";
			message->FindString("bytes", &bytes);
			view->KeyUp(bytes, (int32)strlen(bytes));
			return;
		}
		case B_WINDOW_ACTIVATED:
		{
			if (handler != this)
				break;
			bool active = false;
			message->FindBool("active", &active);
			data.active = active;
			WindowActivated(active);
			activate_views(data.children, active);
			return;
		}
		case B_WINDOW_RESIZED:
			if (handler != this)
				break;
			FrameResized(data.frame.Width(), data.frame.Height());
			return;
		case B_WINDOW_MOVED:
			if (handler != this)
				break;
			FrameMoved(data.frame.LeftTop());
			return;
		case B_VIEW_RESIZED:
		case B_VIEW_MOVED:
		{
			BView* view = dynamic_cast<BView*>(handler);
			if (view == NULL)
				break;
			if (message->what == B_VIEW_RESIZED)
				view->FrameResized(view->Frame().Width(), view->Frame().Height());
			else
				view->FrameMoved(view->Frame().LeftTop());
			return;
		}
		case B_WORKSPACE_ACTIVATED:
		{
			if (handler != this)
				break;
			int32 workspace = 0;
			bool active = false;
			message->FindInt32("workspace", &workspace);
			message->FindBool("active", &active);
			WorkspaceActivated(workspace, active);
			return;
		}
		default:
			break;
	}
	BLooper::DispatchMessage(message, handler);
}


// #pragma mark - BView input calls


void
BView::GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue)
{
	BWindow* window = Window();
	PointerState state;
	if (window != NULL) {
		BPrivate::PointerInput& input = BPrivate::window_data(window).input;
		if (on_gui_thread()) {
			// Input that arrives now is read here, not dispatched.
			input.pumping++;
			QCoreApplication::processEvents(QEventLoop::AllEvents);
			input.pumping--;
		}
		state = input.current;
		if (checkMessageQueue && !input.unread.empty()) {
			state = input.unread.front().state;
			input.unread.pop_front();
		} else if (!checkMessageQueue) {
			input.unread.clear();
		}
	}
	if (location != NULL) {
		*location = state.screenWhere;
		if (window != NULL)
			ConvertFromScreen(location);
	}
	if (buttons != NULL)
		*buttons = state.buttons;
}


void
BView::DragMessage(BMessage* message, BRect dragRect, BHandler* replyTo)
{
	BWindow* window = Window();
	if (message == NULL || window == NULL || !on_gui_thread())
		return;
	(void)replyTo;
	const ssize_t size = message->FlattenedSize();
	if (size <= 0)
		return;
	QByteArray flat(size, 0);
	if (message->Flatten(flat.data(), size) != B_OK)
		return;

	QMimeData* mime = new QMimeData;
	mime->setData(kMessageMimeType, flat);
	// Dropped in another program, a drag of files is a plain file drag.
	QList<QUrl> urls;
	entry_ref ref;
	for (int32 i = 0; message->FindRef("refs", i, &ref) == B_OK; i++) {
		BPath path(&ref);
		if (path.InitCheck() == B_OK)
			urls.append(QUrl::fromLocalFile(QString::fromUtf8(path.Path())));
	}
	if (!urls.isEmpty())
		mime->setUrls(urls);

	const QRect outline = BPrivate::to_qrect(dragRect);
	QPixmap image(std::max(1, outline.width()), std::max(1, outline.height()));
	image.fill(Qt::transparent);
	{
		QPainter painter(&image);
		painter.setPen(QColor(0, 0, 0, 160));
		painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
	}
	BPoint pointer = BPrivate::window_data(window).input.current.screenWhere;
	ConvertFromScreen(&pointer);
	const QPoint hotSpot((int)(pointer.x - dragRect.left), (int)(pointer.y - dragRect.top));

	QDrag* drag = new QDrag(BPrivate::view_widget(this));
	drag->setMimeData(mime);
	drag->setPixmap(image);
	drag->setHotSpot(hotSpot);
	// The original returns at once and the drag goes on from the event
	// loop; QDrag::exec() would block the handler.
	QPointer<QDrag> pending(drag);
	QMetaObject::invokeMethod(QCoreApplication::instance(), [pending] {
		if (pending != nullptr) {
			pending->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
			pending->deleteLater();
		}
	}, Qt::QueuedConnection);
}


void
BView::DragMessage(BMessage* message, BBitmap*, BPoint offset, BHandler* replyTo)
{
	BRect rect(0, 0, 15, 15);
	BPoint pointer;
	GetMouse(&pointer, NULL, false);
	rect.OffsetTo(pointer - offset);
	DragMessage(message, rect, replyTo);
}
