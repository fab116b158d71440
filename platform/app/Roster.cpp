#include <Roster.h>

#include <mutex>
#include <string>

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <EntryRef.h>

#include "RosterPrivate.h"

namespace {

const char* const kDefaultOpener = "xdg-open";

std::mutex sOpenerMutex;
std::string sOpener = kDefaultOpener;


std::string
document_opener()
{
	std::lock_guard<std::mutex> guard(sOpenerMutex);
	return sOpener;
}


// The opener's full path: as given when it contains a slash, else found in
// PATH. Empty when there is no such executable.
std::string
resolve_program(const std::string& program)
{
	if (program.find('/') != std::string::npos)
		return access(program.c_str(), X_OK) == 0 ? program : std::string();

	const char* path = getenv("PATH");
	std::string folders = path != NULL ? path : "/usr/local/bin:/usr/bin:/bin";
	size_t start = 0;
	while (start <= folders.size()) {
		size_t end = folders.find(':', start);
		if (end == std::string::npos)
			end = folders.size();
		std::string folder = folders.substr(start, end - start);
		std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
		if (access(candidate.c_str(), X_OK) == 0)
			return candidate;
		start = end + 1;
	}
	return std::string();
}


// Starts `program argument` detached: an intermediate child forks the
// opener and exits at once, so the opener is never our zombie and the
// caller waits only for the two forks and the exec. A close-on-exec pipe
// tells whether the exec succeeded.
status_t
start_detached(const std::string& program, const char* argument)
{
	int channel[2];
	if (pipe2(channel, O_CLOEXEC) != 0)
		return B_LAUNCH_FAILED;

	char* const argv[] = {const_cast<char*>(program.c_str()),
		const_cast<char*>(argument), NULL};
	pid_t child = fork();
	if (child < 0) {
		close(channel[0]);
		close(channel[1]);
		return B_LAUNCH_FAILED;
	}
	if (child == 0) {
		// Only async-signal-safe calls from here on: other threads of the
		// parent may hold locks that were copied locked.
		close(channel[0]);
		pid_t opener = fork();
		if (opener == 0) {
			execv(argv[0], argv);
			int error = errno;
			(void)!write(channel[1], &error, sizeof(error));
			_exit(127);
		}
		_exit(opener < 0 ? 1 : 0);
	}

	close(channel[1]);
	int status = 0;
	while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
	}
	int execError = 0;
	ssize_t bytes;
	while ((bytes = read(channel[0], &execError, sizeof(execError))) < 0
		&& errno == EINTR) {
	}
	close(channel[0]);

	if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
		return B_LAUNCH_FAILED;
	if (bytes > 0) {
		return execError == ENOENT ? B_LAUNCH_FAILED_APP_NOT_FOUND
			: B_LAUNCH_FAILED_EXECUTABLE;
	}
	return B_OK;
}


status_t
open_with_desktop(const char* argument)
{
	std::string program = resolve_program(document_opener());
	if (program.empty())
		return B_LAUNCH_FAILED_APP_NOT_FOUND;
	return start_detached(program, argument);
}

}


namespace BPrivate {

void
set_document_opener(const char* program)
{
	std::lock_guard<std::mutex> guard(sOpenerMutex);
	sOpener = program != NULL ? program : kDefaultOpener;
}

}


static const BRoster sRoster;
const BRoster* be_roster = &sRoster;


BRoster::BRoster()
{
}


BRoster::~BRoster()
{
}


status_t
BRoster::Launch(const char* mimeType, int argc, const char* const* args,
	team_id* appTeam) const
{
	if (appTeam != NULL)
		*appTeam = -1;
	if (mimeType == NULL || argc <= 0 || args == NULL)
		return B_BAD_VALUE;
	for (int i = 0; i < argc; i++) {
		if (args[i] == NULL || args[i][0] == '\0' || args[i][0] == '-')
			return B_BAD_VALUE;
	}
	for (int i = 0; i < argc; i++) {
		status_t status = open_with_desktop(args[i]);
		if (status != B_OK)
			return status;
	}
	return B_OK;
}


status_t
BRoster::Launch(const entry_ref* ref, const BMessage* /*initialMessage*/,
	team_id* appTeam) const
{
	if (appTeam != NULL)
		*appTeam = -1;
	if (ref == NULL)
		return B_BAD_VALUE;
	std::string path = ref->path();
	if (path.empty())
		return B_BAD_VALUE;
	struct stat info;
	if (stat(path.c_str(), &info) != 0)
		return status_from_errno(errno);
	return open_with_desktop(path.c_str());
}
