#include <gtest/gtest.h>

#include <Charset.h>

TEST(CharsetTest, DetectsJisShiftJisAndUtf8)
{
	struct {
		const char* text;
		uint32 expected;
		const char* what;
	} cases[] = {
		{"plain ascii", pelkan::kUTF8Charset, "ASCII"},
		{"", pelkan::kUTF8Charset, "empty"},
		{"\xe6\x97\xa5\xe6\x9c\xac", pelkan::kUTF8Charset, "UTF-8 Japanese"},
		{"\xf0\x9f\x8e\xb5", pelkan::kUTF8Charset, "four-byte UTF-8"},
		{"\x93\xfa\x96\x7b", B_SJIS_CONVERSION, "Shift-JIS Japanese"},
		{"\x82\xa0", B_SJIS_CONVERSION, "continuation byte as lead"},
		{"abc\xe6\x97", B_SJIS_CONVERSION, "sequence cut by the end"},
		{"\xc3(", B_SJIS_CONVERSION, "bad continuation"},
		{"\x1b$B$3\x1b(B", B_JIS_CONVERSION, "ISO-2022-JP"},
		{"\x1b$B\x93\xfa", B_JIS_CONVERSION, "escape wins over errors"},
	};
	for (const auto& test : cases)
		EXPECT_EQ(test.expected, pelkan::detect_charset(test.text)) << test.what;
}


TEST(CharsetTest, AnnouncedBytesAreSteppedOverEvenWhenTheyAreEscapes)
{
	// The ESC is consumed as the lead byte's (bad) continuation byte.
	EXPECT_EQ(B_SJIS_CONVERSION, pelkan::detect_charset("\xc3\x1b"));
}
