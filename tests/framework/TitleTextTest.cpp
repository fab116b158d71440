#include <gtest/gtest.h>

#include <string>

#include <TitleText.h>

namespace {

std::string
repeated(const std::string& text, int count)
{
	std::string result;
	for (int i = 0; i < count; i++)
		result += text;
	return result;
}


TEST(TitleTextTest, ConvertsTheDetectedCharacterSet)
{
	struct Case {
		std::string raw;
		std::string title;
	} cases[] = {
		{"Plain title", "Plain title"},
		{"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", "テスト"},
		// Shift-JIS.
		{"\x83\x65\x83\x58\x83\x67", "テスト"},
		// JIS: the escape sequences select the character sets.
		{"\x1B$B%F%9%H\x1B(B!", "テスト!"},
		// Half-width katakana grow from one byte to three.
		{std::string(40, '\xB1'), repeated("ｱ", 40)},
		{"", ""},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.title, pelkan::title_to_utf8(test.raw)) << test.raw;
}


TEST(TitleTextTest, NulBytesBecomeSpacesAndHideNothing)
{
	struct Case {
		std::string raw;
		std::string title;
	} cases[] = {
		{std::string("\x83\x65\0\x83\x67", 5), "テ ト"},
		{std::string("UTF-8 \xE3\x83\x86\0end", 13), "UTF-8 テ end"},
		// The Shift-JIS text after the NUL decides the character set.
		{std::string("ab\0\x83\x65", 5), "ab テ"},
		{std::string("\0\0", 2), "  "},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.title, pelkan::title_to_utf8(test.raw)) << test.title;
}


TEST(TitleTextTest, TheFilesLeafNameStandsInForAMissingTitle)
{
	const std::string shiftJis = "\x83\x65\x83\x58\x83\x67";
	struct Case {
		const std::string* raw;
		const char* path;
		const char* title;
	} cases[] = {
		{&shiftJis, "/music/folder/song.mid", "テスト"},
		{NULL, "/music/folder/song.mid", "song.mid"},
		{NULL, "song.mid", "song.mid"},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.title, pelkan::song_title(test.raw, test.path))
			<< test.path;
}

}	// namespace
