#include <View.h>

#include <algorithm>
#include <cstring>

#include <QCoreApplication>
#include <QWidget>

#include <AppDefs.h>
#include <Bitmap.h>
#include <Message.h>
#include <Window.h>

#include "ConversionForms.h"
#include "InterfaceKit.h"
#include "InterfaceQt.h"

using BPrivate::ViewData;

B_REGISTER_ARCHIVABLE_CLASS(BView);

class BView::Private {
public:
	static ViewData& Data(const BView* view) { return *view->fData; }
};


BPrivate::ViewData&
BPrivate::view_data(const BView* view)
{
	return BView::Private::Data(view);
}


QWidget*
BPrivate::view_widget(const BView* view)
{
	return view != NULL ? view_data(view).widget : NULL;
}


QWidget*
BPrivate::native_widget(const BView* view)
{
	return view != NULL ? view_data(view).native : NULL;
}


void
BPrivate::set_native_widget(BView* view, QWidget* native)
{
	ViewData& data = view_data(view);
	if (data.native == native)
		return;
	QWidget* old = data.native;
	data.native = native;
	QWidget* widget = data.widget;
	run_on_gui_thread([old, native, widget] {
		delete old;
		if (native == NULL)
			return;
		native->setParent(widget);
		native->setGeometry(widget->rect());
		native->installEventFilter(widget);
		// Pointer movement inside the native widget still reaches the view.
		native->setMouseTracking(true);
		for (QWidget* inner : native->findChildren<QWidget*>()) {
			inner->installEventFilter(widget);
			inner->setMouseTracking(true);
		}
		native->show();
	});
}


void
BPrivate::add_scroll_listener(BView* view, const void* owner,
	std::function<void(BPoint origin)> listener)
{
	remove_scroll_listener(view, owner);
	view_data(view).scrollListeners.emplace_back(owner, std::move(listener));
}


void
BPrivate::remove_scroll_listener(BView* view, const void* owner)
{
	std::erase_if(view_data(view).scrollListeners,
		[owner](const auto& listener) { return listener.first == owner; });
}


static void
apply_view_hidden(BView* view)
{
	ViewData& data = BPrivate::view_data(view);
	const bool shown = data.hideCount == 0
		&& (data.parent != NULL || data.window != NULL || data.bitmap != NULL);
	QWidget* widget = data.widget;
	BPrivate::run_on_gui_thread([widget, shown] { widget->setVisible(shown); });
}


void
BPrivate::place_view_widget(BView* view)
{
	ViewData& data = view_data(view);
	BPoint parentOrigin = data.parent != NULL ? view_data(data.parent).origin : B_ORIGIN;
	BRect frame = data.frame;
	frame.OffsetBy(-parentOrigin.x, -parentOrigin.y);
	const QRect geometry = to_qrect(frame);
	QWidget* widget = data.widget;
	run_on_gui_thread([widget, geometry] { widget->setGeometry(geometry); });
}


void
BPrivate::post_frame_events(BView* view, bool moved, bool resized)
{
	ViewData& data = view_data(view);
	if ((data.flags & B_FRAME_EVENTS) == 0 || data.window == NULL)
		return;
	if (moved) {
		BMessage message(B_VIEW_MOVED);
		message.AddInt64("when", system_time());
		message.AddPoint("where", data.frame.LeftTop());
		data.window->PostMessage(&message, view);
	}
	if (resized) {
		BMessage message(B_VIEW_RESIZED);
		message.AddInt64("when", system_time());
		message.AddFloat("width", data.frame.Width());
		message.AddFloat("height", data.frame.Height());
		data.window->PostMessage(&message, view);
	}
}


static float
edge_shift(uint32 rule, uint32 nearRule, uint32 farRule, float delta)
{
	if (rule == farRule)
		return delta;
	if (rule == _VIEW_CENTER_)
		return delta / 2;
	(void)nearRule;
	return 0;
}


