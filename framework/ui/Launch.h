#ifndef LAUNCH_H
#define LAUNCH_H

#include <string>

#include <SupportDefs.h>

namespace pelkan {

// Opens the document `file` of the executable's folder with the desktop's
// preferred application. B_OK also when that application was already
// running. `path` receives the document's path (for a failure report).
status_t open_help_document(const char* file, std::string* path);
// Opens the address in the web browser. B_BAD_VALUE for an address longer
// than 255 bytes: it is refused rather than cut short.
status_t open_url(const char* url);

// The same, telling the user of a failure with a warning: the caption, then
// failureText followed by the document's path or the address.
bool show_help(const char* file, const char* caption, const char* failureText);
bool show_url(const char* url, const char* caption, const char* failureText);

}

#endif
