#include <Window.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QGuiApplication>
#include <QPalette>

#include <AppDefs.h>
#include <Autolock.h>
#include <Button.h>
#include <Message.h>
#include <View.h>

#include "ApplicationPrivate.h"
#include "ConversionForms.h"
#include "InterfaceKit.h"
#include "InterfaceQt.h"
#include "LooperDispatcher.h"

using BPrivate::WindowData;

class BWindow::Private {
public:
	static WindowData& Data(const BWindow* window) { return *window->fData; }
};


WindowData&
BPrivate::window_data(const BWindow* window)
{
	return BWindow::Private::Data(window);
}


QWidget*
BPrivate::window_widget(const BWindow* window)
{
	return window != NULL ? window_data(window).widget : NULL;
}


namespace {

constexpr float kLargestSize = 16000;


window_look
look_of(window_type type)
{
	switch (type) {
		case B_DOCUMENT_WINDOW:
			return B_DOCUMENT_WINDOW_LOOK;
		case B_MODAL_WINDOW:
			return B_MODAL_WINDOW_LOOK;
		case B_BORDERED_WINDOW:
			return B_BORDERED_WINDOW_LOOK;
		case B_FLOATING_WINDOW:
			return B_FLOATING_WINDOW_LOOK;
		default:
			return B_TITLED_WINDOW_LOOK;
	}
}


window_feel
feel_of(window_type type)
{
	switch (type) {
		case B_MODAL_WINDOW:
			return B_MODAL_APP_WINDOW_FEEL;
		case B_FLOATING_WINDOW:
			return B_FLOATING_APP_WINDOW_FEEL;
		default:
			return B_NORMAL_WINDOW_FEEL;
	}
}


// Offscreen (tests, screen shots) has no stacking order to change.
void
bring_to_front(QWidget* widget)
{
	if (QGuiApplication::platformName() != QLatin1String("offscreen"))
		widget->raise();
	widget->activateWindow();
}


// Qt's flags for the window's look, feel and flags.
void
apply_window_kind(WindowData& data)
{
	Qt::WindowFlags flags;
	const bool floating = data.feel == B_FLOATING_ALL_WINDOW_FEEL
		|| data.feel == B_FLOATING_APP_WINDOW_FEEL || data.feel == B_FLOATING_SUBSET_WINDOW_FEEL;
	data.border = 0;
	switch (data.look) {
		case B_BORDERED_WINDOW_LOOK:
			// A tip-like window: no decorations, never in the task bar.
			flags = (floating ? Qt::ToolTip : Qt::Tool) | Qt::FramelessWindowHint;
			data.border = 1;
			break;
		case B_NO_BORDER_WINDOW_LOOK:
			flags = Qt::Tool | Qt::FramelessWindowHint;
			break;
		case B_MODAL_WINDOW_LOOK:
			flags = Qt::Dialog;
			break;
		case B_FLOATING_WINDOW_LOOK:
			flags = Qt::Tool;
			break;
		default:
			flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
				| Qt::WindowSystemMenuHint;
			if ((data.flags & B_NOT_CLOSABLE) == 0)
				flags |= Qt::WindowCloseButtonHint;
			if ((data.flags & B_NOT_MINIMIZABLE) == 0)
				flags |= Qt::WindowMinimizeButtonHint;
			if ((data.flags & (B_NOT_ZOOMABLE | B_NOT_RESIZABLE)) == 0)
				flags |= Qt::WindowMaximizeButtonHint;
			break;
	}
	if (floating)
		flags |= Qt::WindowStaysOnTopHint;
	if ((data.flags & B_AVOID_FOCUS) != 0)
		flags |= Qt::WindowDoesNotAcceptFocus;
	const bool avoidFocus = (data.flags & B_AVOID_FOCUS) != 0;
	const bool modal = data.feel == B_MODAL_APP_WINDOW_FEEL || data.feel == B_MODAL_ALL_WINDOW_FEEL
		|| data.feel == B_MODAL_SUBSET_WINDOW_FEEL;

	const bool knob = data.look == B_DOCUMENT_WINDOW_LOOK && (data.flags & B_NOT_RESIZABLE) == 0;
	BPrivate::WindowWidget* widget = data.widget;
	BPrivate::run_on_gui_thread([widget, flags, avoidFocus, modal, knob] {
		const bool visible = widget->isVisible();
		widget->SetResizeKnob(knob);
		widget->setWindowFlags(flags);
		widget->setAttribute(Qt::WA_ShowWithoutActivating, avoidFocus);
		widget->setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
		if (visible)
			widget->show();
	});
}


// Size limits of the Qt widget: the window's, the not-resizable flags, and
// the border around the content.
void
apply_size_limits(WindowData& data)
{
	const int border = 2 * data.border;
	float minWidth = data.minWidth;
	float maxWidth = data.maxWidth;
	float minHeight = data.minHeight;
	float maxHeight = data.maxHeight;
	if ((data.flags & (B_NOT_RESIZABLE | B_NOT_H_RESIZABLE)) != 0)
		minWidth = maxWidth = data.frame.Width();
	if ((data.flags & (B_NOT_RESIZABLE | B_NOT_V_RESIZABLE)) != 0)
		minHeight = maxHeight = data.frame.Height();
	auto pixels = [](float size) {
		return (int)std::lround(std::clamp(size, 0.0f, kLargestSize)) + 1;
	};
	const QSize minimum(pixels(minWidth) + border, pixels(minHeight) + border);
	const QSize maximum(pixels(maxWidth) + border, pixels(maxHeight) + border);
	QWidget* widget = data.widget;
	BPrivate::run_on_gui_thread([widget, minimum, maximum] {
		widget->setMinimumSize(minimum);
		widget->setMaximumSize(maximum);
	});
}


void
place_window_widget(WindowData& data)
{
	apply_size_limits(data);
	QRect geometry = BPrivate::to_qrect(data.frame);
	const QRect content(data.border, data.border, geometry.width(), geometry.height());
	geometry.adjust(-data.border, -data.border, data.border, data.border);
	BPrivate::run_on_gui_thread([&data, content, geometry] {
		data.content->setGeometry(content);
		data.widget->setGeometry(geometry);
	});
}


// The Be side of a new frame: views follow, the window hears of it.
void
set_window_frame(BWindow* window, BRect frame)
{
	WindowData& data = BPrivate::window_data(window);
	const BRect old = data.frame;
	if (frame == old)
		return;
	data.frame = frame;
	const float dw = frame.Width() - old.Width();
	const float dh = frame.Height() - old.Height();
	if (dw != 0 || dh != 0) {
		BPrivate::follow_parent_resize(window, NULL, dw, dh);
		BMessage message(B_WINDOW_RESIZED);
		message.AddInt64("when", system_time());
		message.AddInt32("width", (int32)std::lround(frame.Width()));
		message.AddInt32("height", (int32)std::lround(frame.Height()));
		window->PostMessage(&message);
	}
	if (frame.LeftTop() != old.LeftTop()) {
		BMessage message(B_WINDOW_MOVED);
		message.AddInt64("when", system_time());
		message.AddPoint("where", frame.LeftTop());
		window->PostMessage(&message);
	}
}

}	// namespace


