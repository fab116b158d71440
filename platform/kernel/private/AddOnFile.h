#ifndef _KERNEL_PRIVATE_ADD_ON_FILE_H
#define _KERNEL_PRIVATE_ADD_ON_FILE_H

#include <SupportDefs.h>

namespace BPrivate {

// Whether the file at `path` is a shared library whose loadable parts all
// lie inside the file. The dynamic loader maps segments without checking
// them against the file's size, so a truncated library would fault (SIGBUS)
// inside dlopen instead of failing. B_OK, or the reason the file is refused.
status_t check_add_on_file(const char* path);

}	// namespace BPrivate

#endif
