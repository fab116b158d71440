#ifndef FILE_URL_H
#define FILE_URL_H

#include <string>

// A file URL of an absolute path: every byte but the unreserved characters
// and "/" percent-encoded, so that blanks, "#", "%" and UTF-8 names survive.
std::string file_url(const std::string& path);

#endif
