#include "InterfaceKit.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <vector>

#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QMetaObject>
#include <QPixmap>
#include <QThread>
#include <QWidget>

#include <ExecutableResources.h>
#include <InterfaceDefs.h>
#include <Messenger.h>
#include <Resources.h>
#include <View.h>
#include <Window.h>

#include "ModifiersSource.h"
#include "QtDispatcher.h"
#include "ViewQt.h"

#if VANTU_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace BPrivate {

namespace {

struct KitState {
	std::mutex lock;
	QApplication* application = NULL;
	QtDispatcher* dispatcher = NULL;
	// QApplication keeps references to these for its whole life.
	int argc = 1;
	char* argv[2] = {const_cast<char*>("vantu"), NULL};
	std::string taskBarLabel;
	std::map<const BWindow*, int32> priorities;
	QMetaObject::Connection sessionEnd;
};


KitState&
kit()
{
	static KitState* state = new KitState;
	return *state;
}


#if VANTU_HAVE_X11
// The X server knows the keys held even when no window of ours has the
// focus, and before and after the GUI application exists.
bool
x11_modifiers(uint32* result)
{
	static std::mutex lock;
	static Display* display = NULL;
	static bool tried = false;
	std::lock_guard<std::mutex> guard(lock);
	if (!tried) {
		tried = true;
		display = XOpenDisplay(NULL);
	}
	if (display == NULL)
		return false;

	Window root;
	Window child;
	int rootX;
	int rootY;
	int x;
	int y;
	unsigned int mask;
	if (!XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX,
			&rootY, &x, &y, &mask)) {
		return false;
	}
	// Qt's names for the keys, so that both sources map them the same way.
	Qt::KeyboardModifiers held;
	held.setFlag(Qt::ShiftModifier, (mask & ShiftMask) != 0);
	held.setFlag(Qt::ControlModifier, (mask & ControlMask) != 0);
	held.setFlag(Qt::AltModifier, (mask & Mod1Mask) != 0);
	held.setFlag(Qt::MetaModifier, (mask & Mod4Mask) != 0);
	uint32 keys = be_modifiers(held);
	if ((mask & LockMask) != 0)
		keys |= B_CAPS_LOCK;
	if ((mask & Mod2Mask) != 0)
		keys |= B_NUM_LOCK;
	*result = keys;
	return true;
}
#endif


uint32
query_modifiers()
{
#if VANTU_HAVE_X11
	uint32 keys;
	if (x11_modifiers(&keys))
		return keys;
#endif
	// Without an X server only the GUI application knows, from the input
	// it has seen; Qt's query must run on the GUI thread.
	if (QGuiApplication::instance() != NULL
		&& QThread::currentThread() == QGuiApplication::instance()->thread()) {
		return be_modifiers(QGuiApplication::queryKeyboardModifiers());
	}
	return 0;
}


// modifiers() answers from the start of the process on, also for static
// constructors that run after this one and before main().
const bool sModifiersInstalled
	= (set_modifiers_source(&query_modifiers), true);


// What Qt says while the GUI application starts, held back until it is known
// whether a platform (the display connection) started.
struct StartMessage {
	QtMsgType type;
	const char* category;
	QString text;
};

std::mutex sStartMessagesLock;
std::vector<StartMessage> sStartMessages;


// Without a platform Qt ends the process with abort() and a hint to
// reinstall the application, whatever the cause; the user rather needs to
// know that no display was found and what to do about it.
void
hold_start_message(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
	if (type == QtFatalMsg) {
		fflush(stdout);
		fputs("no graphical display: set DISPLAY, or use QT_QPA_PLATFORM=offscreen\n", stderr);
		// Not exit(): the half-built application must not be destroyed.
		_exit(1);
	}
	std::lock_guard<std::mutex> guard(sStartMessagesLock);
	sStartMessages.push_back({type, context.category, text});
}


