#ifndef _ENTRY_REF_H
#define _ENTRY_REF_H

#include <string>

#include <SupportDefs.h>

// A reference to a file-system entry that need not exist.
//
// On the original platform (device, directory inode, name) was enough to reach
// the entry. Linux cannot open a directory by inode, so the reference also keeps
// the canonical path of its directory; `device` and `directory` are filled from
// that directory when it exists (else -1). Two references are equal when they
// name the same entry: the same directory node (or, for a missing directory,
// the same directory path) and the same leaf name.
struct entry_ref {
	entry_ref();
	entry_ref(dev_t device, ino_t directory, const char* name);
	entry_ref(const entry_ref& other);
	entry_ref& operator=(const entry_ref& other);
	~entry_ref();

	status_t set_name(const char* name);

	bool operator==(const entry_ref& other) const;
	bool operator!=(const entry_ref& other) const;

	// The entry's absolute path, empty for an unset reference.
	std::string path() const;

	dev_t device;
	ino_t directory;
	char* name;
	// Canonical absolute path of the directory holding the entry.
	std::string directory_path;
};

// Identifies a node (file or folder) for node monitoring.
//
// inotify watches paths, not inodes, so the reference also keeps the path the
// node was reached through. A node_ref built from numbers alone finds its path
// again when this process has met the node before; equality ignores the path.
struct node_ref {
	node_ref();
	node_ref(dev_t device, ino_t node);

	bool operator==(const node_ref& other) const;
	bool operator!=(const node_ref& other) const;

	dev_t device;
	ino_t node;
	std::string path;
};

#endif
