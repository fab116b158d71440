#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <Clock.h>
#include <SteppedClock.h>

#include "DumpWriter.h"

namespace {

// The dump into memory, on a clock that moves only when told.
class DumpWriterTest : public testing::Test {
protected:
	DumpWriterTest()
		:
		fClock(1000),
		fStream(open_memstream(&fText, &fSize))
	{
		fPrevious = set_current_clock(&fClock);
	}

	~DumpWriterTest() override
	{
		set_current_clock(fPrevious);
		fclose(fStream);
		free(fText);
	}

	// What has reached the stream so far (a memory stream shows it once
	// flushed, and the writer flushes only when told or line by line).
	std::string Written() const { return std::string(fText, fSize); }

	BSteppedClock fClock;
	BClock* fPrevious;
	char* fText = nullptr;
	size_t fSize = 0;
	FILE* fStream;
};

}	// namespace


TEST_F(DumpWriterTest, LinesOfManyBlocksArriveWholeAndInOrder)
{
	std::string expected;
	{
		TDumpWriter writer(fStream, false);
		writer.SetOrigin(1000);
		// Far more than one block, with times of every width.
		for (int i = 0; i < 20000; i++) {
			const uchar message[3] = {0x90, uchar(i % 128), 0x7F};
			writer.Write(i % 2 ? 'B' : 'A', message, sizeof(message));
			expected += std::to_string(i * 7) + (i % 2 ? " B 90" : " A 90");
			static const char kHex[] = "0123456789abcdef";
			expected += kHex[(i % 128) >> 4];
			expected += kHex[(i % 128) & 0xF];
			expected += "7f\n";
			ASSERT_EQ(B_OK, fClock.Advance(7));
		}
		const uchar sysEx[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
		writer.Write('A', sysEx, sizeof(sysEx));
		expected += "140000 A f07e7f0901f7\n";
		// A System Exclusive message longer than a block stays one line.
		std::vector<uchar> longSysEx(100000, 0x55);
		writer.Write('B', longSysEx.data(), longSysEx.size());
		expected += "140000 B " + std::string(200000, '5') + "\n";
		EXPECT_TRUE(writer.Flush());
		EXPECT_EQ(expected, Written());

		// Times before the origin, as written before the song starts.
		writer.SetOrigin(fClock.Now() + 250);
		writer.Write('A', sysEx, 1);
		expected += "-250 A f0\n";
	}
	// What is gathered when the writer goes is written too.
	fflush(fStream);
	EXPECT_EQ(expected, Written());
}


TEST_F(DumpWriterTest, OnRealTimeEachLineIsThereAtOnce)
{
	TDumpWriter writer(fStream, true);
	const uchar noteOn[] = {0x91, 0x40, 0x64};
	writer.Write('A', noteOn, sizeof(noteOn));
	EXPECT_EQ("1000 A 914064\n", Written());
	ASSERT_EQ(B_OK, fClock.Advance(5));
	writer.Write('B', noteOn, 1);
	EXPECT_EQ("1000 A 914064\n1005 B 91\n", Written());
}


TEST(DumpWriterFailureTest, AFullDiskIsReportedByFlush)
{
	FILE* full = fopen("/dev/full", "w");
	ASSERT_NE(nullptr, full);
	{
		TDumpWriter writer(full, false);
		const uchar noteOn[] = {0x90, 0x3C, 0x64};
		writer.Write('A', noteOn, sizeof(noteOn));
		EXPECT_FALSE(writer.Flush());
	}
	fclose(full);
}
