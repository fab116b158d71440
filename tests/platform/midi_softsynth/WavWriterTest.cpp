#include <gtest/gtest.h>

#include <cstdio>

#include "SoftSynthTestSupport.h"
#include "WavWriter.h"

using BPrivate::WavWriter;


// Sizes are patched on Close, over several writes; samples keep their sign
// and order (little-endian, interleaved).
TEST(WavWriterTest, PatchesTheSizesOnClose)
{
	TempFolder folder;
	std::string path = folder.File("out.wav");
	WavWriter writer;
	ASSERT_EQ(B_OK, writer.Open(path.c_str(), 22050, 2));

	WavContents empty;
	ASSERT_TRUE(read_wav(path, &empty));
	EXPECT_EQ(0u, empty.dataSize);

	const int16 first[] = {0, -1, 32767, -32768};
	const int16 second[] = {258, -258};
	ASSERT_EQ(B_OK, writer.Write(first, 2));
	ASSERT_EQ(B_OK, writer.Write(second, 1));
	EXPECT_EQ(3u, writer.CountFrames());
	ASSERT_EQ(B_OK, writer.Close());
	EXPECT_FALSE(writer.IsOpen());

	WavContents wav;
	ASSERT_TRUE(read_wav(path, &wav));
	EXPECT_EQ(56u, wav.fileSize);
	EXPECT_EQ(48u, wav.riffSize);
	EXPECT_EQ(12u, wav.dataSize);
	EXPECT_EQ(22050u, wav.frameRate);
	EXPECT_EQ(22050u * 4, wav.byteRate);
	EXPECT_EQ(std::vector<int16>({0, -1, 32767, -32768, 258, -258}),
		wav.samples);
}


TEST(WavWriterTest, ReportsWhatTheSystemRefused)
{
	TempFolder folder;
	std::string file = folder.File("file");
	fclose(fopen(file.c_str(), "w"));

	struct Case {
		std::string path;
		status_t status;
	} cases[] = {
		{folder.File("missing/out.wav"), B_ENTRY_NOT_FOUND},
		{file + "/out.wav", B_NOT_A_DIRECTORY},
		{folder.Path(), B_IS_A_DIRECTORY},
		{"", B_BAD_VALUE},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.path);
		WavWriter writer;
		EXPECT_EQ(test.status, writer.Open(test.path.c_str(), 44100, 2));
		EXPECT_FALSE(writer.IsOpen());
		const int16 samples[] = {1, 2};
		EXPECT_EQ(B_NO_INIT, writer.Write(samples, 1));
	}
}


// A full device is found out while the header goes out, before any audio
// is rendered for nothing.
TEST(WavWriterTest, AFullDeviceIsRefusedAtOnce)
{
	WavWriter writer;
	EXPECT_EQ(B_DEVICE_FULL, writer.Open("/dev/full", 44100, 2));
	EXPECT_FALSE(writer.IsOpen());
}
