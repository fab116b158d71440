#ifndef PATH_FUNCTIONS_H
#define PATH_FUNCTIONS_H

#include <string>

// Path operations on texts; a path splits at its last '/'.

// Everything up to and including the last '/'; empty when there is none.
std::string extract_file_path(const std::string& path);
// Everything after the last '/'; the whole path when there is none.
std::string extract_file_name(const std::string& path);
// The file name without its extension (the last '.' of the name and what follows).
std::string extract_file_body(const std::string& path);
// path + "." + ext when the file name has no '.'; otherwise path unchanged.
std::string add_ext(const std::string& path, const std::string& ext);
// path with its extension replaced by ext, or "." + ext appended when it has none.
std::string reext(const std::string& path, const std::string& ext);
// The same on zero-terminated texts; dest must hold the result and its NUL.
void reext(const char* source, const char* ext, char* dest);

#endif
