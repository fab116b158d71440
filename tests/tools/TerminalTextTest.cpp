#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "ProgressLine.h"

namespace {

TEST(TerminalTextTest, NoTitleCanControlTheTerminal)
{
	struct Case {
		std::string text;
		int32 columns;
		std::string shown;
	} cases[] = {
		{"Title", INT_MAX, "Title"},
		{"Bad\x1B]0;owned\x07\r\nline", INT_MAX, "Bad ]0;owned   line"},
		{"DEL\x7F and C1 \xC2\x9B" "31m", INT_MAX, "DEL  and C1  31m"},
		{"broken \xFF\xC3 utf-8", INT_MAX, "broken ?? utf-8"},
		// Overlong and surrogate forms are not UTF-8 either.
		{"\xC0\x9B\xED\xA0\x80", INT_MAX, "?????"},
		{"Longer than ten", 10, "Longer tha"},
		// Wide characters take two columns and are never cut in half.
		{"テスト", 5, "テス"},
		{"テスト", 6, "テスト"},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.shown, terminal_text(test.text, test.columns));
}


TEST(TerminalTextTest, TheProgressLineFitsTheTerminal)
{
	TProgress progress = {"A rather long song title", 2, 12, 83000000, 37,
		120, 150};
	EXPECT_EQ("A rather long song title  [2/12] 1:23   37%  120 bpm x150%",
		format_progress(progress, 80));
	EXPECT_EQ("A rathe  [2/12] 1:23   37%  120 bpm x150%",
		format_progress(progress, 42));
	// Too narrow for any title: the figures alone, cut.
	EXPECT_EQ("[2/12] 1:23", format_progress(progress, 12));
}

}	// namespace