void
BPrivate::window_geometry_changed(BWindow* window)
{
	// Qt reports the window manager's moves outside any dispatch; the Be
	// frame changes under the lock, as it does in MoveTo().
	BAutolock locker(window);
	WindowData& data = window_data(window);
	if (!data.widget->isVisible())
		return;
	const QPoint origin = data.content->mapToGlobal(QPoint(0, 0));
	const QSize size = data.widget->size() - QSize(2 * data.border, 2 * data.border);
	data.content->resize(size);
	set_window_frame(window, BRect(origin.x(), origin.y(), origin.x() + size.width() - 1,
		origin.y() + size.height() - 1));
}


// #pragma mark - construction


BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags,
	uint32 workspace)
	:
	BLooper(title)
{
	_Init(frame, title, look_of(type), feel_of(type), flags, workspace);
	fData->type = type;
}


BWindow::BWindow(BRect frame, const char* title, window_look look, window_feel feel,
	uint32 flags, uint32 workspace)
	:
	BLooper(title)
{
	_Init(frame, title, look, feel, flags, workspace);
}


void
BWindow::_Init(BRect frame, const char* title, window_look look, window_feel feel,
	uint32 flags, uint32 workspace)
{
	BPrivate::ensure_interface_kit();
	fData = std::make_unique<WindowData>();
	WindowData& data = *fData;
	data.window = this;
	data.title = title != NULL ? title : "";
	data.look = look;
	data.feel = feel;
	data.flags = flags;
	data.workspaces = workspace;
	data.frame = frame;

	const std::string label = BPrivate::task_bar_label();
	BPrivate::run_on_gui_thread([this, &data, &label] {
		data.widget = new BPrivate::WindowWidget(this);
		data.widget->setWindowTitle(QString::fromStdString(data.title));
		if (!label.empty())
			data.widget->setWindowIconText(QString::fromStdString(label));
		data.content = new QWidget(data.widget);
		QPalette palette = data.content->palette();
		palette.setColor(QPalette::Window,
			BPrivate::to_qcolor(ui_color(B_PANEL_BACKGROUND_COLOR)));
		data.content->setPalette(palette);
		data.content->setAutoFillBackground(true);
		data.content->setMouseTracking(true);
		data.content->setAcceptDrops(true);
		data.content->installEventFilter(data.widget);
	});
	apply_window_kind(data);
	place_window_widget(data);

	BPrivate::set_looper_dispatcher(this, BPrivate::main_thread_dispatcher());
	BPrivate::register_window(this, this);
}


