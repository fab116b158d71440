// Every test executable runs in a home folder of its own: HOME and the XDG
// folders point into a fresh temporary folder before any other code of the
// process runs, so that neither the process-wide records constructed before
// main nor a test binary started by hand (outside CTest) reads or writes the
// user's folders, and test binaries running side by side never share one.
//
// The set-up is a constructor of the highest priority a program may use: it
// runs after the libraries have initialised (the C library sets the
// environment up in its own) and before the constructors of every object of
// the executable, whatever the order of linking or of translation units.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

char sHome[PATH_MAX];
pid_t sOwner;


[[noreturn]] void
give_up(const char* what)
{
	fprintf(stderr, "test home: %s: ", what);
	perror(nullptr);
	_exit(1);
}


// Sets `variable` to the folder `sub` of the home, creating it.
void
point_into_home(const char* variable, const char* sub)
{
	char folder[PATH_MAX];
	if (snprintf(folder, sizeof(folder), "%s/%s", sHome, sub) >= (int)sizeof(folder))
		give_up(variable);
	// Each level of a nested name such as ".local/share".
	for (char* slash = folder + strlen(sHome) + 1; ; slash++) {
		const bool end = *slash == '\0';
		if (*slash == '/' || end) {
			*slash = '\0';
			if (mkdir(folder, 0700) != 0 && errno != EEXIST)
				give_up(folder);
			if (end)
				break;
			*slash = '/';
		}
	}
	if (setenv(variable, folder, 1) != 0)
		give_up(variable);
}


// Only the process that made the home removes it: a forked child that
// calls exit() leaves it to its parent.
void
remove_home()
{
	if (getpid() != sOwner)
		return;
	std::error_code ignored;
	std::filesystem::remove_all(sHome, ignored);
}


__attribute__((constructor(101))) void
set_up_home()
{
	const char* temporary = getenv("TMPDIR");
	if (temporary == nullptr || temporary[0] == '\0')
		temporary = "/tmp";
	if (snprintf(sHome, sizeof(sHome), "%s/vantu-test-home-XXXXXX", temporary)
			>= (int)sizeof(sHome)
		|| mkdtemp(sHome) == nullptr)
		give_up("TMPDIR");
	sOwner = getpid();
	if (setenv("HOME", sHome, 1) != 0)
		give_up("HOME");
	point_into_home("XDG_CONFIG_HOME", ".config");
	point_into_home("XDG_DATA_HOME", ".local/share");
	point_into_home("XDG_STATE_HOME", ".local/state");
	point_into_home("XDG_CACHE_HOME", ".cache");
	// Nor the desktop's session bus: the media session of a player under
	// test would show up in the user's "now playing" widgets. A test that
	// needs a bus starts a private one.
	unsetenv("DBUS_SESSION_BUS_ADDRESS");
	atexit(remove_home);
}

}	// namespace