static void
set_view_frame(BView* view, BRect frame)
{
	ViewData& data = BPrivate::view_data(view);
	const BRect old = data.frame;
	if (frame == old)
		return;
	data.frame = frame;
	BPrivate::place_view_widget(view);
	const float dw = frame.Width() - old.Width();
	const float dh = frame.Height() - old.Height();
	if (dw != 0 || dh != 0)
		BPrivate::follow_parent_resize(data.window, view, dw, dh);
	BPrivate::post_frame_events(view, frame.LeftTop() != old.LeftTop(), dw != 0 || dh != 0);
}


void
BPrivate::follow_parent_resize(BWindow* window, BView* view, float dw, float dh)
{
	const std::vector<BView*>& children = view != NULL
		? view_data(view).children : window_data(window).children;
	// A child's own resize may not change the list, but copy it anyway:
	// hooks run from posted messages, never from here.
	const std::vector<BView*> list = children;
	for (BView* child : list) {
		const uint32 mode = view_data(child).resizingMode;
		BRect frame = view_data(child).frame;
		frame.left += edge_shift((mode >> 8) & 0xf, _VIEW_LEFT_, _VIEW_RIGHT_, dw);
		frame.right += edge_shift(mode & 0xf, _VIEW_LEFT_, _VIEW_RIGHT_, dw);
		frame.top += edge_shift((mode >> 12) & 0xf, _VIEW_TOP_, _VIEW_BOTTOM_, dh);
		frame.bottom += edge_shift((mode >> 4) & 0xf, _VIEW_TOP_, _VIEW_BOTTOM_, dh);
		set_view_frame(child, frame);
	}
}


// #pragma mark - construction


BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
	:
	BHandler(name),
	fData(std::make_unique<ViewData>())
{
	BPrivate::ensure_interface_kit();
	fData->view = this;
	fData->frame = frame;
	fData->resizingMode = resizingMode;
	fData->flags = flags;
	fData->font = *be_plain_font;
	fData->widget = BPrivate::run_on_gui_thread([this] {
		BPrivate::ViewWidget* widget = new BPrivate::ViewWidget(this);
		widget->hide();
		return widget;
	});
	SetFlags(flags);
	BPrivate::place_view_widget(this);
}


static rgb_color
archived_color(BMessage* archive, const char* name, rgb_color fallback)
{
	const void* data;
	ssize_t size;
	if (archive->FindData(name, B_RGB_COLOR_TYPE, &data, &size) == B_OK
		&& size == sizeof(rgb_color)) {
		rgb_color color;
		memcpy(&color, data, sizeof(color));
		return color;
	}
	return fallback;
}


BView::BView(BMessage* archive)
	:
	BView(BRect(), NULL, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0)
{
	if (archive == NULL)
		return;
	const char* name;
	if (archive->FindString("_name", &name) == B_OK)
		SetName(name);
	BRect frame;
	if (archive->FindRect("_frame", &frame) == B_OK)
		fData->frame = frame;
	int32 value;
	if (archive->FindInt32("_resize_mode", &value) == B_OK)
		fData->resizingMode = (uint32)value;
	if (archive->FindInt32("_flags", &value) == B_OK)
		SetFlags((uint32)value);
	fData->viewColor = archived_color(archive, "_view_color", fData->viewColor);
	fData->highColor = archived_color(archive, "_high_color", fData->highColor);
	fData->lowColor = archived_color(archive, "_low_color", fData->lowColor);
	float size;
	if (archive->FindFloat("_font_size", &size) == B_OK)
		fData->font.SetSize(size);
	bool hidden;
	if (archive->FindBool("_hidden", &hidden) == B_OK && hidden)
		fData->hideCount = 1;
	BPrivate::place_view_widget(this);

	BMessage childArchive;
	for (int32 i = 0; archive->FindMessage("_views", i, &childArchive) == B_OK; i++) {
		BArchivable* object = instantiate_object(&childArchive);
		BView* child = dynamic_cast<BView*>(object);
		if (child != NULL)
			AddChild(child);
		else
			delete object;
	}
}


BView::~BView()
{
	if (fData->parent != NULL || fData->window != NULL || fData->bitmap != NULL)
		RemoveSelf();
	while (!fData->children.empty()) {
		BView* child = fData->children.back();
		RemoveChild(child);
		delete child;
	}
	QWidget* native = fData->native;
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([native, widget] {
		delete native;
		delete widget;
	});
	fData->native = NULL;
}