void
apply_application_icon()
{
	BResources* resources = executable_resources();
	QIcon icon;
	type_code type;
	int32 id;
	const char* name;
	size_t size;
	for (int32 i = 0; resources->GetResourceInfo(i, &type, &id, &name, &size); i++) {
		if (type != kApplicationIconType)
			continue;
		const void* data = resources->LoadResource(type, id, &size);
		QPixmap image;
		if (data != NULL && image.loadFromData(static_cast<const uchar*>(data), (uint)size))
			icon.addPixmap(image);
	}
	if (!icon.isNull())
		QApplication::setWindowIcon(icon);
}


QApplication*
start_application(int& argc, char** argv)
{
	const QtMessageHandler previous = qInstallMessageHandler(&hold_start_message);
	QApplication* application = new QApplication(argc, argv);
	qInstallMessageHandler(previous);
	std::vector<StartMessage> held;
	{
		std::lock_guard<std::mutex> guard(sStartMessagesLock);
		held.swap(sStartMessages);
	}
	for (const StartMessage& message : held)
		previous(message.type, QMessageLogContext(NULL, 0, NULL, message.category), message.text);
	return application;
}

}	// namespace


void
init_interface_kit(int& argc, char** argv)
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	if (state.application != NULL)
		return;
	set_modifiers_source(&query_modifiers);
	if (QApplication::instance() == NULL) {
		state.application = start_application(argc, argv);
		// Windows close only through their looper (B_QUIT_REQUESTED).
		state.application->setQuitOnLastWindowClosed(false);
	}
	apply_application_icon();
	state.dispatcher = new QtDispatcher;
	set_main_thread_dispatcher(state.dispatcher);
}


void
ensure_interface_kit()
{
	if (interface_kit_initialized())
		return;
	KitState& state = kit();
	init_interface_kit(state.argc, state.argv);
}


bool
interface_kit_initialized()
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	return state.application != NULL;
}


void
shutdown_interface_kit()
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	if (state.application == NULL)
		return;
	set_main_thread_dispatcher(NULL);
	delete state.application;
	state.application = NULL;
	delete state.dispatcher;
	state.dispatcher = NULL;
}


static status_t
write_png(QWidget* widget, const char* path)
{
	if (widget == NULL || path == NULL)
		return B_BAD_VALUE;
	QApplication::processEvents();
	QPixmap pixmap = widget->grab();
	if (pixmap.isNull())
		return B_ERROR;
	return pixmap.save(QString::fromUtf8(path), "PNG") ? B_OK : B_IO_ERROR;
}


status_t
grab_window_png(BWindow* window, const char* path)
{
	return write_png(window != NULL ? window_widget(window) : NULL, path);
}


status_t
grab_view_png(BView* view, const char* path)
{
	return write_png(view != NULL ? view_widget(view) : NULL, path);
}


void
set_task_bar_label(const char* label)
{
	KitState& state = kit();
	{
		std::lock_guard<std::mutex> guard(state.lock);
		state.taskBarLabel = label != NULL ? label : "";
	}
	const QString text = QString::fromStdString(task_bar_label());
	for (QWidget* widget : QApplication::topLevelWidgets()) {
		if (widget->property("vantu_window").toBool())
			widget->setWindowIconText(text);
	}
}


std::string
task_bar_label()
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	return state.taskBarLabel;
}


void
set_session_end_target(const BMessenger& target, uint32 what)
{
	QApplication* application = qobject_cast<QApplication*>(QApplication::instance());
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	QObject::disconnect(state.sessionEnd);
	if (application == NULL || !target.IsValid())
		return;
	// The session manager waits for this signal's handler; the program only
	// posts, and saves while it quits.
	state.sessionEnd = QObject::connect(application, &QGuiApplication::commitDataRequest,
		application, [target, what]() { target.SendMessage(what); });
}


void
record_window_priority(BWindow* window, int32 priority)
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	state.priorities[window] = priority;
}


int32
window_priority(const BWindow* window)
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	auto found = state.priorities.find(window);
	return found != state.priorities.end() ? found->second : -1;
}


void
forget_window_priority(const BWindow* window)
{
	KitState& state = kit();
	std::lock_guard<std::mutex> guard(state.lock);
	state.priorities.erase(window);
}

}
