#include "FileUrl.h"

namespace {

// Plain ASCII tests: the locale must not let a byte of a UTF-8 name through.
bool
is_unreserved(unsigned char c)
{
	return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
		|| c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

}


std::string
file_url(const std::string& path)
{
	static const char kHex[] = "0123456789ABCDEF";
	std::string url = "file://";
	for (const unsigned char c : path) {
		if (is_unreserved(c)) {
			url += static_cast<char>(c);
		} else {
			url += '%';
			url += kHex[c >> 4];
			url += kHex[c & 0x0f];
		}
	}
	return url;
}
