#ifndef PROBLEM_H
#define PROBLEM_H

#include <string>

// One line on standard error, "vantumidi-play: TEXT", with any control
// character of the text (a file name may hold some) made harmless.
void report_problem(const std::string& text);

#endif
