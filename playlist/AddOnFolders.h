#ifndef ADD_ON_FOLDERS_H
#define ADD_ON_FOLDERS_H

#include <string>
#include <vector>

// Add-ons of one kind ("Language", "Loader") live in two folders: the
// program's own beside the executable, and the user's own under
// $XDG_DATA_HOME/VantuMIDI (~/.local/share/VantuMIDI), since the program's
// folder is usually not writable once installed.

// The user's folder of that kind, without a trailing "/"; empty when
// neither XDG_DATA_HOME nor HOME tells where the user's data lives.
std::string user_add_on_folder(const char* kind);

// The program's folder of that kind (exeFolder ends with "/"), then the
// user's: the order in which add-ons are listed and loaded.
std::vector<std::string> add_on_folders(const std::string& exeFolder, const char* kind);

#endif
