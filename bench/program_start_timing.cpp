// Whole-program timings of the desktop program on a real X server (Xvfb
// with a window manager, see program_start_timing.sh): from exec to the
// main window mapped, with an empty list and with a 10,000-song list
// reopened from the exit state (and to that list shown: its name in the
// window's title); then the CPU used in a minute while stopped and the
// memory held with an empty list.
//
// bench_program_start_timing PROGRAM [starts] [idle-seconds]

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <Entry.h>
#include <ExitState.h>
#include <NativeListWriter.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const int kSongCount = 10000;


double
milliseconds_since(Clock::time_point begin)
{
	return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}


pid_t
start(const std::string& program)
{
	char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
	pid_t pid = -1;
	if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
		perror("posix_spawn");
		exit(1);
	}
	return pid;
}


void
end(pid_t pid)
{
	kill(pid, SIGTERM);
	int status;
	waitpid(pid, &status, 0);
}


long
window_pid(Display* display, Window window)
{
	static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
	Atom type;
	int format;
	unsigned long count;
	unsigned long after;
	unsigned char* data = nullptr;
	long pid = -1;
	if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type,
			&format, &count, &after, &data) == Success && data != nullptr) {
		if (count == 1 && format == 32)
			pid = *reinterpret_cast<long*>(data);
		XFree(data);
	}
	return pid;
}


std::string
window_title(Display* display, Window window)
{
	static const Atom nameAtom = XInternAtom(display, "_NET_WM_NAME", False);
	static const Atom utf8Atom = XInternAtom(display, "UTF8_STRING", False);
	Atom type;
	int format;
	unsigned long count;
	unsigned long after;
	unsigned char* data = nullptr;
	std::string title;
	if (XGetWindowProperty(display, window, nameAtom, 0, 1024, False, utf8Atom, &type,
			&format, &count, &after, &data) == Success && data != nullptr) {
		title.assign(reinterpret_cast<char*>(data), count);
		XFree(data);
	}
	return title;
}


struct Times {
	double window = -1;
	double titled = -1;
};


// Starts the program and waits for the first window of its own to be
// mapped, then for its title to hold `titlePart` (the list reopened shows
// its name there); milliseconds from exec, or -1 after 30 s.
Times
time_to_window(Display* display, const std::string& program, pid_t* child,
	const std::string& titlePart)
{
	Times times;
	const Window root = DefaultRootWindow(display);
	XSelectInput(display, root, SubstructureNotifyMask);
	XSync(display, True);
	const Clock::time_point begin = Clock::now();
	*child = start(program);
	const int fd = ConnectionNumber(display);
	while (Clock::now() - begin < std::chrono::seconds(30)) {
		while (XPending(display) > 0) {
			XEvent event;
			XNextEvent(display, &event);
			// The window manager reparents the client into its frame; the
			// client's own windows are followed wherever they are created.
			Window mapped = None;
			if (event.type == CreateNotify) {
				const Window created = event.xcreatewindow.window;
				XSelectInput(display, created, StructureNotifyMask | SubstructureNotifyMask);
				// It may have been mapped before the selection took effect.
				XWindowAttributes attributes;
				if (XGetWindowAttributes(display, created, &attributes)
					&& attributes.map_state != IsUnmapped
					&& attributes.override_redirect == False) {
					mapped = created;
				}
			}
			if (event.type == MapNotify && event.xmap.override_redirect == False)
				mapped = event.xmap.window;
			if (mapped != None && times.window < 0 && window_pid(display, mapped) == *child) {
				times.window = milliseconds_since(begin);
				XSelectInput(display, mapped, PropertyChangeMask);
				if (window_title(display, mapped).find(titlePart) != std::string::npos) {
					times.titled = milliseconds_since(begin);
					return times;
				}
			}
			if (event.type == PropertyNotify && times.window >= 0
				&& window_title(display, event.xproperty.window).find(titlePart)
					!= std::string::npos) {
				times.titled = milliseconds_since(begin);
				return times;
			}
		}
		pollfd poller = {fd, POLLIN, 0};
		poll(&poller, 1, 100);
	}
	return times;
}


