#ifndef LOCALE_LANGUAGE_H
#define LOCALE_LANGUAGE_H

#include <string>

#include "LanguageFiles.h"

// The language code ("de" of "de_DE.UTF-8") of the desktop's locale for
// messages: the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty decides, as POSIX has it. "" for "C", "POSIX" or none.
std::string locale_language_code();

// Whether a language table's name ("German ( Deutsch )", or just "German")
// is the language of that English name; case does not matter.
bool names_language(const std::string& languageName, const char* englishName);

// The language file that suits a language code among the listed languages
// (as get_lang_files lists them): "" (the built-in text) for Japanese; the
// file whose language is the code's, known by the English name its
// "Language" value begins with or by its file name; else English's; else ""
// (no English file either). An unknown or empty code is taken as English.
std::string language_file_for_locale(const std::string& code,
	const TLanguageFiles& languages);

#endif
