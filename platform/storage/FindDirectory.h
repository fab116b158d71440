#ifndef _FIND_DIRECTORY_H
#define _FIND_DIRECTORY_H

#include <SupportDefs.h>

class BPath;
class BVolume;

// The original platform's numbers for the folders this system knows.
enum directory_which {
	B_DESKTOP_DIRECTORY = 0,
	B_TRASH_DIRECTORY = 1,

	B_USER_DIRECTORY = 3000,
	B_USER_CONFIG_DIRECTORY = 3001,
	B_USER_SETTINGS_DIRECTORY = 3006
};

// Linux places: the home folder, $XDG_CONFIG_HOME (or ~/.config) for the
// settings and config folders, ~/Desktop, $XDG_DATA_HOME/Trash. Reads only
// the environment and the password database, so it works before main().
status_t find_directory(directory_which which, BPath* path,
	bool create = false, BVolume* volume = NULL);

#endif
