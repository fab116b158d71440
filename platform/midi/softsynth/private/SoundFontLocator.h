#ifndef _SOUND_FONT_LOCATOR_H
#define _SOUND_FONT_LOCATOR_H

#include <string>
#include <vector>

#include <String.h>
#include <SupportDefs.h>

namespace BPrivate {

// Where sound fonts live on a Linux system, the user's own folders first:
// "soundfonts" and "sounds/sf2" under $XDG_DATA_HOME (~/.local/share), then
// under each folder of $XDG_DATA_DIRS (/usr/local/share:/usr/share).
std::vector<std::string> sound_font_folders();

// A sound font the user named (`requested`, not empty) must be a readable
// file; there is no falling back to another one then. Without a request the
// first folder holding one wins; in a folder "default-GM.sf2" (the system's
// chosen General MIDI font) comes first, then *.sf2 and *.sf3 files in byte
// order of their names. On failure `reason` says what is wrong and what to do.
status_t find_sound_font(const char* requested,
	const std::vector<std::string>& folders, std::string* path,
	BString* reason);

}	// namespace BPrivate

#endif
