#ifndef _STORAGE_PRIVATE_H
#define _STORAGE_PRIVATE_H

// Path handling shared by the storage classes; not part of the public API.

#include <string>

#include <SupportDefs.h>

struct entry_ref;

namespace BPrivate {

// The file type attribute and its type code (the original platform's
// B_MIME_STRING_TYPE).
const char* const kTypeAttribute = "BEOS:TYPE";
const type_code kMimeStringType = 'MIMS';

// `path` made absolute against the working folder, without touching the
// file system further. Empty for a null or empty path.
std::string absolute_path(const char* path);

// An absolute path with "//", "." and ".." folded away by text alone; used
// only where the folders in question do not exist.
std::string clean_path(const std::string& absolutePath);

// `directory` + "/" + `leaf`, without doubling the root's slash.
std::string join_path(const std::string& directory, const std::string& leaf);

// Fills `ref` for an absolute path. The folder is canonicalised when it
// exists (device and inode filled); otherwise its cleaned path is kept with
// device and directory -1 and the result is B_ENTRY_NOT_FOUND.
status_t ref_for_absolute_path(const std::string& absolutePath,
	entry_ref* ref);

// As above, then follows symbolic links at the leaf until it names no link
// (the target need not exist).
status_t ref_for_absolute_path_traversed(const std::string& absolutePath,
	entry_ref* ref);

// A process-wide memory of where nodes live, so that references rebuilt from
// numbers (flattened entry_refs, node_refs) find their paths again. Lookups
// check that the path still leads to the node.
void remember_node_path(dev_t device, ino_t node, const std::string& path);
std::string known_node_path(dev_t device, ino_t node);

// The home folder from $HOME, else from the password database; empty when
// neither knows it.
std::string home_directory();

// An XDG base folder ($XDG_CONFIG_HOME …), else `fallback` in the home
// folder; relative values are invalid and ignored.
std::string xdg_directory(const char* variable, const char* fallback);

// The type a file name's extension stands for: the types installed with
// BMimeType first, then a small built-in table. Empty when unknown.
std::string mime_type_for_file_name(const char* name);

} // namespace BPrivate

#endif