BWindow::~BWindow()
{
	WindowData& data = *fData;
	for (BView* view : std::vector<BView*>(data.children))
		BPrivate::detach_view(view);
	while (!data.children.empty()) {
		BView* view = data.children.back();
		RemoveChild(view);
		delete view;
	}
	BPrivate::unregister_window(this);
	BPrivate::forget_window_priority(this);
	BPrivate::run_on_gui_thread([&data] { delete data.widget; });
	data.widget = NULL;
}


void
BWindow::Quit()
{
	BLooper::Quit();
}


thread_id
BWindow::Run()
{
	return BLooper::Run();
}


// #pragma mark - views


void
BWindow::AddChild(BView* child, BView* before)
{
	BAutolock locker(this);
	if (child == NULL || child->Parent() != NULL || child->Window() != NULL
		|| BPrivate::view_data(child).bitmap != NULL) {
		return;
	}
	WindowData& data = *fData;
	auto position = std::find(data.children.begin(), data.children.end(), before);
	data.children.insert(position, child);
	QWidget* widget = BPrivate::view_widget(child);
	QWidget* under = BPrivate::view_widget(before);
	QWidget* content = data.content;
	BPrivate::run_on_gui_thread([widget, under, content] {
		widget->setParent(content);
		if (under != NULL)
			widget->stackUnder(under);
	});
	BPrivate::place_view_widget(child);
	const bool visible = BPrivate::view_data(child).hideCount == 0;
	BPrivate::run_on_gui_thread([widget, visible] { widget->setVisible(visible); });
	BPrivate::attach_view(child, this);
}


bool
BWindow::RemoveChild(BView* child)
{
	BAutolock locker(this);
	WindowData& data = *fData;
	auto found = std::find(data.children.begin(), data.children.end(), child);
	if (found == data.children.end())
		return false;
	BPrivate::detach_view(child);
	data.children.erase(std::find(data.children.begin(), data.children.end(), child));
	child->SetNextHandler(NULL);
	QWidget* widget = BPrivate::view_widget(child);
	BPrivate::run_on_gui_thread([widget] {
		widget->hide();
		widget->setParent(NULL);
	});
	return true;
}


int32
BWindow::CountChildren() const
{
	return (int32)fData->children.size();
}


BView*
BWindow::ChildAt(int32 index) const
{
	if (index < 0 || index >= CountChildren())
		return NULL;
	return fData->children[index];
}


BView*
BWindow::FindView(const char* viewName) const
{
	for (BView* child : fData->children) {
		BView* found = child->FindView(viewName);
		if (found != NULL)
			return found;
	}
	return NULL;
}


static BView*
view_at(const std::vector<BView*>& views, BPoint point)
{
	// Later children lie on top.
	for (auto view = views.rbegin(); view != views.rend(); ++view) {
		const BPrivate::ViewData& data = BPrivate::view_data(*view);
		if (data.hideCount > 0 || !data.frame.Contains(point))
			continue;
		BPoint local = (*view)->ConvertFromParent(point);
		BView* inner = view_at(data.children, local);
		return inner != NULL ? inner : *view;
	}
	return NULL;
}


BView*
BWindow::FindView(BPoint point) const
{
	return view_at(fData->children, point);
}


BView*
BWindow::CurrentFocus() const
{
	return fData->focus;
}


BView*
BWindow::LastMouseMovedView() const
{
	return fData->input.mouseView;
}


// #pragma mark - hooks


void BWindow::FrameMoved(BPoint) {}
void BWindow::FrameResized(float, float) {}
void BWindow::WorkspacesChanged(uint32, uint32) {}
void BWindow::WorkspaceActivated(int32, bool) {}
void BWindow::WindowActivated(bool) {}
void BWindow::MenusBeginning() {}
void BWindow::MenusEnded() {}


