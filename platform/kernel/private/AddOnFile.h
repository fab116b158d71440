#ifndef _KERNEL_PRIVATE_ADD_ON_FILE_H
#define _KERNEL_PRIVATE_ADD_ON_FILE_H

#include <sys/types.h>

#include <SupportDefs.h>

namespace BPrivate {

// Which file a path led to; a file renamed over another one is a new file.
struct AddOnFileID {
	dev_t device;
	ino_t node;

	bool operator==(const AddOnFileID&) const = default;
};

// Whether the file at `path` is a shared library whose loadable parts all
// lie inside the file. The dynamic loader maps segments without checking
// them against the file's size, so a truncated library would fault (SIGBUS)
// inside dlopen instead of failing. B_OK, or the reason the file is refused;
// on B_OK, `_id` tells which file was checked.
status_t check_add_on_file(const char* path, AddOnFileID* _id);

}	// namespace BPrivate

#endif
