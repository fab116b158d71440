#ifndef FIRST_START_H
#define FIRST_START_H

#include <string>
#include <vector>

// A new user hears music at once: on the very first start the list holds
// the demo song that ships beside the program, and it plays.

// No exit state was ever saved in the settings folder. Ask before the
// settings are loaded.
bool is_first_start();

// The demo songs in the "Demo" folder of `programFolder` (which ends with
// "/"), sorted by name; none when the folder is missing.
std::vector<std::string> demo_songs(const std::string& programFolder);

#endif