BArchivable*
BView::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "BView"))
		return NULL;
	return new BView(archive);
}


status_t
BView::Archive(BMessage* archive, bool deep) const
{
	status_t status = BHandler::Archive(archive, deep);
	if (status != B_OK)
		return status;
	archive->AddRect("_frame", fData->frame);
	archive->AddInt32("_resize_mode", (int32)fData->resizingMode);
	archive->AddInt32("_flags", (int32)fData->flags);
	archive->AddData("_view_color", B_RGB_COLOR_TYPE, &fData->viewColor, sizeof(rgb_color));
	archive->AddData("_high_color", B_RGB_COLOR_TYPE, &fData->highColor, sizeof(rgb_color));
	archive->AddData("_low_color", B_RGB_COLOR_TYPE, &fData->lowColor, sizeof(rgb_color));
	archive->AddFloat("_font_size", fData->font.Size());
	if (fData->hideCount > 0)
		archive->AddBool("_hidden", true);
	if (!deep)
		return B_OK;
	for (BView* child : fData->children) {
		BMessage childArchive;
		status = child->Archive(&childArchive, true);
		if (status != B_OK)
			return status;
		archive->AddMessage("_views", &childArchive);
	}
	return B_OK;
}


// #pragma mark - hooks


void BView::AttachedToWindow() {}
void BView::AllAttached() {}
void BView::DetachedFromWindow() {}
void BView::AllDetached() {}
void BView::Draw(BRect) {}
void BView::DrawAfterChildren(BRect) {}
void BView::MouseUp(BPoint) {}
void BView::MouseMoved(BPoint, uint32, const BMessage*) {}
void BView::WindowActivated(bool) {}
void BView::KeyUp(const char*, int32) {}
void BView::Pulse() {}
void BView::FrameMoved(BPoint) {}
void BView::FrameResized(float, float) {}


void
BView::MouseDown(BPoint)
{
}


static QWidget*
next_navigable(QWidget* start, bool forward)
{
	QWidget* window = start->window();
	QWidget* widget = start;
	while (true) {
		widget = forward ? widget->nextInFocusChain() : widget->previousInFocusChain();
		if (widget == NULL || widget == start)
			return NULL;
		if ((widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isEnabled()
			&& widget->window() == window && widget->isVisibleTo(window)) {
			return widget;
		}
	}
}


void
BView::KeyDown(const char* bytes, int32 numBytes)
{
	BWindow* window = Window();
	if (window == NULL)
		return;
	BMessage* message = window->CurrentMessage();
	int64 nativeKey;
	if (fData->native != NULL && message != NULL
		&& message->FindInt64("be:native_key", &nativeKey) == B_OK) {
		BPrivate::WindowData& windowData = BPrivate::window_data(window);
		auto found = windowData.nativeKeys.find(nativeKey);
		if (found != windowData.nativeKeys.end()) {
			std::unique_ptr<QKeyEvent> event = std::move(found->second);
			windowData.nativeKeys.erase(found);
			QWidget* native = fData->native;
			BPrivate::run_on_gui_thread([native, &event, &windowData] {
				QWidget* receiver = native->focusWidget() != NULL
					? native->focusWidget() : native;
				event->setAccepted(false);
				// What the native widget leaves travels up to the view's
				// widget, which must not turn it into a message again.
				windowData.passingKey = true;
				QCoreApplication::sendEvent(receiver, event.get());
				windowData.passingKey = false;
			});
		}
		return;
	}
	// Tab moves the focus along the navigable views, as Qt orders them.
	if (numBytes == 1 && bytes[0] == B_TAB) {
		int32 mods = 0;
		if (message != NULL)
			message->FindInt32("modifiers", &mods);
		const bool backward = (mods & B_SHIFT_KEY) != 0;
		QWidget* widget = fData->widget;
		BPrivate::run_on_gui_thread([widget, backward] {
			QWidget* next = next_navigable(widget, !backward);
			if (next != NULL)
				next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
		});
	}
}


void
BView::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case B_VIEW_RESIZED:
			FrameResized(fData->frame.Width(), fData->frame.Height());
			return;
		case B_VIEW_MOVED:
			FrameMoved(fData->frame.LeftTop());
			return;
		default:
			BHandler::MessageReceived(message);
	}
}


