#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <UTF8.h>

namespace {

struct Conversion {
	status_t status;
	std::string output;
	int32 consumed;
	int32 state;
};


Conversion
convert(uint32 encoding, const std::string& source, int32 room,
	int32 state = 0)
{
	std::vector<char> buffer(room + 8, '\x7f');
	int32 sourceLength = static_cast<int32>(source.size());
	int32 length = room;
	Conversion result;
	result.status = convert_to_utf8(encoding, source.data(), &sourceLength,
		buffer.data(), &length, &state);
	for (size_t i = room; i < buffer.size(); i++)
		EXPECT_EQ('\x7f', buffer[i]) << "written past the room at " << i;
	result.output.assign(buffer.data(), length);
	result.consumed = sourceLength;
	result.state = state;
	return result;
}

}


TEST(UTF8Test, JapaneseEncodingsBecomeUtf8)
{
	struct {
		uint32 encoding;
		std::string source;
		std::string expected;
		const char* what;
	} cases[] = {
		{B_SJIS_CONVERSION, "\x93\xfa\x96\x7b", "日本", "Shift-JIS"},
		{B_SJIS_CONVERSION, "\x87\x40", "①", "CP932 circled digit"},
		{B_SJIS_CONVERSION, "\xb1\xb2", "ｱｲ", "half-width katakana"},
		{B_EUC_CONVERSION, "\xc6\xfc\xcb\xdc", "日本", "EUC-JP"},
		{B_JIS_CONVERSION, "\x1b$BF|K\\\x1b(B!", "日本!", "ISO-2022-JP"},
		{B_ISO1_CONVERSION, "caf\xe9", "café", "Latin-1"},
	};
	for (const auto& test : cases) {
		Conversion result = convert(test.encoding, test.source, 64);
		EXPECT_EQ(B_OK, result.status) << test.what;
		EXPECT_EQ(test.expected, result.output) << test.what;
		EXPECT_EQ(static_cast<int32>(test.source.size()), result.consumed)
			<< test.what;
	}
}


TEST(UTF8Test, InvalidBytesBecomeTheSubstituteOneByteEach)
{
	// 0x80 and 0xa0 are not Shift-JIS characters; the text around them survives.
	Conversion result = convert(B_SJIS_CONVERSION, "a\x80" "b\xa0\x93\xfa", 64);
	EXPECT_EQ(B_OK, result.status);
	EXPECT_EQ("a\x1a" "b\x1a" "日", result.output);
	EXPECT_EQ(6, result.consumed);
}


TEST(UTF8Test, NulPassesThroughAndIsCounted)
{
	Conversion result = convert(B_SJIS_CONVERSION, std::string("\x93\xfa\0", 3), 64);
	EXPECT_EQ(B_OK, result.status);
	EXPECT_EQ(std::string("日\0", 4), result.output);
	EXPECT_EQ(3, result.consumed);
}


TEST(UTF8Test, NeverWritesPastTheRoomAndReportsWhatFitted)
{
	// Four half-width katakana need twelve bytes; twice the length is eight.
	Conversion result = convert(B_SJIS_CONVERSION, "\xb1\xb2\xb3\xb4", 8);
	EXPECT_EQ(B_OK, result.status);
	EXPECT_EQ("ｱｲ", result.output);
	EXPECT_EQ(2, result.consumed);

	Conversion none = convert(B_SJIS_CONVERSION, "\x80", 0);
	EXPECT_EQ(0, none.consumed);
	EXPECT_EQ("", none.output);
}


TEST(UTF8Test, JisShiftStateCarriesOverBetweenCalls)
{
	Conversion first = convert(B_JIS_CONVERSION, "\x1b$BF|", 64);
	EXPECT_EQ("日", first.output);
	EXPECT_NE(0, first.state);

	Conversion second = convert(B_JIS_CONVERSION, "K\\\x1b(B", 64, first.state);
	EXPECT_EQ("本", second.output);
	EXPECT_EQ(0, second.state);
}


TEST(UTF8Test, RejectsUnknownEncodingsAndMissingBuffers)
{
	char out[8];
	int32 sourceLength = 1;
	int32 length = sizeof(out);
	int32 state = 0;
	EXPECT_EQ(B_ERROR, convert_to_utf8(1000, "a", &sourceLength, out, &length,
		&state));
	EXPECT_EQ(B_BAD_VALUE, convert_to_utf8(B_SJIS_CONVERSION, nullptr,
		&sourceLength, out, &length, &state));
}
