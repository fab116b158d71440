#ifndef STRING_FUNCTIONS_H
#define STRING_FUNCTIONS_H

#include <SupportDefs.h>

// String operations on zero-terminated texts in the style of BASIC's string
// functions: positions are 1-based. dest never needs more room than the
// result it receives (for repstr: strlen(src) - strlen(from) + strlen(to) + 1).

// Copies src to dest without white space (isspace) at both ends, at the start,
// or at the end; returns the length of the result.
int32 trim(char* dest, const char* src);
int32 trimleft(char* dest, const char* src);
int32 trimright(char* dest, const char* src);

// Copies `length` characters of src from position `start`; a length of 0, or
// one that runs past the end, takes the rest. Returns the number copied.
int32 mid(char* dest, const char* src, int32 start, int32 length);

// The position of the first occurrence of pattern at or after start; 0 when
// there is none.
int32 instr(const char* text, const char* pattern, int32 start);

// dest = src with the first occurrence of `from` at or after `start` replaced by
// `to`. Returns the position replaced, or 0 (dest left as it was) when `from`
// does not occur.
int32 repstr(char* dest, const char* src, const char* from, const char* to,
	int32 start);

#endif