// #pragma mark - hierarchy


static void
attach_to_window(BView* view, BWindow* window)
{
	ViewData& data = BPrivate::view_data(view);
	data.window = window;
	window->AddHandler(view);
	view->SetNextHandler(data.parent != NULL ? (BHandler*)data.parent : (BHandler*)window);
	view->AttachedToWindow();
	for (BView* child : std::vector<BView*>(data.children))
		attach_to_window(child, window);
}


static void
all_attached(BView* view)
{
	for (BView* child : std::vector<BView*>(BPrivate::view_data(view).children))
		all_attached(child);
	view->AllAttached();
}


static void
detach_from_window(BView* view)
{
	view->DetachedFromWindow();
	for (BView* child : std::vector<BView*>(BPrivate::view_data(view).children))
		detach_from_window(child);
}


static void
all_detached(BView* view)
{
	ViewData& data = BPrivate::view_data(view);
	for (BView* child : std::vector<BView*>(data.children))
		all_detached(child);
	view->AllDetached();
	BWindow* window = data.window;
	BPrivate::WindowData& windowData = BPrivate::window_data(window);
	if (windowData.focus == view)
		windowData.focus = NULL;
	if (windowData.input.mouseView == view)
		windowData.input.mouseView = NULL;
	std::erase(windowData.input.maskedViews, view);
	if (window->PreferredHandler() == view)
		window->SetPreferredHandler(NULL);
	window->RemoveHandler(view);
	data.window = NULL;
}


void
BPrivate::attach_view(BView* view, BWindow* window)
{
	attach_to_window(view, window);
	all_attached(view);
}


void
BPrivate::detach_view(BView* view)
{
	if (view_data(view).window == NULL)
		return;
	detach_from_window(view);
	all_detached(view);
}


void
BView::AddChild(BView* child, BView* before)
{
	BPrivate::assert_window_locked(this);
	if (child == NULL || child == this || child->fData->parent != NULL
		|| child->fData->window != NULL || child->fData->bitmap != NULL) {
		return;
	}
	auto position = std::find(fData->children.begin(), fData->children.end(), before);
	fData->children.insert(position, child);
	child->fData->parent = this;
	QWidget* widget = child->fData->widget;
	QWidget* parent = fData->widget;
	QWidget* under = before != NULL ? before->fData->widget : NULL;
	BPrivate::run_on_gui_thread([widget, parent, under] {
		widget->setParent(parent);
		if (under != NULL)
			widget->stackUnder(under);
	});
	BPrivate::place_view_widget(child);
	apply_view_hidden(child);
	if (fData->window != NULL)
		BPrivate::attach_view(child, fData->window);
}


bool
BView::RemoveChild(BView* child)
{
	BPrivate::assert_window_locked(this);
	if (child == NULL || child->fData->parent != this)
		return false;
	BPrivate::detach_view(child);
	std::erase(fData->children, child);
	child->fData->parent = NULL;
	child->SetNextHandler(NULL);
	QWidget* widget = child->fData->widget;
	BPrivate::run_on_gui_thread([widget] {
		widget->hide();
		widget->setParent(NULL);
	});
	return true;
}


int32
BView::CountChildren() const
{
	return (int32)fData->children.size();
}


BView*
BView::ChildAt(int32 index) const
{
	if (index < 0 || index >= CountChildren())
		return NULL;
	return fData->children[index];
}


static BView*
sibling(const BView* view, int32 step)
{
	const ViewData& data = BPrivate::view_data(view);
	const std::vector<BView*>& list = data.parent != NULL
		? BPrivate::view_data(data.parent).children
		: data.window != NULL ? BPrivate::window_data(data.window).children
		: std::vector<BView*>();
	auto found = std::find(list.begin(), list.end(), view);
	if (found == list.end())
		return NULL;
	const int64 index = (found - list.begin()) + step;
	return index >= 0 && index < (int64)list.size() ? list[index] : NULL;
}