void
BWindow::Minimize(bool minimize)
{
	BAutolock locker(this);
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget, minimize] {
		if (minimize)
			widget->showMinimized();
		else
			widget->showNormal();
	});
}


void
BWindow::Minimize()
{
	Minimize(true);
}


void
BWindow::Zoom()
{
	BAutolock locker(this);
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget] {
		if (widget->isMaximized())
			widget->showNormal();
		else
			widget->showMaximized();
	});
}


bool
BWindow::QuitRequested()
{
	return BLooper::QuitRequested();
}


void
BWindow::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}


// #pragma mark - showing


void
BWindow::Show()
{
	if (!fData->ranLooper) {
		fData->ranLooper = true;
		Run();
		// Run() unlocked the looper the constructor locked; whoever shows
		// the window still holds it when it calls from elsewhere.
	}
	BAutolock locker(this);
	if (--fData->hideCount == 0) {
		QWidget* widget = fData->widget;
		const bool activate = (fData->flags & B_AVOID_FOCUS) == 0;
		BPrivate::run_on_gui_thread([widget, activate] {
			widget->show();
			if (activate)
				bring_to_front(widget);
		});
	}
}


void
BWindow::Hide()
{
	BAutolock locker(this);
	if (fData->hideCount++ == 0) {
		QWidget* widget = fData->widget;
		BPrivate::run_on_gui_thread([widget] { widget->hide(); });
	}
}


bool
BWindow::IsHidden() const
{
	return fData->hideCount > 0;
}


void
BWindow::Activate(bool active)
{
	BAutolock locker(this);
	if (!active || IsHidden())
		return;
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget] { bring_to_front(widget); });
}


bool
BWindow::IsActive() const
{
	return fData->active;
}


bool
BWindow::IsFront() const
{
	return IsActive();
}


// #pragma mark - geometry


void
BWindow::MoveTo(BPoint where)
{
	MoveTo(where.x, where.y);
}


void
BWindow::MoveTo(float x, float y)
{
	BAutolock locker(this);
	BRect frame = fData->frame;
	frame.OffsetTo(std::round(x), std::round(y));
	set_window_frame(this, frame);
	place_window_widget(*fData);
}


void
BWindow::MoveBy(float dx, float dy)
{
	BAutolock locker(this);
	MoveTo(fData->frame.left + dx, fData->frame.top + dy);
}


void
BWindow::ResizeTo(float width, float height)
{
	BAutolock locker(this);
	WindowData& data = *fData;
	width = std::clamp(std::round(width), data.minWidth, std::max(data.minWidth, data.maxWidth));
	height = std::clamp(std::round(height), data.minHeight,
		std::max(data.minHeight, data.maxHeight));
	BRect frame = data.frame;
	frame.right = frame.left + width;
	frame.bottom = frame.top + height;
	set_window_frame(this, frame);
	place_window_widget(data);
}


void
BWindow::ResizeBy(float dx, float dy)
{
	BAutolock locker(this);
	ResizeTo(fData->frame.Width() + dx, fData->frame.Height() + dy);
}


BRect
BWindow::Frame() const
{
	return fData->frame;
}


BRect
BWindow::Bounds() const
{
	return BRect(0, 0, fData->frame.Width(), fData->frame.Height());
}


void
BWindow::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
	BAutolock locker(this);
	WindowData& data = *fData;
	data.minWidth = std::max(0.0f, minWidth);
	data.maxWidth = std::max(data.minWidth, maxWidth);
	data.minHeight = std::max(0.0f, minHeight);
	data.maxHeight = std::max(data.minHeight, maxHeight);
	const float width = std::clamp(data.frame.Width(), data.minWidth, data.maxWidth);
	const float height = std::clamp(data.frame.Height(), data.minHeight, data.maxHeight);
	if (width != data.frame.Width() || height != data.frame.Height())
		ResizeTo(width, height);
	else
		apply_size_limits(data);
}


void
BWindow::GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight, float* maxHeight)
{
	if (minWidth != NULL)
		*minWidth = fData->minWidth;
	if (maxWidth != NULL)
		*maxWidth = fData->maxWidth;
	if (minHeight != NULL)
		*minHeight = fData->minHeight;
	if (maxHeight != NULL)
		*maxHeight = fData->maxHeight;
}


void
BWindow::SetZoomLimits(float, float)
{
}


void
BWindow::ConvertToScreen(BPoint* point) const
{
	*point += fData->frame.LeftTop();
}


