#include <gtest/gtest.h>

#include <filesystem>

#include <LanguageFiles.h>
#include <LocaleLanguage.h>

#include "AppRig.h"
#include "LanguageFileWriter.h"

namespace fs = std::filesystem;

namespace {

const char kBuiltIn[] = "Japanese ( 日本語 )";

typedef AppTest LanguageFilesTest;

}	// namespace


TEST_F(LanguageFilesTest, EmptyFoldersListTheBuiltInLanguageAlone)
{
	TLanguageFiles languages;
	get_lang_files(&languages);
	EXPECT_EQ((TLanguageFiles{{kBuiltIn, ""}}), languages);
}


// The user's data folder lies below a home named "vltava": only each file's
// own name decides whether it is a language file.
TEST_F(LanguageFilesTest, ListsBothFoldersByTheFilesOwnNames)
{
	const std::string dataHome = fHome.Path() + "/vltava/data";
	ScopedVariable data("XDG_DATA_HOME", dataHome.c_str());
	const std::string program = ProgramFolder("Language");
	const std::string user = dataHome + "/VantuMIDI/Language";
	fs::create_directories(user);
	InstallEnglish();
	write_language_file(program + "/Aaa.vlt", "Dutch ( Nederlands )");
	// Read right after a file that names a language: listed under its own
	// file name, not under the name the file before it gave.
	write_language_file(program + "/Abb.vlt", "");
	write_whole_file(program + "/Broken.vlt", "[ Informations ]\nHeader = VLT File Format 99\n");
	write_language_file(program + "/German.vlt.txt", "German ( Deutsch )");
	write_language_file(program + "/Nodotvlt", "Danish ( Dansk )");
	write_language_file(user + "/French.vlt", "French ( Français )");
	write_language_file(user + "/BetterEnglish.vlt", "English ( English )");
	// The built-in language replaces a file that claims its name.
	write_language_file(user + "/Japanese.vlt", kBuiltIn);

	TLanguageFiles languages;
	get_lang_files(&languages);

	EXPECT_EQ((TLanguageFiles{
		{"Abb.vlt", program + "/Abb.vlt"},
		{"Danish ( Dansk )", program + "/Nodotvlt"},
		{"Dutch ( Nederlands )", program + "/Aaa.vlt"},
		{"English ( English )", user + "/BetterEnglish.vlt"},
		{"French ( Français )", user + "/French.vlt"},
		{kBuiltIn, ""},
	}), languages);
}


TEST_F(LanguageFilesTest, LocaleChoosesTheFileOfItsLanguage)
{
	const std::string program = ProgramFolder("Language");
	const std::string english = program + "/English.vlt";
	const std::string german = program + "/Deutsch.vlt";
	const std::string polish = program + "/Polish.vlt";
	const struct {
		const char* all;
		const char* messages;
		const char* lang;
		bool englishInstalled;
		std::string expected;
	} cases[] = {
		{nullptr, nullptr, nullptr, true, english},
		{nullptr, nullptr, "C", true, english},
		{nullptr, nullptr, "POSIX", true, english},
		{nullptr, nullptr, "C.UTF-8", true, english},
		{nullptr, nullptr, "en_US.UTF-8", true, english},
		{nullptr, nullptr, "ja_JP.UTF-8", true, ""},
		{nullptr, nullptr, "de_DE.UTF-8", true, german},
		{nullptr, nullptr, "de_AT@euro", true, german},
		{nullptr, nullptr, "DE_ch", true, german},
		// Known by its file name: the file names its language in its own words.
		{nullptr, nullptr, "pl_PL.UTF-8", true, polish},
		// The first variable that is set and not empty decides.
		{"ja_JP.UTF-8", "de_DE.UTF-8", "en_GB.UTF-8", true, ""},
		{"", "de_DE.UTF-8", "ja_JP.UTF-8", true, german},
		{nullptr, "", "de_DE.UTF-8", true, german},
		{"C", "de_DE.UTF-8", nullptr, true, english},
		// No file of the language: English; without English either, the
		// built-in text.
		{nullptr, nullptr, "fr_FR.UTF-8", true, english},
		{nullptr, nullptr, "xx_YY", true, english},
		{nullptr, nullptr, "fr_FR.UTF-8", false, ""},
		{nullptr, nullptr, "en_US.UTF-8", false, ""},
	};
	write_language_file(german, "German ( Deutsch )");
	write_language_file(polish, "Polski");
	for (const auto& test : cases) {
		SCOPED_TRACE(std::string(test.all ? test.all : "-") + " " + (test.messages
			? test.messages : "-") + " " + (test.lang ? test.lang : "-"));
		ScopedVariable all("LC_ALL", test.all);
		ScopedVariable messages("LC_MESSAGES", test.messages);
		ScopedVariable lang("LANG", test.lang);
		fs::remove(english);
		if (test.englishInstalled)
			InstallEnglish();
		TLanguageFiles languages;
		get_lang_files(&languages);
		EXPECT_EQ(test.expected, language_file_for_locale(locale_language_code(), languages));
	}
}
