#ifndef INI_NUMBER_TEXT_H
#define INI_NUMBER_TEXT_H

#include <optional>
#include <string>
#include <string_view>

#include <SupportDefs.h>

// The text forms of the numbers in INI values. They are the same whatever
// locale the process runs in (the GUI switches LC_NUMERIC to the user's
// locale), so a file written in one locale reads the same in every other.

// A decimal integer after optional white space and sign, clamped to
// [low, high]; `*end` (when given) is set just past its digits. Nothing when
// the text does not start with a number.
std::optional<int64> ini_parse_integer(std::string_view text, int64 low,
	int64 high, size_t* end = nullptr);

// A decimal floating-point number after optional white space and sign.
// Nothing when the text does not start with one, or it lies outside the
// range of a float.
std::optional<float> ini_parse_float(std::string_view text);

std::string ini_integer_text(int64 value);
// Six significant digits without trailing zeros (printf's "%g").
std::string ini_float_text(float value);

#endif
