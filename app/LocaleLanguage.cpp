#include "LocaleLanguage.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include <strings.h>

#include <PathFunctions.h>

namespace {

// ISO 639-1 codes and the English names language files give their language
// by ("German ( Deutsch )").
const struct {
	const char* code;
	const char* name;
} kLanguageNames[] = {
	{"ar", "Arabic"}, {"bg", "Bulgarian"}, {"ca", "Catalan"}, {"cs", "Czech"},
	{"da", "Danish"}, {"de", "German"}, {"el", "Greek"}, {"en", "English"},
	{"eo", "Esperanto"}, {"es", "Spanish"}, {"et", "Estonian"}, {"eu", "Basque"},
	{"fa", "Persian"}, {"fi", "Finnish"}, {"fr", "French"}, {"he", "Hebrew"},
	{"hi", "Hindi"}, {"hr", "Croatian"}, {"hu", "Hungarian"}, {"id", "Indonesian"},
	{"is", "Icelandic"}, {"it", "Italian"}, {"ja", "Japanese"}, {"ko", "Korean"},
	{"lt", "Lithuanian"}, {"lv", "Latvian"}, {"nb", "Norwegian"}, {"nl", "Dutch"},
	{"nn", "Norwegian"}, {"no", "Norwegian"}, {"pl", "Polish"}, {"pt", "Portuguese"},
	{"ro", "Romanian"}, {"ru", "Russian"}, {"sk", "Slovak"}, {"sl", "Slovenian"},
	{"sr", "Serbian"}, {"sv", "Swedish"}, {"th", "Thai"}, {"tr", "Turkish"},
	{"uk", "Ukrainian"}, {"vi", "Vietnamese"}, {"zh", "Chinese"}
};

const char kEnglish[] = "en";
const char kJapanese[] = "ja";


const char*
english_name_of(const std::string& code)
{
	for (const auto& language : kLanguageNames) {
		if (code == language.code)
			return language.name;
	}
	return nullptr;
}


// The first listed file (in language-name order) of that language; "" with
// found false when there is none.
std::string
file_of_language(const char* englishName, const TLanguageFiles& languages, bool* found)
{
	for (const auto& [name, path] : languages) {
		if (names_language(name, englishName)
			|| (!path.empty() && names_language(extract_file_body(path), englishName))) {
			*found = true;
			return path;
		}
	}
	*found = false;
	return std::string();
}

}	// namespace


bool
names_language(const std::string& languageName, const char* englishName)
{
	const size_t length = strlen(englishName);
	return languageName.size() >= length
		&& strncasecmp(languageName.c_str(), englishName, length) == 0
		&& (languageName.size() == length || languageName[length] == ' '
			|| languageName[length] == '(');
}


std::string
locale_language_code()
{
	const char* locale = nullptr;
	for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
		const char* value = getenv(variable);
		if (value != nullptr && value[0] != '\0') {
			locale = value;
			break;
		}
	}
	if (locale == nullptr)
		return std::string();
	std::string code(locale, strcspn(locale, "_.@"));
	for (char& c : code)
		c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
	if (code == "c" || code == "posix")
		return std::string();
	return code;
}


std::string
language_file_for_locale(const std::string& code, const TLanguageFiles& languages)
{
	if (code == kJapanese)
		return std::string();
	bool found = false;
	if (const char* name = english_name_of(code)) {
		std::string path = file_of_language(name, languages, &found);
		if (found)
			return path;
	}
	return file_of_language(english_name_of(kEnglish), languages, &found);
}
