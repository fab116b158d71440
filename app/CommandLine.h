#ifndef COMMAND_LINE_H
#define COMMAND_LINE_H

#include <iosfwd>
#include <string>
#include <vector>

// What the command line asks for. It is read before anything else starts,
// so that --help, --version and mistakes answer at once, without a window
// and without touching the settings.
struct TCommandLine {
	// Reads argv[1…]. Relative paths are taken against `workingDir`; an
	// entry that does not exist is reported on `err` and left out. Help and
	// the version go to `out`, mistakes and the usage to `err`.
	static TCommandLine Parse(int argc, const char* const* argv,
		const std::string& workingDir, std::ostream& out, std::ostream& err);

	// The program ends at once with `exitStatus` (help, version, mistakes).
	bool exitNow = false;
	int exitStatus = 0;
	// Start with the default preferences written over the saved ones.
	bool resetPreferences = false;
	// Absolute paths of the files, folders and lists to add and play.
	std::vector<std::string> files;
};

#endif
