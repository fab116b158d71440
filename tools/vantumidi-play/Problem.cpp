#include "Problem.h"

#include <cstdio>

#include "ProgressLine.h"


void
report_problem(const std::string& text)
{
	fprintf(stderr, "vantumidi-play: %s\n",
		terminal_text(text, INT32_MAX).c_str());
	fflush(stderr);
}