void
BWindow::ConvertFromScreen(BPoint* point) const
{
	*point -= fData->frame.LeftTop();
}


B_DEFINE_CONVERSION_FORMS(BWindow, ConvertToScreen)
B_DEFINE_CONVERSION_FORMS(BWindow, ConvertFromScreen)


// #pragma mark - kind


status_t
BWindow::SetLook(window_look look)
{
	BAutolock locker(this);
	fData->look = look;
	apply_window_kind(*fData);
	place_window_widget(*fData);
	return B_OK;
}


window_look
BWindow::Look() const
{
	return fData->look;
}


status_t
BWindow::SetFeel(window_feel feel)
{
	BAutolock locker(this);
	fData->feel = feel;
	apply_window_kind(*fData);
	return B_OK;
}


window_feel
BWindow::Feel() const
{
	return fData->feel;
}


status_t
BWindow::SetFlags(uint32 flags)
{
	BAutolock locker(this);
	fData->flags = flags;
	apply_window_kind(*fData);
	apply_size_limits(*fData);
	return B_OK;
}


uint32
BWindow::Flags() const
{
	return fData->flags;
}


status_t
BWindow::SetType(window_type type)
{
	BAutolock locker(this);
	fData->type = type;
	fData->look = look_of(type);
	fData->feel = feel_of(type);
	apply_window_kind(*fData);
	place_window_widget(*fData);
	return B_OK;
}


window_type
BWindow::Type() const
{
	return fData->type;
}


uint32
BWindow::Workspaces() const
{
	return fData->workspaces;
}


void
BWindow::SetWorkspaces(uint32 workspaces)
{
	BAutolock locker(this);
	fData->workspaces = workspaces;
}


void
BWindow::SetTitle(const char* title)
{
	BAutolock locker(this);
	fData->title = title != NULL ? title : "";
	QWidget* widget = fData->widget;
	const QString text = QString::fromStdString(fData->title);
	BPrivate::run_on_gui_thread([widget, text] { widget->setWindowTitle(text); });
}


const char*
BWindow::Title() const
{
	return fData->title.c_str();
}


void
BWindow::SetDefaultButton(BButton* button)
{
	BAutolock locker(this);
	BButton* old = fData->defaultButton;
	if (old == button)
		return;
	fData->defaultButton = button;
	if (old != NULL && old->IsDefault())
		old->MakeDefault(false);
	if (button != NULL && !button->IsDefault())
		button->MakeDefault(true);
}


BButton*
BWindow::DefaultButton() const
{
	return fData->defaultButton;
}


void
BWindow::SetKeyMenuBar(BMenuBar* bar)
{
	BAutolock locker(this);
	fData->keyMenuBar = bar;
}


BMenuBar*
BWindow::KeyMenuBar() const
{
	return fData->keyMenuBar;
}


void
BWindow::AddShortcut(uint32 key, uint32 modifiers, BMessage* message, BHandler* target)
{
	if (message == NULL)
		return;
	BAutolock locker(this);
	RemoveShortcut(key, modifiers);
	fData->shortcuts.push_back(WindowData::Shortcut{key, modifiers,
		std::unique_ptr<BMessage>(message), target});
}


void
BWindow::RemoveShortcut(uint32 key, uint32 modifiers)
{
	BAutolock locker(this);
	std::erase_if(fData->shortcuts, [key, modifiers](const WindowData::Shortcut& shortcut) {
		return shortcut.key == key && shortcut.modifiers == modifiers;
	});
}


// #pragma mark - updates


void
BWindow::UpdateIfNeeded()
{
	BAutolock locker(this);
	// The views' paint events lock the window: on behalf of a caller on
	// another thread the GUI thread counts as holding the caller's lock.
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget] {
		if (widget->isVisible())
			widget->repaint();
	});
}


bool
BWindow::NeedsUpdate() const
{
	return false;
}


void
BWindow::DisableUpdates()
{
	BAutolock locker(this);
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget] { widget->setUpdatesEnabled(false); });
}


void
BWindow::EnableUpdates()
{
	BAutolock locker(this);
	QWidget* widget = fData->widget;
	BPrivate::run_on_gui_thread([widget] { widget->setUpdatesEnabled(true); });
}


void
BWindow::Flush() const
{
}


void
BWindow::Sync() const
{
}


void
BWindow::SetPulseRate(bigtime_t rate)
{
	BAutolock locker(this);
	fData->pulseRate = rate;
}


bigtime_t
BWindow::PulseRate() const
{
	return fData->pulseRate;
}
