#ifndef SCOPED_VARIABLE_H
#define SCOPED_VARIABLE_H

#include <cstdlib>
#include <optional>
#include <string>

// Sets an environment variable for one test (NULL: unsets it) and puts the
// previous value back afterwards. Programs the test starts inherit it.
class ScopedVariable {
public:
	ScopedVariable(const char* name, const char* value)
		:
		fName(name)
	{
		if (const char* previous = getenv(name))
			fPrevious = previous;
		if (value != NULL)
			setenv(name, value, 1);
		else
			unsetenv(name);
	}
	~ScopedVariable()
	{
		if (fPrevious)
			setenv(fName.c_str(), fPrevious->c_str(), 1);
		else
			unsetenv(fName.c_str());
	}
	ScopedVariable(const ScopedVariable&) = delete;
	ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
	std::string fName;
	std::optional<std::string> fPrevious;
};

#endif
