// Drops files on a window as a file manager does, through the X drag and
// drop protocol (XDND): enter, position, drop, and the file list handed over
// as text/uri-list when the target asks for it. The end-to-end scenarios use
// it, since xdotool moves the pointer but cannot be a drag source.
//
//   vantu_xdnd_drop WINDOW X Y FILE...
//
// WINDOW is the target's top-level window id, X Y a point inside it (window
// coordinates). Exit status 0 when the target accepted and finished the drop.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <poll.h>

namespace {

constexpr long kVersion = 5;
constexpr auto kTimeout = std::chrono::seconds(20);

struct Atoms {
	Atom aware, enter, position, status, drop, finished, selection, actionCopy,
		uriList, timeProbe;

	explicit Atoms(Display* display)
		:
		aware(XInternAtom(display, "XdndAware", False)),
		enter(XInternAtom(display, "XdndEnter", False)),
		position(XInternAtom(display, "XdndPosition", False)),
		status(XInternAtom(display, "XdndStatus", False)),
		drop(XInternAtom(display, "XdndDrop", False)),
		finished(XInternAtom(display, "XdndFinished", False)),
		selection(XInternAtom(display, "XdndSelection", False)),
		actionCopy(XInternAtom(display, "XdndActionCopy", False)),
		uriList(XInternAtom(display, "text/uri-list", False)),
		timeProbe(XInternAtom(display, "VANTU_XDND_TIME", False))
	{
	}
};


std::string
file_uri(const char* path)
{
	char* real = realpath(path, nullptr);
	if (real == nullptr) {
		std::fprintf(stderr, "vantu_xdnd_drop: %s: %s\n", path, std::strerror(errno));
		std::exit(2);
	}
	std::string uri = "file://";
	for (const char* c = real; *c != '\0'; c++) {
		const unsigned char byte = (unsigned char)*c;
		if (std::isalnum(byte) || std::strchr("/-._~", byte) != nullptr) {
			uri += *c;
		} else {
			char escaped[4];
			std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
			uri += escaped;
		}
	}
	std::free(real);
	return uri;
}


void
send_message(Display* display, Window target, Atom type, long l0, long l1, long l2,
	long l3, long l4)
{
	XEvent event{};
	event.xclient.type = ClientMessage;
	event.xclient.display = display;
	event.xclient.window = target;
	event.xclient.message_type = type;
	event.xclient.format = 32;
	event.xclient.data.l[0] = l0;
	event.xclient.data.l[1] = l1;
	event.xclient.data.l[2] = l2;
	event.xclient.data.l[3] = l3;
	event.xclient.data.l[4] = l4;
	XSendEvent(display, target, False, NoEventMask, &event);
	XFlush(display);
}


// The next event, or false when none came in time.
bool
next_event(Display* display, XEvent* event, std::chrono::steady_clock::time_point deadline)
{
	while (XPending(display) == 0) {
		const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
			deadline - std::chrono::steady_clock::now()).count();
		if (left <= 0)
			return false;
		pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
		poll(&descriptor, 1, (int)left);
	}
	XNextEvent(display, event);
	return true;
}


// The server's time now, read from a property change of our own window: the
// selection and the drop must carry a real time for the target to accept them.
Time
server_time(Display* display, Window window, const Atoms& atoms)
{
	XChangeProperty(display, window, atoms.timeProbe, XA_STRING, 8, PropModeAppend,
		nullptr, 0);
	XEvent event;
	const auto deadline = std::chrono::steady_clock::now() + kTimeout;
	while (next_event(display, &event, deadline)) {
		if (event.type == PropertyNotify && event.xproperty.window == window)
			return event.xproperty.time;
	}
	return CurrentTime;
}


void
answer_selection(Display* display, const XSelectionRequestEvent& request,
	const Atoms& atoms, const std::string& uris)
{
	XEvent reply{};
	reply.xselection.type = SelectionNotify;
	reply.xselection.requestor = request.requestor;
	reply.xselection.selection = request.selection;
	reply.xselection.target = request.target;
	reply.xselection.time = request.time;
	reply.xselection.property = None;
	if (request.target == atoms.uriList) {
		const Atom property = request.property != None ? request.property : request.target;
		XChangeProperty(display, request.requestor, property, atoms.uriList, 8,
			PropModeReplace, (const unsigned char*)uris.data(), (int)uris.size());
		reply.xselection.property = property;
	}
	XSendEvent(display, request.requestor, False, NoEventMask, &reply);
	XFlush(display);
}

}	// namespace


int
main(int argc, char** argv)
{
	if (argc < 5) {
		std::fprintf(stderr, "usage: %s WINDOW X Y FILE...\n", argv[0]);
		return 2;
	}
	Display* display = XOpenDisplay(nullptr);
	if (display == nullptr) {
		std::fprintf(stderr, "vantu_xdnd_drop: cannot open the display\n");
		return 2;
	}
	const Atoms atoms(display);
	const Window target = (Window)std::strtoul(argv[1], nullptr, 0);
	std::string uris;
	for (int i = 4; i < argc; i++)
		uris += file_uri(argv[i]) + "\r\n";

	int rootX = 0;
	int rootY = 0;
	Window child;
	XTranslateCoordinates(display, target, DefaultRootWindow(display), std::atoi(argv[2]),
		std::atoi(argv[3]), &rootX, &rootY, &child);

	const Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1,
		1, 0, 0, 0);
	XSelectInput(display, source, PropertyChangeMask);
	const Time time = server_time(display, source, atoms);
	XSetSelectionOwner(display, atoms.selection, source, time);

	send_message(display, target, atoms.enter, (long)source, kVersion << 24,
		(long)atoms.uriList, None, None);
	send_message(display, target, atoms.position, (long)source, 0,
		((long)rootX << 16) | (rootY & 0xFFFF), (long)time, (long)atoms.actionCopy);

	const auto deadline = std::chrono::steady_clock::now() + kTimeout;
	bool dropped = false;
	XEvent event;
	while (next_event(display, &event, deadline)) {
		if (event.type == SelectionRequest) {
			answer_selection(display, event.xselectionrequest, atoms, uris);
		} else if (event.type == ClientMessage
			&& event.xclient.message_type == atoms.status && !dropped) {
			if ((event.xclient.data.l[1] & 1) == 0) {
				std::fprintf(stderr, "vantu_xdnd_drop: the window refused the drop\n");
				send_message(display, target, XInternAtom(display, "XdndLeave", False),
					(long)source, 0, 0, 0, 0);
				return 1;
			}
			send_message(display, target, atoms.drop, (long)source, 0, (long)time, 0, 0);
			dropped = true;
		} else if (event.type == ClientMessage
			&& event.xclient.message_type == atoms.finished) {
			XCloseDisplay(display);
			return 0;
		}
	}
	std::fprintf(stderr, "vantu_xdnd_drop: no %s from the window in time\n",
		dropped ? "XdndFinished" : "XdndStatus");
	return 1;
}
