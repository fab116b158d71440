#ifndef CHILD_PROCESS_H
#define CHILD_PROCESS_H

#include <string>
#include <vector>

#include <SupportDefs.h>

// A program run for a test, with its standard output and error captured.
// Every wait is bounded by a watchdog of real time, so a program that hangs
// fails the test instead of stopping the run.
class ChildProcess {
public:
	// Starts `program` with `arguments` (no shell); standard input is
	// /dev/null.
	ChildProcess(const std::string& program,
		const std::vector<std::string>& arguments);
	~ChildProcess();

	ChildProcess(const ChildProcess&) = delete;
	ChildProcess& operator=(const ChildProcess&) = delete;

	bool Started() const { return fPid > 0; }

	// Waits until standard output holds at least one whole line.
	bool WaitForOutputLine(bigtime_t watchdog);
	bool Signal(int signal);
	// Reads everything to the end and reaps the program; false when the
	// watchdog fired first (the program is then killed).
	bool Finish(bigtime_t watchdog);

	// As waitpid reports it; valid after Finish().
	bool Exited() const;
	int ExitStatus() const;

	const std::string& Output() const { return fOutput; }
	const std::string& Errors() const { return fErrors; }

private:
	// Reads what is there, waiting at most until `deadline`; false once both
	// streams are closed.
	bool _Read(bigtime_t deadline);

	int fPid;
	int fOutputPipe;
	int fErrorPipe;
	int fStatus;
	std::string fOutput;
	std::string fErrors;
};

struct RunResult {
	bool finished;
	int exitStatus;
	std::string output;
	std::string errors;
};

// Runs the command-line player to its end with the given arguments.
RunResult run_player(const std::vector<std::string>& arguments,
	bigtime_t watchdog = 60000000);

// The text split into its lines, without the line ends.
std::vector<std::string> lines_of(const std::string& text);

#endif
