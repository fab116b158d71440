#ifndef GERMAN_LOCALE_H
#define GERMAN_LOCALE_H

#include <clocale>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"

extern char** environ;

// Switches the process to the German locale, whose numbers have a decimal
// comma, as a German desktop session does (QApplication sets LC_NUMERIC from
// the environment); the previous locale comes back with the object. Tests
// run one at a time, so no other thread of the test binary sees the switch.
//
// A system without a compiled de_DE.UTF-8 gets one made by localedef into a
// temporary folder; IsActive() is false only when that fails too.
class GermanLocale {
public:
	GermanLocale()
		:
		fPrevious(setlocale(LC_ALL, nullptr)),
		fActive(setlocale(LC_ALL, kName) != nullptr || _SetCompiled())
	{
	}

	~GermanLocale()
	{
		if (fActive)
			setlocale(LC_ALL, fPrevious.c_str());
	}

	GermanLocale(const GermanLocale&) = delete;
	GermanLocale& operator=(const GermanLocale&) = delete;

	bool IsActive() const { return fActive; }

private:
	static constexpr const char* kName = "de_DE.UTF-8";

	bool _SetCompiled()
	{
		const std::string output = fFolder / kName;
		const char* arguments[] = {"localedef", "-i", "de_DE", "-f", "UTF-8",
			output.c_str(), nullptr};
		pid_t child;
		if (posix_spawnp(&child, "localedef", nullptr, nullptr,
				const_cast<char**>(arguments), environ) != 0) {
			return false;
		}
		int status = 0;
		if (waitpid(child, &status, 0) != child || !WIFEXITED(status)
			|| WEXITSTATUS(status) != 0) {
			return false;
		}

		// setlocale reads LOCPATH when it is called; put it back at once.
		const char* previous = getenv("LOCPATH");
		const std::string saved = previous != nullptr ? previous : "";
		setenv("LOCPATH", fFolder.Path().c_str(), 1);
		const bool set = setlocale(LC_ALL, kName) != nullptr;
		if (previous != nullptr)
			setenv("LOCPATH", saved.c_str(), 1);
		else
			unsetenv("LOCPATH");
		return set;
	}

	TempFolder fFolder;
	std::string fPrevious;
	bool fActive;
};

#endif
