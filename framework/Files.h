#ifndef FILES_H
#define FILES_H

#include <string>

#include <Path.h>
#include <SupportDefs.h>

class BEntry;
class BMessage;
struct entry_ref;

namespace pelkan {

// Where get_entry looks for a file that is not named by an absolute path.
enum TBaseDir {
	BaseDir_Absolute = 0,	// sub is an absolute folder
	BaseDir_Exe = 1,		// the executable's folder
	BaseDir_Settings = 2	// the user's settings folder, then "PELKAN"
};

// Sets entry to the file `name` below the base folder and sub-folder,
// creating the folders when missing (executable and settings bases). A name
// beginning with "/" is taken as it stands. The file need not exist.
bool get_entry(const char* name, BEntry* entry, TBaseDir base, const char* sub);

// The full path of the running executable, symbolic links resolved; empty
// when the system cannot tell.
std::string executable_path();

// The target of a save panel's request: "name" in the folder "directory".
status_t get_save_ref(const BMessage* saveRequest, entry_ref* ref);
// The entry `name` in `folder`.
status_t get_ref(const entry_ref& folder, const char* name, entry_ref* ref);
BPath path_for_ref(const entry_ref* ref);

// Copies a file's bytes and attributes; a folder as destination receives the
// file under its own name. The target is replaced as a whole (a new file
// renamed over it), so a reader of the old file never sees it change.
status_t copy_file(const char* source, const char* destination);

}

bool is_file_exists(const char* path);

#endif
