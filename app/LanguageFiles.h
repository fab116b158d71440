#ifndef LANGUAGE_FILES_H
#define LANGUAGE_FILES_H

#include <map>
#include <string>
#include <vector>

// The folders that hold language files, by name beside the executable and in
// the user's data folder (see AddOnFolders.h).
extern const char* const kLanguageFolderName;

// Language name → file path; the empty path is the built-in text.
typedef std::map<std::string, std::string> TLanguageFiles;

// The program's "Language" folder, then the user's.
std::vector<std::string> language_folders();

// Whether a file of that name (not a path) counts as a language file.
bool is_language_file_name(const std::string& name);

// Lists every loadable language file of the language folders, the program's
// first, then the built-in language under its own name with the empty path.
// A later file of the same language replaces an earlier one; the built-in
// language replaces a file of its name. A file that names no language is
// listed under its file name.
void get_lang_files(TLanguageFiles* languages);

#endif
