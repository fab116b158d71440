#include <DataIO.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string read_all(BPositionIO& stream, size_t chunk)
{
	std::string result;
	char buffer[64];
	ssize_t count;
	while ((count = stream.Read(buffer, chunk)) > 0)
		result.append(buffer, static_cast<size_t>(count));
	return result;
}

TEST(MemoryIOTest, ReadsShortAtTheEndAndNothingPastIt)
{
	const char data[] = "0123456789";
	BMemoryIO stream(data, 10);
	char buffer[8] = {};
	EXPECT_EQ(stream.Read(buffer, 8), 8);
	EXPECT_EQ(stream.Read(buffer, 8), 2);
	EXPECT_EQ(std::string(buffer, 2), "89");
	EXPECT_EQ(stream.Read(buffer, 8), 0);
	EXPECT_EQ(stream.Position(), 10);

	EXPECT_EQ(stream.ReadAt(4, buffer, 3), 3);
	EXPECT_EQ(std::string(buffer, 3), "456");
	EXPECT_EQ(stream.ReadAt(20, buffer, 3), 0);
	EXPECT_EQ(stream.ReadAt(-1, buffer, 3), B_BAD_VALUE);
}

TEST(MemoryIOTest, SeeksFromEachOriginAndRefusesBeforeTheStart)
{
	const char data[] = "0123456789";
	BMemoryIO stream(data, 10);
	struct SeekCase {
		off_t offset;
		uint32 mode;
		off_t expected;
	};
	for (const SeekCase& seek : {
			SeekCase{3, SEEK_SET, 3}, SeekCase{2, SEEK_CUR, 5}, SeekCase{-1, SEEK_END, 9},
			SeekCase{-20, SEEK_CUR, B_BAD_VALUE}, SeekCase{5, SEEK_END, 15},
			SeekCase{0, 77, B_BAD_VALUE}}) {
		EXPECT_EQ(stream.Seek(seek.offset, seek.mode), seek.expected)
			<< seek.offset << " from " << seek.mode;
	}
	EXPECT_EQ(stream.Position(), 15);
	char c;
	EXPECT_EQ(stream.Read(&c, 1), 0);
}

TEST(MemoryIOTest, ReadOnlyStreamRefusesWrites)
{
	const char data[] = "abc";
	BMemoryIO stream(static_cast<const void*>(data), 3);
	EXPECT_EQ(stream.Write("x", 1), B_NOT_ALLOWED);
	EXPECT_EQ(stream.WriteAt(0, "x", 1), B_NOT_ALLOWED);
	EXPECT_EQ(stream.SetSize(1), B_NOT_ALLOWED);
	EXPECT_EQ(stream.Position(), 0);
	EXPECT_STREQ(data, "abc");
}

TEST(MemoryIOTest, WritableStreamNeverGrowsPastItsBuffer)
{
	char data[6] = "abcde";
	BMemoryIO stream(data, 4);
	EXPECT_EQ(stream.SetSize(2), B_OK);
	off_t size = 0;
	EXPECT_EQ(stream.GetSize(&size), B_OK);
	EXPECT_EQ(size, 2);

	EXPECT_EQ(stream.WriteAt(1, "XYZW", 4), 3);
	EXPECT_EQ(std::string(data), "aXYZe");
	EXPECT_EQ(stream.GetSize(&size), B_OK);
	EXPECT_EQ(size, 4);
	EXPECT_EQ(stream.WriteAt(4, "Q", 1), 0);
	EXPECT_EQ(stream.SetSize(5), B_BAD_VALUE);
	EXPECT_EQ(data[4], 'e');
}

TEST(MallocIOTest, WritesPastTheEndGrowAndFillTheGapWithZeros)
{
	BMallocIO stream;
	EXPECT_EQ(stream.Buffer(), nullptr);
	EXPECT_EQ(stream.BufferLength(), 0u);
	stream.SetBlockSize(0);

	EXPECT_EQ(stream.WriteAt(4, "xy", 2), 2);
	ASSERT_EQ(stream.BufferLength(), 6u);
	EXPECT_EQ(memcmp(stream.Buffer(), "\0\0\0\0xy", 6), 0);
	EXPECT_EQ(stream.Position(), 0);

	EXPECT_EQ(stream.Write("ab", 2), 2);
	EXPECT_EQ(stream.Position(), 2);
	EXPECT_EQ(stream.Seek(0, SEEK_END), 6);
	EXPECT_EQ(stream.Write("!", 1), 1);
	EXPECT_EQ(stream.Seek(0, SEEK_SET), 0);
	EXPECT_EQ(read_all(stream, 4), std::string("ab\0\0xy!", 7));
}

TEST(MallocIOTest, SetSizeTruncatesAndExtends)
{
	BMallocIO stream;
	stream.SetBlockSize(3);
	ASSERT_EQ(stream.Write("abcdefgh", 8), 8);
	EXPECT_EQ(stream.SetSize(3), B_OK);
	EXPECT_EQ(stream.BufferLength(), 3u);
	EXPECT_EQ(stream.SetSize(5), B_OK);
	EXPECT_EQ(memcmp(stream.Buffer(), "abc\0\0", 5), 0);
	EXPECT_EQ(stream.SetSize(-1), B_BAD_VALUE);
	off_t size = 0;
	EXPECT_EQ(stream.GetSize(&size), B_OK);
	EXPECT_EQ(size, 5);

	// The position is kept past a truncated end; reading there yields nothing.
	EXPECT_EQ(stream.Position(), 8);
	char c;
	EXPECT_EQ(stream.Read(&c, 1), 0);
}

TEST(MallocIOTest, ImpossibleSizesFailWithoutDamage)
{
	BMallocIO stream;
	ASSERT_EQ(stream.Write("keep", 4), 4);
	EXPECT_LT(stream.WriteAt(INT64_MAX - 2, "abcd", 4), 0);
	EXPECT_EQ(stream.WriteAt(-1, "a", 1), B_BAD_VALUE);
	EXPECT_EQ(stream.BufferLength(), 4u);
	EXPECT_EQ(memcmp(stream.Buffer(), "keep", 4), 0);
}

// A stream that keeps only what BPositionIO requires, so that its own size
// comes from the base class.
class Minimal : public BPositionIO {
public:
	ssize_t ReadAt(off_t, void*, size_t) override { return 0; }
	ssize_t WriteAt(off_t, const void*, size_t) override { return B_NOT_ALLOWED; }
	off_t Seek(off_t position, uint32 mode) override
	{
		fPosition = mode == SEEK_END ? 42 + position : position;
		return fPosition;
	}
	off_t Position() const override { return fPosition; }

	off_t fPosition = 7;
};

TEST(PositionIOTest, SizeFromSeekingKeepsThePosition)
{
	Minimal stream;
	off_t size = 0;
	EXPECT_EQ(stream.GetSize(&size), B_OK);
	EXPECT_EQ(size, 42);
	EXPECT_EQ(stream.Position(), 7);
	EXPECT_EQ(stream.SetSize(3), B_ERROR);
	EXPECT_EQ(stream.Write("x", 1), B_NOT_ALLOWED);
	EXPECT_EQ(stream.Position(), 7);
}

}	// namespace