BView*
BView::NextSibling() const
{
	return sibling(this, 1);
}


BView*
BView::PreviousSibling() const
{
	return sibling(this, -1);
}


bool
BView::RemoveSelf()
{
	if (fData->parent != NULL)
		return fData->parent->RemoveChild(this);
	if (fData->window != NULL)
		return fData->window->RemoveChild(this);
	if (fData->bitmap != NULL)
		return fData->bitmap->RemoveChild(this);
	return false;
}


BWindow*
BView::Window() const
{
	return fData->window;
}


BView*
BView::Parent() const
{
	return fData->parent;
}


BView*
BView::FindView(const char* name) const
{
	if (name == NULL)
		return NULL;
	if (Name() != NULL && strcmp(Name(), name) == 0)
		return const_cast<BView*>(this);
	for (BView* child : fData->children) {
		BView* found = child->FindView(name);
		if (found != NULL)
			return found;
	}
	return NULL;
}


// #pragma mark - state


status_t
BView::SetEventMask(uint32 mask, uint32 options)
{
	BPrivate::assert_window_locked(this);
	fData->eventMask = mask;
	fData->eventOptions = options;
	fData->eventMaskUntilRelease = false;
	if (fData->window != NULL) {
		std::vector<BView*>& masked = BPrivate::window_data(fData->window).input.maskedViews;
		std::erase(masked, this);
		if ((mask & B_POINTER_EVENTS) != 0)
			masked.push_back(this);
	}
	return B_OK;
}


uint32
BView::EventMask()
{
	return fData->eventMask;
}


status_t
BView::SetMouseEventMask(uint32 mask, uint32 options)
{
	status_t status = SetEventMask(fData->eventMask | mask, options);
	fData->eventMaskUntilRelease = true;
	return status;
}


void
BView::SetFlags(uint32 flags)
{
	BPrivate::assert_window_locked(this);
	fData->flags = flags;
	QWidget* widget = fData->widget;
	const Qt::FocusPolicy policy = (flags & B_NAVIGABLE) != 0 ? Qt::TabFocus : Qt::NoFocus;
	BPrivate::run_on_gui_thread([widget, policy] { widget->setFocusPolicy(policy); });
}


uint32
BView::Flags() const
{
	return fData->flags;
}


void
BView::SetResizingMode(uint32 mode)
{
	BPrivate::assert_window_locked(this);
	fData->resizingMode = mode;
}


uint32
BView::ResizingMode() const
{
	return fData->resizingMode;
}


void
BView::MoveBy(float dx, float dy)
{
	MoveTo(fData->frame.left + dx, fData->frame.top + dy);
}


void
BView::MoveTo(BPoint where)
{
	MoveTo(where.x, where.y);
}


void
BView::MoveTo(float x, float y)
{
	BPrivate::assert_window_locked(this);
	BRect frame = fData->frame;
	frame.OffsetTo(x, y);
	set_view_frame(this, frame);
}


void
BView::ResizeBy(float dh, float dv)
{
	ResizeTo(fData->frame.Width() + dh, fData->frame.Height() + dv);
}


void
BView::ResizeTo(float width, float height)
{
	BPrivate::assert_window_locked(this);
	BRect frame = fData->frame;
	frame.right = frame.left + width;
	frame.bottom = frame.top + height;
	set_view_frame(this, frame);
}


void
BView::GetPreferredSize(float* width, float* height)
{
	if (width != NULL)
		*width = fData->frame.Width();
	if (height != NULL)
		*height = fData->frame.Height();
}


void
BView::ResizeToPreferred()
{
	float width;
	float height;
	GetPreferredSize(&width, &height);
	ResizeTo(width, height);
}


void
BView::ScrollBy(float dh, float dv)
{
	ScrollTo(fData->origin.x + dh, fData->origin.y + dv);
}


void
BView::ScrollTo(BPoint where)
{
	BPrivate::assert_window_locked(this);
	if (where == fData->origin)
		return;
	fData->origin = where;
	for (BView* child : fData->children)
		BPrivate::place_view_widget(child);
	Invalidate();
	// A listener may scroll again (a scroll bar clamping its value); it
	// works on a copy of the list.
	const auto listeners = fData->scrollListeners;
	for (const auto& listener : listeners)
		listener.second(where);
}


