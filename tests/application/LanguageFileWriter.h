#ifndef LANGUAGE_FILE_WRITER_H
#define LANGUAGE_FILE_WRITER_H

#include <string>

#include "TempFolder.h"

// A small language file: its language name (none when empty) and the label
// of the File menu.
inline void
write_language_file(const std::string& path, const std::string& language,
	const std::string& fileMenu = "F - File")
{
	write_whole_file(path, "[ Informations ]\nHeader = VLT File Format 100\n"
		+ (language.empty() ? std::string() : "Language = " + language + "\n")
		+ "[ Data ]\nMenu_File = " + fileMenu + "\n");
}

#endif
