#ifndef VIEW_ARCHIVE_SOURCE_H
#define VIEW_ARCHIVE_SOURCE_H

#include <string>

#include <SupportDefs.h>

class BMessage;

// Where and why a view-archive source was refused. Lines count from 1.
struct TViewArchiveError {
	int32 line = 0;
	std::string message;
};

// Reads the text of a view-archive source (the format is described at the
// top of tools/build_view_archive.cpp) into `archive`, the root view's
// archive with its children nested under "_views", as the interface kit's
// Archive() methods write it. On refusal `archive` is left empty and
// `error` says where. Time and memory are linear in the text's length.
bool parse_view_archive_source(const std::string& text, BMessage* archive,
	TViewArchiveError* error);

#endif