void
BView::ScrollTo(float x, float y)
{
	ScrollTo(BPoint(x, y));
}


void
BView::MakeFocus(bool focus)
{
	BPrivate::assert_window_locked(this);
	BWindow* window = fData->window;
	if (window == NULL)
		return;
	BPrivate::WindowData& windowData = BPrivate::window_data(window);
	QWidget* target = fData->native != NULL ? fData->native : fData->widget;
	if (focus) {
		if (windowData.focus == this)
			return;
		if (windowData.focus != NULL)
			windowData.focus->MakeFocus(false);
		windowData.focus = this;
		window->SetPreferredHandler(this);
		BPrivate::run_on_gui_thread([target] { target->setFocus(Qt::OtherFocusReason); });
	} else if (windowData.focus == this) {
		windowData.focus = NULL;
		window->SetPreferredHandler(NULL);
		BPrivate::run_on_gui_thread([target] { target->clearFocus(); });
	}
	Invalidate();
}


bool
BView::IsFocus() const
{
	return fData->window != NULL && BPrivate::window_data(fData->window).focus == this;
}


void
BView::Show()
{
	BPrivate::assert_window_locked(this);
	if (fData->hideCount > 0 && --fData->hideCount == 0)
		apply_view_hidden(this);
}


void
BView::Hide()
{
	BPrivate::assert_window_locked(this);
	if (fData->hideCount++ == 0)
		apply_view_hidden(this);
}


bool
BView::IsHidden() const
{
	return IsHidden(NULL);
}


bool
BView::IsHidden(const BView* lookingFrom) const
{
	for (const BView* view = this; view != NULL && view != lookingFrom;
			view = view->fData->parent) {
		if (view->fData->hideCount > 0)
			return true;
	}
	return lookingFrom == NULL && fData->window != NULL && fData->window->IsHidden();
}


BRect
BView::Bounds() const
{
	BRect bounds = fData->frame;
	bounds.OffsetTo(fData->origin);
	return bounds;
}


BRect
BView::Frame() const
{
	return fData->frame;
}


// #pragma mark - coordinates


void
BView::ConvertToParent(BPoint* point) const
{
	point->x += fData->frame.left - fData->origin.x;
	point->y += fData->frame.top - fData->origin.y;
}


void
BView::ConvertFromParent(BPoint* point) const
{
	point->x -= fData->frame.left - fData->origin.x;
	point->y -= fData->frame.top - fData->origin.y;
}


void
BView::ConvertToScreen(BPoint* point) const
{
	for (const BView* view = this; view != NULL; view = view->fData->parent)
		view->ConvertToParent(point);
	if (fData->window != NULL)
		fData->window->ConvertToScreen(point);
}


void
BView::ConvertFromScreen(BPoint* point) const
{
	if (fData->window != NULL)
		fData->window->ConvertFromScreen(point);
	std::vector<const BView*> chain;
	for (const BView* view = this; view != NULL; view = view->fData->parent)
		chain.push_back(view);
	for (auto view = chain.rbegin(); view != chain.rend(); ++view)
		(*view)->ConvertFromParent(point);
}


B_DEFINE_CONVERSION_FORMS(BView, ConvertToParent)
B_DEFINE_CONVERSION_FORMS(BView, ConvertFromParent)
B_DEFINE_CONVERSION_FORMS(BView, ConvertToScreen)
B_DEFINE_CONVERSION_FORMS(BView, ConvertFromScreen)


// #pragma mark - updates


void
BView::Invalidate(BRect invalRect)
{
	BPrivate::assert_window_locked(this);
	if (!invalRect.IsValid())
		return;
	invalRect.OffsetBy(-fData->origin.x, -fData->origin.y);
	const QRect area = BPrivate::to_qrect(invalRect);
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget, area] { widget->update(area); });
}


void
BView::Invalidate()
{
	Invalidate(Bounds());
}


void
BView::Flush() const
{
}


void
BView::Sync() const
{
}
