#include <gtest/gtest.h>

#include <PKNFile.h>

#include "TempFolder.h"

TEST(PKNFileTest, ReadsLinesOfEitherEndingAndSplitsLongOnes)
{
	TempFolder folder;
	write_whole_file(folder / "list.lml", "TirokaList$1\r\n/a.mid\n0123456789\nlast");

	pelkan::TPKNFile file((folder / "list.lml").c_str(), B_READ_ONLY);
	char line[8];
	struct {
		int32 count;
		const char* text;
	} expected[] = {
		{7, "TirokaL"}, {6, "ist$1"}, {6, "/a.mid"}, {7, "0123456"},
		{3, "789"}, {4, "last"},
	};
	for (const auto& step : expected) {
		ASSERT_FALSE(file.Eof());
		EXPECT_EQ(step.count, file.ReadLine(line, sizeof(line)));
		EXPECT_STREQ(step.text, line);
	}
	EXPECT_TRUE(file.Eof());
	EXPECT_EQ(0, file.ReadLine(line, sizeof(line)));
	EXPECT_STREQ("", line);
}


TEST(PKNFileTest, WritesLineFeeds)
{
	TempFolder folder;
	{
		pelkan::TPKNFile file((folder / "out").c_str(),
			B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
		EXPECT_EQ(B_OK, file.WriteLine("TirokaList$1"));
		EXPECT_EQ(B_OK, file.WriteLine("/日本/a.mid"));
	}
	EXPECT_EQ("TirokaList$1\n/日本/a.mid\n", read_whole_file(folder / "out"));
}
