#ifndef _B_STRING_H
#define _B_STRING_H

#include <string>

#include <SupportDefs.h>

// A C string that owns its bytes. Like the original, it never holds a NUL
// byte: every input stops at the first NUL, and a NULL pointer reads as "".
class BString {
public:
	BString();
	BString(const char* string);
	BString(const char* string, int32 maxLength);
	BString(const BString& other);
	BString(BString&& other) noexcept;
	~BString();

	const char* String() const { return fString.c_str(); }
	int32 Length() const { return static_cast<int32>(fString.size()); }

	BString& operator=(const BString& other);
	BString& operator=(BString&& other) noexcept;
	BString& operator=(const char* string);
	BString& operator=(char c);

	BString& SetTo(const char* string);
	BString& SetTo(const char* string, int32 maxLength);
	BString& SetTo(const BString& other);
	BString& SetTo(char c, int32 count);

	BString& operator+=(const BString& other);
	BString& operator+=(const char* string);
	BString& operator+=(char c);
	BString& Append(const BString& other);
	BString& Append(const char* string);
	BString& Append(const BString& other, int32 maxLength);
	BString& Append(const char* string, int32 maxLength);
	BString& Append(char c, int32 count);

	// Cuts the string to `newLength` bytes; a longer length changes nothing.
	BString& Truncate(int32 newLength, bool lazy = true);

	// strcmp-style results; the `n` forms compare at most n bytes. ICompare
	// folds ASCII letters only, so the result never depends on the locale.
	int Compare(const BString& other) const;
	int Compare(const char* string) const;
	int Compare(const BString& other, int32 n) const;
	int Compare(const char* string, int32 n) const;
	int ICompare(const BString& other) const;
	int ICompare(const char* string) const;
	int ICompare(const BString& other, int32 n) const;
	int ICompare(const char* string, int32 n) const;

	bool operator==(const BString& other) const { return Compare(other) == 0; }
	bool operator!=(const BString& other) const { return Compare(other) != 0; }
	bool operator<(const BString& other) const { return Compare(other) < 0; }
	bool operator<=(const BString& other) const { return Compare(other) <= 0; }
	bool operator>(const BString& other) const { return Compare(other) > 0; }
	bool operator>=(const BString& other) const { return Compare(other) >= 0; }
	bool operator==(const char* string) const { return Compare(string) == 0; }
	bool operator!=(const char* string) const { return Compare(string) != 0; }
	bool operator<(const char* string) const { return Compare(string) < 0; }
	bool operator<=(const char* string) const { return Compare(string) <= 0; }
	bool operator>(const char* string) const { return Compare(string) > 0; }
	bool operator>=(const char* string) const { return Compare(string) >= 0; }

	// Byte offset of the first match at or after `fromOffset`, B_ERROR when
	// there is none, B_BAD_VALUE for a NULL pattern.
	int32 FindFirst(const BString& string, int32 fromOffset = 0) const;
	int32 FindFirst(const char* string, int32 fromOffset = 0) const;
	int32 FindFirst(char c, int32 fromOffset = 0) const;

	// Unlike the original, an index outside the string reads as '\0'
	// instead of reading past the buffer.
	char operator[](int32 index) const { return ByteAt(index); }
	char ByteAt(int32 index) const;

private:
	std::string fString;
};

bool operator==(const char* string, const BString& other);
bool operator!=(const char* string, const BString& other);
bool operator<(const char* string, const BString& other);
bool operator<=(const char* string, const BString& other);
bool operator>(const char* string, const BString& other);
bool operator>=(const char* string, const BString& other);

#endif
