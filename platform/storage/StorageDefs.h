#ifndef _STORAGE_DEFS_H
#define _STORAGE_DEFS_H

#include <fcntl.h>
#include <limits.h>

// Linux allows longer paths than the original platform's 1024 bytes; buffers
// sized with these constants must hold every path the system can hand out.
#define B_DEV_NAME_LENGTH 128
#define B_FILE_NAME_LENGTH (NAME_MAX + 1)
#define B_PATH_NAME_LENGTH PATH_MAX
#define B_ATTR_NAME_LENGTH (B_FILE_NAME_LENGTH - 1)
#define B_MIME_TYPE_LENGTH (B_ATTR_NAME_LENGTH - 15)

// Open modes are the POSIX flags themselves, as on the original platform.
enum {
	B_READ_ONLY = O_RDONLY,
	B_WRITE_ONLY = O_WRONLY,
	B_READ_WRITE = O_RDWR,

	B_FAIL_IF_EXISTS = O_EXCL,
	B_CREATE_FILE = O_CREAT,
	B_ERASE_FILE = O_TRUNC,
	B_OPEN_AT_END = O_APPEND
};

enum node_flavor {
	B_FILE_NODE = 0x01,
	B_SYMLINK_NODE = 0x02,
	B_DIRECTORY_NODE = 0x04,
	B_ANY_NODE = 0x07
};

#endif
