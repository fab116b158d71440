#include "StringFunctions.h"

#include <cctype>
#include <cstring>

namespace {

bool
is_space(char c)
{
	return isspace(static_cast<unsigned char>(c)) != 0;
}


int32
copy_range(char* dest, const char* begin, const char* end)
{
	const int32 length = static_cast<int32>(end - begin);
	memmove(dest, begin, length);
	dest[length] = '\0';
	return length;
}


const char*
skip_leading_space(const char* text)
{
	while (*text != '\0' && is_space(*text))
		text++;
	return text;
}


const char*
end_without_trailing_space(const char* begin)
{
	const char* end = begin + strlen(begin);
	while (end > begin && is_space(end[-1]))
		end--;
	return end;
}

}


int32
trim(char* dest, const char* src)
{
	const char* begin = skip_leading_space(src);
	return copy_range(dest, begin, end_without_trailing_space(begin));
}


int32
trimleft(char* dest, const char* src)
{
	const char* begin = skip_leading_space(src);
	return copy_range(dest, begin, begin + strlen(begin));
}


int32
trimright(char* dest, const char* src)
{
	return copy_range(dest, src, end_without_trailing_space(src));
}


int32
mid(char* dest, const char* src, int32 start, int32 length)
{
	const int32 srcLength = static_cast<int32>(strlen(src));
	if (start < 1)
		start = 1;
	if (start > srcLength) {
		dest[0] = '\0';
		return 0;
	}
	const int32 rest = srcLength - (start - 1);
	if (length <= 0 || length > rest)
		length = rest;
	return copy_range(dest, src + start - 1, src + start - 1 + length);
}


int32
instr(const char* text, const char* pattern, int32 start)
{
	const int32 textLength = static_cast<int32>(strlen(text));
	if (start < 1)
		start = 1;
	if (start > textLength + 1)
		return 0;
	const char* found = strstr(text + start - 1, pattern);
	return found == nullptr ? 0 : static_cast<int32>(found - text) + 1;
}


int32
repstr(char* dest, const char* src, const char* from, const char* to,
	int32 start)
{
	if (from[0] == '\0')
		return 0;
	const int32 position = instr(src, from, start);
	if (position == 0)
		return 0;
	const size_t head = position - 1;
	const size_t fromLength = strlen(from);
	const size_t toLength = strlen(to);
	const size_t tailLength = strlen(src + head + fromLength);
	// src and dest may be the same buffer: move the tail before writing `to`.
	memmove(dest + head + toLength, src + head + fromLength, tailLength + 1);
	memmove(dest + head, to, toLength);
	if (dest != src)
		memmove(dest, src, head);
	return position;
}
