#ifndef NATIVE_LIST_WRITER_H
#define NATIVE_LIST_WRITER_H

#include <string>
#include <vector>

#include <SupportDefs.h>

// The file type of the program's own playlists.
extern const char* const kNativeListMimeType;

// Replaces the list file at `path` atomically with the header and one line
// per entry; the file's type is set on the way (a file system without
// attributes is not an error). On any failure the previous file is left
// byte-identical.
//
// Returns B_OK; B_BAD_VALUE with *badEntry (when not null) set to the first
// entry that could not read back as the same single line: one holding a line
// break (CR or LF), or one longer than a list line (2046 bytes); B_BAD_VALUE
// for a null or empty path; or the error of the failed create, write or
// commit.
status_t write_native_list(const char* path,
	const std::vector<std::string>& entries, std::string* badEntry);

#endif
