#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Real time, whatever clock the code under test installed.
bigtime_t
real_now()
{
	return std::chrono::duration_cast<std::chrono::microseconds>(
		std::chrono::steady_clock::now().time_since_epoch()).count();
}

}	// namespace


ChildProcess::ChildProcess(const std::string& program,
	const std::vector<std::string>& arguments)
	:
	fPid(-1),
	fOutputPipe(-1),
	fErrorPipe(-1),
	fStatus(0)
{
	int output[2];
	int errors[2];
	if (pipe2(output, O_CLOEXEC) != 0)
		return;
	if (pipe2(errors, O_CLOEXEC) != 0) {
		close(output[0]);
		close(output[1]);
		return;
	}
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
	posix_spawn_file_actions_adddup2(&actions, output[1], 1);
	posix_spawn_file_actions_adddup2(&actions, errors[1], 2);

	std::vector<char*> argv;
	argv.push_back(const_cast<char*>(program.c_str()));
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(NULL);

	pid_t pid;
	if (posix_spawn(&pid, program.c_str(), &actions, NULL, argv.data(),
			environ) == 0)
		fPid = pid;
	posix_spawn_file_actions_destroy(&actions);
	close(output[1]);
	close(errors[1]);
	fOutputPipe = output[0];
	fErrorPipe = errors[0];
}


ChildProcess::~ChildProcess()
{
	if (fPid > 0) {
		kill(fPid, SIGKILL);
		waitpid(fPid, &fStatus, 0);
	}
	if (fOutputPipe >= 0)
		close(fOutputPipe);
	if (fErrorPipe >= 0)
		close(fErrorPipe);
}


bool
ChildProcess::WaitForOutputLine(bigtime_t watchdog)
{
	bigtime_t deadline = real_now() + watchdog;
	while (fOutput.find('\n') == std::string::npos) {
		if (real_now() >= deadline || !_Read(deadline))
			return false;
	}
	return true;
}


bool
ChildProcess::Signal(int signal)
{
	return fPid > 0 && kill(fPid, signal) == 0;
}


bool
ChildProcess::Finish(bigtime_t watchdog)
{
	bigtime_t deadline = real_now() + watchdog;
	while (_Read(deadline)) {
		if (real_now() >= deadline)
			return false;
	}
	if (fPid <= 0)
		return false;
	// The streams close a moment before the program is gone.
	while (waitpid(fPid, &fStatus, WNOHANG) == 0) {
		if (real_now() >= deadline)
			return false;
		usleep(1000);
	}
	fPid = -1;
	return true;
}


bool
ChildProcess::Exited() const
{
	return WIFEXITED(fStatus);
}


int
ChildProcess::ExitStatus() const
{
	return WIFEXITED(fStatus) ? WEXITSTATUS(fStatus) : -1;
}


bool
ChildProcess::_Read(bigtime_t deadline)
{
	pollfd streams[2] = {{fOutputPipe, POLLIN, 0}, {fErrorPipe, POLLIN, 0}};
	if (streams[0].fd < 0 && streams[1].fd < 0)
		return false;
	bigtime_t left = deadline - real_now();
	if (poll(streams, 2, left > 0 ? (int)(left / 1000) + 1 : 0) <= 0)
		return true;
	int* pipes[2] = {&fOutputPipe, &fErrorPipe};
	std::string* texts[2] = {&fOutput, &fErrors};
	for (int i = 0; i < 2; i++) {
		if (streams[i].revents == 0)
			continue;
		char buffer[4096];
		ssize_t count = read(*pipes[i], buffer, sizeof(buffer));
		if (count > 0)
			texts[i]->append(buffer, count);
		else if (count == 0 || errno != EINTR) {
			close(*pipes[i]);
			*pipes[i] = -1;
		}
	}
	return true;
}


RunResult
run_player(const std::vector<std::string>& arguments, bigtime_t watchdog)
{
	ChildProcess player(VANTUMIDI_PLAY, arguments);
	RunResult result = {false, -1, "", ""};
	if (!player.Started())
		return result;
	result.finished = player.Finish(watchdog);
	result.exitStatus = player.ExitStatus();
	result.output = player.Output();
	result.errors = player.Errors();
	return result;
}


std::vector<std::string>
lines_of(const std::string& text)
{
	std::vector<std::string> lines;
	size_t start = 0;
	while (start < text.size()) {
		size_t end = text.find('\n', start);
		if (end == std::string::npos)
			end = text.size();
		lines.push_back(text.substr(start, end - start));
		start = end + 1;
	}
	return lines;
}
