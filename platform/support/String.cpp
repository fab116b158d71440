#include <String.h>

#include <cstring>

namespace {

const char* or_empty(const char* string)
{
	return string != NULL ? string : "";
}

// Length up to the first NUL, at most maxLength; a negative maxLength counts
// as no text at all, as the original's length-limited calls did.
size_t bounded_length(const char* string, int32 maxLength)
{
	if (string == NULL || maxLength <= 0)
		return 0;
	return strnlen(string, static_cast<size_t>(maxLength));
}

int sign(int value)
{
	return (value > 0) - (value < 0);
}

int ascii_lower(unsigned char c)
{
	return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

int ascii_case_compare(const char* a, const char* b, size_t n)
{
	for (size_t i = 0; i < n; i++) {
		int difference = ascii_lower(static_cast<unsigned char>(a[i]))
			- ascii_lower(static_cast<unsigned char>(b[i]));
		if (difference != 0 || a[i] == '\0')
			return sign(difference);
	}
	return 0;
}

size_t count_limit(int32 n)
{
	return n > 0 ? static_cast<size_t>(n) : 0;
}

}	// namespace

BString::BString() = default;

BString::BString(const char* string)
	: fString(or_empty(string))
{
}

BString::BString(const char* string, int32 maxLength)
	: fString(or_empty(string), bounded_length(string, maxLength))
{
}

BString::BString(const BString& other) = default;

BString::BString(BString&& other) noexcept = default;

BString::~BString() = default;

BString& BString::operator=(const BString& other) = default;

BString& BString::operator=(BString&& other) noexcept = default;

BString& BString::operator=(const char* string)
{
	return SetTo(string);
}

BString& BString::operator=(char c)
{
	return SetTo(c, 1);
}

BString& BString::SetTo(const char* string)
{
	fString.assign(or_empty(string));
	return *this;
}

BString& BString::SetTo(const char* string, int32 maxLength)
{
	fString.assign(or_empty(string), bounded_length(string, maxLength));
	return *this;
}

BString& BString::SetTo(const BString& other)
{
	fString = other.fString;
	return *this;
}

BString& BString::SetTo(char c, int32 count)
{
	fString.clear();
	return Append(c, count);
}

BString& BString::operator+=(const BString& other)
{
	return Append(other);
}

BString& BString::operator+=(const char* string)
{
	return Append(string);
}

BString& BString::operator+=(char c)
{
	return Append(c, 1);
}

BString& BString::Append(const BString& other)
{
	fString.append(other.fString);
	return *this;
}

BString& BString::Append(const char* string)
{
	fString.append(or_empty(string));
	return *this;
}

BString& BString::Append(const BString& other, int32 maxLength)
{
	return Append(other.String(), maxLength);
}

BString& BString::Append(const char* string, int32 maxLength)
{
	fString.append(or_empty(string), bounded_length(string, maxLength));
	return *this;
}

BString& BString::Append(char c, int32 count)
{
	if (c != '\0' && count > 0)
		fString.append(static_cast<size_t>(count), c);
	return *this;
}

BString& BString::Truncate(int32 newLength, bool lazy)
{
	if (newLength < Length())
		fString.resize(count_limit(newLength));
	if (!lazy)
		fString.shrink_to_fit();
	return *this;
}

int BString::Compare(const BString& other) const
{
	return Compare(other.String());
}

int BString::Compare(const char* string) const
{
	return sign(strcmp(String(), or_empty(string)));
}

int BString::Compare(const BString& other, int32 n) const
{
	return Compare(other.String(), n);
}

int BString::Compare(const char* string, int32 n) const
{
	return sign(strncmp(String(), or_empty(string), count_limit(n)));
}

int BString::ICompare(const BString& other) const
{
	return ICompare(other.String());
}

int BString::ICompare(const char* string) const
{
	return ascii_case_compare(String(), or_empty(string), SIZE_MAX);
}

int BString::ICompare(const BString& other, int32 n) const
{
	return ICompare(other.String(), n);
}

int BString::ICompare(const char* string, int32 n) const
{
	return ascii_case_compare(String(), or_empty(string), count_limit(n));
}

int32 BString::FindFirst(const BString& string, int32 fromOffset) const
{
	return FindFirst(string.String(), fromOffset);
}

int32 BString::FindFirst(const char* string, int32 fromOffset) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	if (fromOffset < 0 || fromOffset > Length())
		return B_ERROR;
	size_t found = fString.find(string, static_cast<size_t>(fromOffset));
	return found == std::string::npos ? B_ERROR : static_cast<int32>(found);
}

int32 BString::FindFirst(char c, int32 fromOffset) const
{
	if (c == '\0' || fromOffset < 0 || fromOffset > Length())
		return B_ERROR;
	size_t found = fString.find(c, static_cast<size_t>(fromOffset));
	return found == std::string::npos ? B_ERROR : static_cast<int32>(found);
}

char BString::ByteAt(int32 index) const
{
	if (index < 0 || index >= Length())
		return '\0';
	return fString[static_cast<size_t>(index)];
}

bool operator==(const char* string, const BString& other)
{
	return other.Compare(string) == 0;
}

bool operator!=(const char* string, const BString& other)
{
	return other.Compare(string) != 0;
}

bool operator<(const char* string, const BString& other)
{
	return other.Compare(string) > 0;
}

bool operator<=(const char* string, const BString& other)
{
	return other.Compare(string) >= 0;
}

bool operator>(const char* string, const BString& other)
{
	return other.Compare(string) < 0;
}

bool operator>=(const char* string, const BString& other)
{
	return other.Compare(string) <= 0;
}