void
report(const char* what, std::vector<double> times)
{
	std::sort(times.begin(), times.end());
	const size_t n = times.size();
	printf("%-34s median %7.1f ms   min %7.1f   max %7.1f   (%zu starts)\n", what,
		times[n / 2], times.front(), times.back(), n);
}


void
write_exit_state(const std::string& home, const std::string& listFile)
{
	TExitState state;
	state.lastVersion = "Ver 5.34";
	state.mainListFile = listFile;
	const std::string folder = home + "/.config/PELKAN/VantuMIDI";
	fs::create_directories(folder);
	state.Save(BEntry((folder + "/VantuMIDI_ExitStates.arc").c_str()));
}


std::string
make_big_list(const std::string& home, const std::string& song)
{
	const std::string folder = home + "/songs";
	fs::create_directories(folder);
	std::vector<std::string> entries;
	for (int i = 0; i < kSongCount; i++) {
		char name[32];
		snprintf(name, sizeof(name), "/song%05d.mid", i);
		entries.push_back(folder + name);
		if (!fs::exists(entries.back()))
			fs::copy_file(song, entries.back());
	}
	const std::string list = home + "/Big.lml";
	write_native_list(list.c_str(), entries, nullptr);
	return list;
}


unsigned long long
cpu_ticks(pid_t pid)
{
	std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
	std::string text;
	std::getline(stat, text);
	std::istringstream fields(text.substr(text.rfind(')') + 2));
	std::string field;
	unsigned long long utime = 0;
	unsigned long long stime = 0;
	for (int i = 3; i <= 15 && fields >> field; i++) {
		if (i == 14)
			utime = std::stoull(field);
		if (i == 15)
			stime = std::stoull(field);
	}
	return utime + stime;
}


long
rss_kib(pid_t pid)
{
	std::ifstream status("/proc/" + std::to_string(pid) + "/status");
	std::string line;
	while (std::getline(status, line)) {
		if (line.rfind("VmRSS:", 0) == 0)
			return std::stol(line.substr(6));
	}
	return -1;
}

}


int
main(int argc, char** argv)
{
	if (argc < 2) {
		fprintf(stderr, "usage: %s PROGRAM [starts] [idle-seconds]\n", argv[0]);
		return 2;
	}
	const std::string program = fs::absolute(argv[1]).string();
	const int starts = argc > 2 ? atoi(argv[2]) : 20;
	const int idleSeconds = argc > 3 ? atoi(argv[3]) : 60;
	Display* display = XOpenDisplay(nullptr);
	if (display == nullptr) {
		fprintf(stderr, "no X display (run program_start_timing.sh)\n");
		return 1;
	}
	const std::string home = getenv("HOME");
	const std::string demo = (fs::path(program).parent_path() / "Demo/morning-walk.mid").string();

	std::vector<double> empty;
	for (int i = 0; i < starts; i++) {
		write_exit_state(home, "");
		pid_t child;
		empty.push_back(time_to_window(display, program, &child, "").window);
		end(child);
	}
	report("exec -> window, empty list", empty);

	const std::string list = make_big_list(home, demo);
	std::vector<double> bigWindow;
	std::vector<double> bigList;
	for (int i = 0; i < starts; i++) {
		write_exit_state(home, list);
		pid_t child;
		const Times times = time_to_window(display, program, &child, "Big.lml");
		bigWindow.push_back(times.window);
		bigList.push_back(times.titled);
		end(child);
	}
	report("exec -> window, 10,000-song list", bigWindow);
	report("exec -> 10,000-song list shown", bigList);

	write_exit_state(home, "");
	pid_t child;
	time_to_window(display, program, &child, "");
	std::this_thread::sleep_for(std::chrono::seconds(2));
	const long rss = rss_kib(child);
	const unsigned long long before = cpu_ticks(child);
	std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
	const unsigned long long after = cpu_ticks(child);
	end(child);
	printf("idle CPU, stopped, %d s: %.3f %%\n", idleSeconds,
		100.0 * (after - before) / sysconf(_SC_CLK_TCK) / idleSeconds);
	printf("RSS with an empty list: %.1f MB\n", rss / 1024.0);
	XCloseDisplay(display);
	return 0;
}
