#include "MessageUnflattener.h"

#include <algorithm>
#include <cstring>

#include <TypeConstants.h>

#include "MessageField.h"
#include "MessageFieldTable.h"
#include "MessageFlattener.h"
#include "MessageFormat.h"

namespace BPrivate {

namespace {

uint32
load32(const char* data, bool swapped)
{
	uint32 value;
	memcpy(&value, data, sizeof(value));
	return swapped ? __builtin_bswap32(value) : value;
}


// Bounded reading: every read either fits in what remains or fails.
class Reader {
public:
	Reader(const char* data, size_t size, bool swapped)
		: fData(data), fSize(size), fPosition(0), fSwapped(swapped) {}

	size_t Position() const { return fPosition; }
	size_t Remaining() const { return fSize - fPosition; }

	const char* Take(size_t size)
	{
		if (size > Remaining())
			return NULL;
		const char* start = fData + fPosition;
		fPosition += size;
		return start;
	}
	bool UInt8(uint8* value)
	{
		const char* data = Take(1);
		if (data != NULL)
			*value = (uint8)*data;
		return data != NULL;
	}
	bool UInt16(uint16* value)
	{
		const char* data = Take(2);
		if (data != NULL)
			memcpy(value, data, 2);
		return data != NULL;
	}
	bool UInt32(uint32* value)
	{
		const char* data = Take(4);
		if (data != NULL)
			*value = load32(data, fSwapped);
		return data != NULL;
	}
	// A count or length: one byte in the "mini" form, else four.
	bool Size(bool mini, uint32* value)
	{
		uint8 small;
		if (!mini)
			return UInt32(value);
		if (!UInt8(&small))
			return false;
		*value = small;
		return true;
	}

private:
	const char* fData;
	size_t fSize;
	size_t fPosition;
	bool fSwapped;
};


// Brings the values of the types the original platform knew into host
// order; other types are opaque bytes.
status_t
swap_item(type_code type, char* item, size_t size)
{
	size_t element = 0;
	switch (type) {
		case B_INT16_TYPE:
		case B_UINT16_TYPE:
			element = 2;
			break;
		case B_INT32_TYPE:
		case B_UINT32_TYPE:
		case B_FLOAT_TYPE:
		case B_TIME_TYPE:
		case B_RECT_TYPE:
		case B_POINT_TYPE:
			element = 4;
			break;
		case B_INT64_TYPE:
		case B_UINT64_TYPE:
		case B_DOUBLE_TYPE:
		case B_OFF_T_TYPE:
			element = 8;
			break;
		case B_SIZE_T_TYPE:
		case B_SSIZE_T_TYPE:
		case B_POINTER_TYPE:
			if (size != 4 && size != 8)
				return B_BAD_DATA;
			element = size;
			break;
		case B_MESSENGER_TYPE:
			// Port, handler token and team.
			if (size < 12)
				return B_BAD_DATA;
			for (size_t i = 0; i < 12; i += 4)
				std::reverse(item + i, item + i + 4);
			return B_OK;
		case B_REF_TYPE:
			// Device and directory; the name is text.
			if (size < 12)
				return B_BAD_DATA;
			std::reverse(item, item + 4);
			std::reverse(item + 4, item + 12);
			return B_OK;
		default:
			return B_OK;
	}
	if (size % element != 0)
		return B_BAD_DATA;
	for (size_t i = 0; i < size; i += element)
		std::reverse(item + i, item + i + element);
	return B_OK;
}

}


ssize_t
MessageUnflattener::SizePrefixLength(const char* magic)
{
	switch (load32(magic, false)) {
		case R5_MESSAGE_MAGIC:
		case R5_MESSAGE_MAGIC_SWAPPED:
			return R5_SIZE_PREFIX;
		case HAIKU_MESSAGE_MAGIC:
			return HAIKU_HEADER_SIZE;
		default:
			return B_NOT_A_MESSAGE;
	}
}


ssize_t
MessageUnflattener::MessageSize(const char* prefix)
{
	uint64 size;
	if (load32(prefix, false) == HAIKU_MESSAGE_MAGIC) {
		uint64 dataSize = load32(prefix + 9 * 4, false);
		uint64 fieldCount = load32(prefix + 10 * 4, false);
		size = HAIKU_HEADER_SIZE + fieldCount * HAIKU_FIELD_ENTRY_SIZE + dataSize;
	} else {
		bool swapped = load32(prefix, false) == R5_MESSAGE_MAGIC_SWAPPED;
		int32 r5Size = (int32)load32(prefix + 8, swapped);
		if (r5Size < (int32)R5_HEADER_SIZE + 1)
			return B_BAD_DATA;
		size = r5Size;
	}
	if (size > INT32_MAX)
		return B_BAD_DATA;
	return (ssize_t)size;
}


MessageUnflattener::MessageUnflattener(const char* buffer, size_t size, int32 depth)
	:
	fBuffer(buffer),
	fSize(size),
	fDepth(depth)
{
}


status_t
MessageUnflattener::Unflatten(uint32* what, MessageFieldTable* fields)
{
	if (fSize < sizeof(uint32))
		return B_NOT_A_MESSAGE;
	ssize_t prefixLength = SizePrefixLength(fBuffer);
	if (prefixLength < 0)
		return (status_t)prefixLength;
	if (fSize < (size_t)prefixLength)
		return B_BAD_DATA;
	ssize_t messageSize = MessageSize(fBuffer);
	if (messageSize < 0)
		return (status_t)messageSize;
	if ((size_t)messageSize > fSize)
		return B_BAD_DATA;
	fSize = messageSize;

	uint32 magic = load32(fBuffer, false);
	if (magic == HAIKU_MESSAGE_MAGIC)
		return _UnflattenHaiku(what, fields);
	return _UnflattenR5(magic == R5_MESSAGE_MAGIC_SWAPPED, what, fields);
}


status_t
MessageUnflattener::_UnflattenR5(bool swapped, uint32* what,
	MessageFieldTable* fields)
{
	Reader reader(fBuffer, fSize, swapped);
	uint32 magic, checksum, size, messageWhat;
	uint8 flags;
	if (!reader.UInt32(&magic) || !reader.UInt32(&checksum) || !reader.UInt32(&size)
		|| !reader.UInt32(&messageWhat) || !reader.UInt8(&flags)) {
		return B_BAD_DATA;
	}
	// Target and reply information mean nothing outside the sending process,
	// but the checksum covers them.
	size_t extra = 0;
	if ((flags & R5_MESSAGE_FLAG_INCLUDE_TARGET) != 0)
		extra += R5_TARGET_SIZE;
	if ((flags & R5_MESSAGE_FLAG_INCLUDE_REPLY) != 0)
		extra += R5_REPLY_SIZE;
	if (reader.Take(extra) == NULL)
		return B_BAD_DATA;
	if (r5_header_checksum(fBuffer + 8, reader.Position() - 8) != checksum)
		return B_BAD_DATA;

	MessageFieldTable newFields;
	while (true) {
		uint8 fieldFlags;
		if (!reader.UInt8(&fieldFlags))
			return B_BAD_DATA;
		if ((fieldFlags & R5_FIELD_VALID) == 0)
			break;

		bool mini = (fieldFlags & R5_FIELD_MINI_DATA) != 0;
		bool single = (fieldFlags & R5_FIELD_SINGLE_ITEM) != 0;
		uint32 type, count = 1, dataLength;
		uint8 nameLength;
		if (!reader.UInt32(&type) || (!single && !reader.Size(mini, &count))
			|| !reader.Size(mini, &dataLength) || !reader.UInt8(&nameLength)) {
			return B_BAD_DATA;
		}
		const char* name = reader.Take(nameLength);
		const char* data = reader.Take(dataLength);
		if (name == NULL || data == NULL || (int32)count <= 0 || dataLength < count)
			return B_BAD_DATA;

		bool fixedSize = (fieldFlags & R5_FIELD_FIXED_SIZE) != 0;
		MessageField* field = _AddField(newFields, name, nameLength, type, fixedSize);
		if (field == NULL)
			return B_BAD_DATA;

		if (fixedSize) {
			if (dataLength % count != 0)
				return B_BAD_DATA;
			size_t itemSize = dataLength / count;
			for (uint32 i = 0; i < count; i++) {
				status_t status = _AddItem(*field, data + i * itemSize, itemSize, swapped);
				if (status != B_OK)
					return status;
			}
			continue;
		}

		Reader items(data, dataLength, swapped);
		for (uint32 i = 0; i < count; i++) {
			uint32 itemLength;
			if (!items.UInt32(&itemLength) || itemLength == 0
				|| itemLength > items.Remaining()) {
				return B_BAD_DATA;
			}
			const char* item = items.Take(itemLength);
			size_t padding = (8 - (sizeof(uint32) + itemLength) % 8) % 8;
			if (items.Take(padding) == NULL)
				return B_BAD_DATA;
			status_t status = _AddItem(*field, item, itemLength, swapped);
			if (status != B_OK)
				return status;
		}
		if (items.Remaining() != 0)
			return B_BAD_DATA;
	}
	if (reader.Remaining() != 0)
		return B_BAD_DATA;

	*what = messageWhat;
	fields->Swap(newFields);
	return B_OK;
}


status_t
MessageUnflattener::_UnflattenHaiku(uint32* what, MessageFieldTable* fields)
{
	Reader reader(fBuffer, fSize, false);
	uint32 header[HAIKU_HEADER_SIZE / 4];
	for (uint32& word : header) {
		if (!reader.UInt32(&word))
			return B_BAD_DATA;
	}
	uint32 flags = header[2];
	uint32 dataSize = header[9];
	uint32 fieldCount = header[10];
	if ((flags & HAIKU_MESSAGE_FLAG_VALID) == 0)
		return B_BAD_DATA;
	// MessageSize() made sure that the field table and data area fit.
	const char* data = fBuffer + HAIKU_HEADER_SIZE + fieldCount * HAIKU_FIELD_ENTRY_SIZE;

	MessageFieldTable newFields;
	for (uint32 i = 0; i < fieldCount; i++) {
		uint16 fieldFlags, nameLength;
		uint32 type, count, fieldSize, offset, nextField;
		if (!reader.UInt16(&fieldFlags) || !reader.UInt16(&nameLength)
			|| !reader.UInt32(&type) || !reader.UInt32(&count)
			|| !reader.UInt32(&fieldSize) || !reader.UInt32(&offset)
			|| !reader.UInt32(&nextField)) {
			return B_BAD_DATA;
		}
		if ((fieldFlags & HAIKU_FIELD_FLAG_VALID) == 0 || count == 0
			|| count > INT32_MAX || fieldSize < count || nameLength == 0
			|| (uint64)offset + nameLength + fieldSize > dataSize) {
			return B_BAD_DATA;
		}
		// The stored name length counts the NUL.
		const char* name = data + offset;
		if (name[nameLength - 1] != '\0')
			return B_BAD_DATA;
		bool fixedSize = (fieldFlags & HAIKU_FIELD_FLAG_FIXED_SIZE) != 0;
		MessageField* field = _AddField(newFields, name, nameLength - 1, type,
			fixedSize);
		if (field == NULL)
			return B_BAD_DATA;

		const char* fieldData = name + nameLength;
		if (fixedSize) {
			if (fieldSize % count != 0)
				return B_BAD_DATA;
			size_t itemSize = fieldSize / count;
			for (uint32 item = 0; item < count; item++) {
				status_t status = _AddItem(*field, fieldData + item * itemSize, itemSize, false);
				if (status != B_OK)
					return status;
			}
			continue;
		}

		Reader items(fieldData, fieldSize, false);
		for (uint32 item = 0; item < count; item++) {
			uint32 itemLength;
			const char* itemData;
			if (!items.UInt32(&itemLength) || itemLength == 0
				|| (itemData = items.Take(itemLength)) == NULL) {
				return B_BAD_DATA;
			}
			status_t status = _AddItem(*field, itemData, itemLength, false);
			if (status != B_OK)
				return status;
		}
		if (items.Remaining() != 0)
			return B_BAD_DATA;
	}

	*what = header[1];
	fields->Swap(newFields);
	return B_OK;
}


MessageField*
MessageUnflattener::_AddField(MessageFieldTable& fields, const char* name,
	size_t nameLength, type_code type, bool fixedSize)
{
	// Names must stay usable as C strings; each name appears once.
	if (memchr(name, '\0', nameLength) != NULL || fields.Find(name, nameLength) != NULL)
		return NULL;
	return &fields.Add(name, nameLength, type, fixedSize);
}


status_t
MessageUnflattener::_AddItem(MessageField& field, const char* item, size_t size,
	bool swapped)
{
	if (field.Type() == B_MESSAGE_TYPE) {
		if (fDepth + 1 >= MAX_MESSAGE_NESTING)
			return B_BAD_DATA;
		uint32 what;
		MessageFieldTable fields;
		status_t status = MessageUnflattener(item, size, fDepth + 1)
			.Unflatten(&what, &fields);
		if (status != B_OK)
			return status;
		// A fixed-size field's items must keep their size, so only variable
		// fields get the nested message rewritten in our form.
		if (field.IsFixedSize())
			return field.AddItem(item, size);
		MessageFlattener flattener(what, fields);
		ssize_t flatSize = flattener.FlattenedSize();
		if (flatSize == B_NAME_TOO_LONG)
			return field.AddItem(item, size);
		if (flatSize < 0)
			return B_BAD_DATA;
		fScratch.resize(flatSize);
		flattener.WriteTo(fScratch.data());
		return field.AddItem(fScratch.data(), fScratch.size());
	}
	if (!swapped)
		return field.AddItem(item, size);

	fScratch.assign(item, item + size);
	status_t status = swap_item(field.Type(), fScratch.data(), size);
	if (status != B_OK)
		return status;
	return field.AddItem(fScratch.data(), size);
}

}
