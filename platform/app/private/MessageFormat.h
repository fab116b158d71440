#ifndef _MESSAGE_FORMAT_H
#define _MESSAGE_FORMAT_H

#include <SupportDefs.h>

// Constants of the flattened message formats, shared by the writer and the
// reader.
namespace BPrivate {

// Magic numbers as read from the first four bytes in host (little-endian)
// order.
constexpr uint32 R5_MESSAGE_MAGIC = 'FOB1';
constexpr uint32 R5_MESSAGE_MAGIC_SWAPPED = '1BOF';
constexpr uint32 HAIKU_MESSAGE_MAGIC = '1FMH';

// Magic, checksum, size, what, flags.
constexpr size_t R5_HEADER_SIZE = 17;
// The prefix of an R5 header that holds the total size.
constexpr size_t R5_SIZE_PREFIX = 12;

constexpr uint8 R5_MESSAGE_FLAG_VALID = 0x01;
constexpr uint8 R5_MESSAGE_FLAG_INCLUDE_TARGET = 0x02;
constexpr uint8 R5_MESSAGE_FLAG_INCLUDE_REPLY = 0x04;
constexpr size_t R5_TARGET_SIZE = 4;
constexpr size_t R5_REPLY_SIZE = 16;

// The name length is one byte.
constexpr size_t R5_MAX_NAME_LENGTH = 255;

constexpr uint8 R5_FIELD_VALID = 0x01;
constexpr uint8 R5_FIELD_MINI_DATA = 0x02;
constexpr uint8 R5_FIELD_FIXED_SIZE = 0x04;
constexpr uint8 R5_FIELD_SINGLE_ITEM = 0x08;

// Haiku native: 17 int32 words of header, then 24-byte field entries.
constexpr size_t HAIKU_HEADER_SIZE = 68;
constexpr size_t HAIKU_FIELD_ENTRY_SIZE = 24;
constexpr uint32 HAIKU_MESSAGE_FLAG_VALID = 0x01;
constexpr uint16 HAIKU_FIELD_FLAG_VALID = 0x01;
constexpr uint16 HAIKU_FIELD_FLAG_FIXED_SIZE = 0x02;

// Nested messages deeper than this are refused, so that hostile input cannot
// exhaust the stack of the recursive reader: a message holds at most
// MAX_MESSAGE_NESTING - 1 levels of messages inside it. Messages are checked
// against the same limit as they are added, so that the writer never
// produces what the reader refuses.
constexpr int32 MAX_MESSAGE_NESTING = 64;

// The R5 header checksum: the sum of the bytes taken as big-endian 32-bit
// words, whatever the byte order of the message, with leftover bytes folded
// into one last word.
inline uint32
r5_header_checksum(const char* bytes, size_t size)
{
	const uint8* data = reinterpret_cast<const uint8*>(bytes);
	uint32 sum = 0;
	size_t i = 0;
	for (; i + 4 <= size; i += 4) {
		sum += ((uint32)data[i] << 24) | ((uint32)data[i + 1] << 16)
			| ((uint32)data[i + 2] << 8) | data[i + 3];
	}
	uint32 tail = 0;
	for (; i < size; i++)
		tail = (tail << 8) | data[i];
	return sum + tail;
}

}

#endif
