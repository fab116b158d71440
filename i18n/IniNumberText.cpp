#include "IniNumberText.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace {

// White space of the "C" locale's classification.
bool
is_c_space(char c)
{
	return c == ' ' || (c >= '\t' && c <= '\r');
}


size_t
skip_space(std::string_view text, size_t at)
{
	while (at < text.size() && is_c_space(text[at]))
		at++;
	return at;
}


// Skips a '+' that from_chars does not take; a '-' is its own.
size_t
skip_plus(std::string_view text, size_t at)
{
	if (at + 1 < text.size() && text[at] == '+' && text[at + 1] != '-')
		return at + 1;
	return at;
}


std::optional<float>
float_from_chars(const char* first, const char* last, const char** stop)
{
	float value = 0;
	std::from_chars_result result = std::from_chars(first, last, value);
	*stop = result.ptr;
	if (result.ec != std::errc())
		return std::nullopt;
	return value;
}

}


std::optional<int64>
ini_parse_integer(std::string_view text, int64 low, int64 high, size_t* end)
{
	size_t at = skip_plus(text, skip_space(text, 0));
	const char* first = text.data() + at;
	const bool negative = at < text.size() && text[at] == '-';
	int64 value = 0;
	std::from_chars_result result = std::from_chars(first,
		text.data() + text.size(), value);
	if (result.ec == std::errc::invalid_argument)
		return std::nullopt;
	if (result.ec == std::errc::result_out_of_range)
		value = negative ? low : high;
	if (end != nullptr)
		*end = static_cast<size_t>(result.ptr - text.data());
	return std::min(std::max(value, low), high);
}


std::optional<float>
ini_parse_float(std::string_view text)
{
	const size_t at = skip_plus(text, skip_space(text, 0));
	const char* first = text.data() + at;
	const char* last = text.data() + text.size();
	const char* stop = nullptr;
	std::optional<float> value = float_from_chars(first, last, &stop);
	// Builds before this one wrote floats in the user's locale, with a
	// decimal comma in many languages ("0,25"): read those as they were
	// meant.
	if (value && stop + 1 < last && *stop == ',' && stop[1] >= '0'
		&& stop[1] <= '9') {
		std::string pointed(first, last);
		pointed[static_cast<size_t>(stop - first)] = '.';
		const char* ignored = nullptr;
		value = float_from_chars(pointed.data(),
			pointed.data() + pointed.size(), &ignored);
	}
	return value;
}


std::string
ini_integer_text(int64 value)
{
	char text[24];
	std::to_chars_result result = std::to_chars(text, text + sizeof(text), value);
	return std::string(text, result.ptr);
}


std::string
ini_float_text(float value)
{
	char text[32];
	std::to_chars_result result = std::to_chars(text, text + sizeof(text), value,
		std::chars_format::general, 6);
	return std::string(text, result.ptr);
}
