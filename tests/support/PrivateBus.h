#ifndef TESTS_SUPPORT_PRIVATE_BUS_H
#define TESTS_SUPPORT_PRIVATE_BUS_H

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace private_bus {

// Whether `program` is found on PATH.
inline bool
have_program(const std::string& program)
{
	const char* path = getenv("PATH");
	std::string folders = path != nullptr ? path : "";
	size_t start = 0;
	while (start <= folders.size()) {
		size_t end = folders.find(':', start);
		if (end == std::string::npos)
			end = folders.size();
		const std::string file = folders.substr(start, end - start) + "/" + program;
		if (end > start && access(file.c_str(), X_OK) == 0)
			return true;
		start = end + 1;
	}
	return false;
}


// A program started with its standard output into a pipe (never through a
// shell), ended with the test process at the latest. Finished() never blocks, so a test can keep its event loop going
// while the program talks to the process under test.
class ToolRun {
public:
	// `quiet` sends the program's error output away.
	explicit ToolRun(const std::vector<std::string>& arguments, bool quiet = false)
	{
		int pipeEnds[2];
		if (pipe2(pipeEnds, O_CLOEXEC) != 0)
			return;
		std::vector<char*> argv;
		for (const std::string& argument : arguments)
			argv.push_back(const_cast<char*>(argument.c_str()));
		argv.push_back(nullptr);
		fPid = fork();
		if (fPid == 0) {
			// A test process that ends abruptly (a failed assertion in a
			// child, a crash) takes the program with it.
			prctl(PR_SET_PDEATHSIG, SIGKILL);
			dup2(pipeEnds[1], 1);
			if (quiet) {
				const int null = open("/dev/null", O_WRONLY);
				dup2(null, 2);
			}
			execvp(argv[0], argv.data());
			_exit(127);
		}
		close(pipeEnds[1]);
		fOutput = pipeEnds[0];
		fcntl(fOutput, F_SETFL, O_NONBLOCK);
	}

	~ToolRun()
	{
		if (fPid > 0 && !fExited) {
			kill(fPid, SIGKILL);
			waitpid(fPid, nullptr, 0);
		}
		if (fOutput >= 0)
			close(fOutput);
	}

	ToolRun(const ToolRun&) = delete;
	ToolRun& operator=(const ToolRun&) = delete;

	bool Finished()
	{
		if (fPid <= 0)
			return true;
		_Read();
		if (!fExited && waitpid(fPid, &fStatus, WNOHANG) == fPid) {
			fExited = true;
			_Read();
		}
		return fExited;
	}

	// The exit status, -1 when it did not start or end normally.
	int ExitStatus() const
	{
		return fExited && WIFEXITED(fStatus) ? WEXITSTATUS(fStatus) : -1;
	}
	const std::string& Output() const { return fText; }
	// The first line of the output, without its end.
	std::string Line() const { return fText.substr(0, fText.find('\n')); }

	// Waits for the first line of output, at most `timeoutMs` of real time.
	bool WaitForLine(int timeoutMs)
	{
		for (int waited = 0; fText.find('\n') == std::string::npos; waited += 10) {
			if (waited > timeoutMs || Finished())
				return fText.find('\n') != std::string::npos;
			pollfd ready = {fOutput, POLLIN, 0};
			poll(&ready, 1, 10);
			_Read();
		}
		return true;
	}

	pid_t Pid() const { return fPid; }

private:
	void _Read()
	{
		char buffer[4096];
		ssize_t got;
		while (fOutput >= 0 && (got = read(fOutput, buffer, sizeof(buffer))) > 0)
			fText.append(buffer, got);
	}

	pid_t fPid = -1;
	int fOutput = -1;
	int fStatus = 0;
	bool fExited = false;
	std::string fText;
};


// A session bus of the test's own: a dbus-daemon started for it, named in
// DBUS_SESSION_BUS_ADDRESS (for the code under test and the tools the test
// runs) until the bus is destroyed.
class PrivateBus {
public:
	PrivateBus()
	{
		if (!have_program("dbus-daemon"))
			return;
		fDaemon = std::make_unique<ToolRun>(std::vector<std::string>{"dbus-daemon",
			"--session", "--nofork", "--nopidfile", "--print-address=1"},
			/* its complaints (the file limit, as root) are not the test's */ true);
		if (!fDaemon->WaitForLine(5000))
			return;
		fAddress = fDaemon->Line();
		setenv("DBUS_SESSION_BUS_ADDRESS", fAddress.c_str(), 1);
	}

	~PrivateBus()
	{
		if (!fAddress.empty())
			unsetenv("DBUS_SESSION_BUS_ADDRESS");
	}

	// Empty when the bus could not be had (no dbus-daemon).
	const std::string& Address() const { return fAddress; }

private:
	std::unique_ptr<ToolRun> fDaemon;
	std::string fAddress;
};

}

#endif
