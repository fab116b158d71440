#include <gtest/gtest.h>

#include <string>
#include <vector>

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


namespace {

struct ExpectedLine {
	std::string text;
	int32 count;
	off_t end;
};

// The line rules applied one byte at a time, the way they are stated.
std::vector<ExpectedLine>
lines_by_rule(const std::string& content, size_t size)
{
	std::vector<ExpectedLine> lines;
	size_t position = 0;
	while (position < content.size()) {
		std::string stored;
		while (stored.size() < size - 1 && position < content.size()) {
			const char c = content[position++];
			if (c == '\n')
				break;
			stored += c;
		}
		const int32 count = static_cast<int32>(stored.size());
		if (!stored.empty() && stored.back() == '\r')
			stored.pop_back();
		lines.push_back({stored, count, static_cast<off_t>(position)});
	}
	return lines;
}

// Lines of 80 bytes up to `offset`, where the last of them ends.
void
add_lines_up_to(std::string* content, size_t offset)
{
	while (content->size() + 81 < offset)
		*content += std::string(80, 'x') + "\n";
	*content += std::string(offset - content->size() - 1, 'y') + "\n";
}

}


// The lines are read in blocks; at each boundary of every likely block size
// (4 to 64 KiB) a line end, a cut or a carriage return falls just across.
TEST(PKNFileTest, LinesAcrossBlockBoundariesFollowTheLineRules)
{
	std::string content;
	add_lines_up_to(&content, 4095);
	content += "\r\n";  // CR and LF on either side of 4096
	add_lines_up_to(&content, 8192 - 1000);
	content += std::string(3000, 'z') + "\r\n";  // cut twice, across 8192
	add_lines_up_to(&content, 16383);
	content += "\r\r\n";  // a CR on either side of 16384
	add_lines_up_to(&content, 32767 - 2046);
	content += std::string(2046, 'c') + "\rtail\n";  // a cut ending in CR at 32767
	add_lines_up_to(&content, 65535);
	content += "\n\n";  // empty lines on either side of 65536
	content += std::string(2047, 'd') + "\n";  // a cut just before its LF
	content += "last";

	TempFolder folder;
	write_whole_file(folder / "long.lml", content);
	pelkan::TPKNFile file((folder / "long.lml").c_str(), B_READ_ONLY);
	char line[2048];
	for (const ExpectedLine& expected : lines_by_rule(content, sizeof(line))) {
		SCOPED_TRACE(expected.end);
		ASSERT_FALSE(file.Eof());
		ASSERT_EQ(expected.count, file.ReadLine(line, sizeof(line)));
		ASSERT_EQ(expected.text, line);
		ASSERT_EQ(expected.end, file.Position());
	}
	EXPECT_TRUE(file.Eof());
	EXPECT_EQ(0, file.ReadLine(line, sizeof(line)));
}


// Whatever was read ahead, the other operations on the file act at the end
// of the last line handed out.
TEST(PKNFileTest, PositionReadSeekAndWriteActAfterTheLastLine)
{
	TempFolder folder;
	const std::string path = folder / "list.lml";
	write_whole_file(path, "first\nsecond\nthird\n");
	pelkan::TPKNFile file(path.c_str(), B_READ_WRITE);
	char line[64];

	ASSERT_EQ(5, file.ReadLine(line, sizeof(line)));
	EXPECT_EQ(6, file.Position());
	char bytes[4] = {};
	ASSERT_EQ(3, file.Read(bytes, 3));
	EXPECT_STREQ("sec", bytes);
	EXPECT_EQ(9, file.Position());
	EXPECT_EQ(3, file.ReadLine(line, sizeof(line)));
	EXPECT_STREQ("ond", line);

	EXPECT_EQ(9, file.Seek(-4, SEEK_CUR));
	EXPECT_EQ(3, file.ReadLine(line, sizeof(line)));
	EXPECT_STREQ("ond", line);
	EXPECT_EQ(0, file.Seek(0, SEEK_SET));
	EXPECT_EQ(5, file.ReadLine(line, sizeof(line)));
	EXPECT_STREQ("first", line);

	EXPECT_EQ(B_OK, file.WriteLine("SECOND"));
	EXPECT_EQ(13, file.Position());
	EXPECT_EQ(5, file.ReadLine(line, sizeof(line)));
	EXPECT_STREQ("third", line);
	EXPECT_TRUE(file.Eof());
	EXPECT_EQ("first\nSECOND\nthird\n", read_whole_file(path));
}
