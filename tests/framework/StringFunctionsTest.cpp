#include <gtest/gtest.h>

#include <string>

#include <StringFunctions.h>

namespace {

typedef int32 (*TrimFunction)(char*, const char*);

struct TrimCase {
	TrimFunction function;
	const char* name;
	const char* source;
	const char* expected;
};

}


TEST(StringFunctionsTest, TrimsOnlyTheRequestedEnds)
{
	const TrimCase cases[] = {
		{trim, "trim", " \t\n ab c \r\v\f", "ab c"},
		{trimleft, "trimleft", " \t ab c  ", "ab c  "},
		{trimright, "trimright", "  ab c \n", "  ab c"},
		{trim, "trim", "   ", ""},
		{trimleft, "trimleft", "", ""},
		{trimright, "trimright", "x", "x"},
	};
	for (const TrimCase& test : cases) {
		char dest[64];
		int32 length = test.function(dest, test.source);
		EXPECT_STREQ(test.expected, dest) << test.name << " of '" << test.source << "'";
		EXPECT_EQ(static_cast<int32>(strlen(test.expected)), length) << test.name;
	}
}


TEST(StringFunctionsTest, MidCountsFromOneAndTakesTheRestForZeroOrLongLengths)
{
	struct {
		const char* source;
		int32 start;
		int32 length;
		const char* expected;
	} cases[] = {
		{"abcdef", 2, 0, "bcdef"},
		{"abcdef", 2, 3, "bcd"},
		{"abcdef", 4, 100, "def"},
		{"abcdef", 1, 6, "abcdef"},
		{"abcdef", 7, 1, ""},
		{"", 1, 0, ""},
	};
	for (const auto& test : cases) {
		char dest[16] = "garbage";
		int32 copied = mid(dest, test.source, test.start, test.length);
		EXPECT_STREQ(test.expected, dest) << test.source << " " << test.start;
		EXPECT_EQ(static_cast<int32>(strlen(test.expected)), copied);
	}
}


TEST(StringFunctionsTest, InstrFindsTheFirstOccurrenceAtOrAfterStart)
{
	EXPECT_EQ(0, instr("no equals sign", "=", 1));
	EXPECT_EQ(4, instr("key=value=x", "=", 1));
	EXPECT_EQ(4, instr("key=value=x", "=", 4));
	EXPECT_EQ(10, instr("key=value=x", "=", 5));
	EXPECT_EQ(0, instr("key=value=x", "=", 11));
	EXPECT_EQ(0, instr("abc", "a", 10));
}


TEST(StringFunctionsTest, RepstrReplacesOneOccurrenceOrLeavesDestUnset)
{
	char dest[32] = "untouched";
	EXPECT_EQ(0, repstr(dest, "abcabc", "x", "y", 1));
	EXPECT_STREQ("untouched", dest);

	EXPECT_EQ(4, repstr(dest, "abcabc", "a", "XYZ", 2));
	EXPECT_STREQ("abcXYZbc", dest);

	EXPECT_EQ(1, repstr(dest, "abcabc", "abc", "", 1));
	EXPECT_STREQ("abc", dest);

	char inPlace[32] = "C:\\MIDI";
	EXPECT_EQ(1, repstr(inPlace, inPlace, "C:", "/windows", 1));
	EXPECT_STREQ("/windows\\MIDI", inPlace);
}
