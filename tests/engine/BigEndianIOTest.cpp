#include <gtest/gtest.h>

#include <DataIO.h>

#include "BigEndianIO.h"

TEST(BigEndianIOTest, ReadsBigEndianAndLeavesNumberOnShortRead)
{
	const uint8 bytes[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE};
	BMemoryIO stream(bytes, sizeof(bytes));
	uint32 number32 = 0;
	uint16 number16 = 0;
	EXPECT_EQ(0, get_uint32(&stream, &number32));
	EXPECT_EQ(0x12345678u, number32);
	EXPECT_EQ(0, get_uint16(&stream, &number16));
	EXPECT_EQ(0x9ABC, number16);
	EXPECT_EQ(-1, get_uint32(&stream, &number32));
	EXPECT_EQ(0x12345678u, number32);
	stream.Seek(6, SEEK_SET);
	EXPECT_EQ(-1, get_uint16(&stream, &number16));
	EXPECT_EQ(0x9ABC, number16);
}
