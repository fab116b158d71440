#include "MessageFlattener.h"

#include <bit>
#include <cstring>

#include "MessageField.h"
#include "MessageFieldTable.h"
#include "MessageFormat.h"

static_assert(std::endian::native == std::endian::little,
	"values are stored in host order and written as little-endian");

namespace BPrivate {

namespace {

size_t
padded_item_size(size_t length)
{
	return (sizeof(int32) + length + 7) & ~(size_t)7;
}


size_t
field_data_length(const MessageField& field)
{
	if (field.IsFixedSize())
		return field.DataSize();
	size_t length = 0;
	for (int32 i = 0; i < field.CountItems(); i++) {
		size_t size;
		field.ItemAt(i, &size);
		length += padded_item_size(size);
	}
	return length;
}


bool
is_mini(const MessageField& field, size_t dataLength)
{
	return field.CountItems() < 256 && dataLength < 256;
}


size_t
field_size(const MessageField& field, size_t dataLength)
{
	size_t countAndLength = is_mini(field, dataLength) ? 1 : 4;
	size_t size = 1 + sizeof(type_code) + countAndLength + 1 + field.Name().size()
		+ dataLength;
	if (field.CountItems() != 1)
		size += countAndLength;
	return size;
}


class Writer {
public:
	explicit Writer(char* buffer) : fPosition(buffer) {}

	char* Position() const { return fPosition; }

	void Bytes(const void* data, size_t size)
	{
		memcpy(fPosition, data, size);
		fPosition += size;
	}
	void Zeros(size_t size)
	{
		memset(fPosition, 0, size);
		fPosition += size;
	}
	void UInt8(uint8 value) { Bytes(&value, 1); }
	void Int32(int32 value) { Bytes(&value, sizeof(value)); }

private:
	char* fPosition;
};


void
write_field(Writer& writer, const MessageField& field)
{
	size_t dataLength = field_data_length(field);
	bool mini = is_mini(field, dataLength);
	int32 count = field.CountItems();

	uint8 flags = R5_FIELD_VALID;
	if (mini)
		flags |= R5_FIELD_MINI_DATA;
	if (field.IsFixedSize())
		flags |= R5_FIELD_FIXED_SIZE;
	if (count == 1)
		flags |= R5_FIELD_SINGLE_ITEM;
	writer.UInt8(flags);
	writer.Int32((int32)field.Type());

	if (mini) {
		if (count != 1)
			writer.UInt8((uint8)count);
		writer.UInt8((uint8)dataLength);
	} else {
		if (count != 1)
			writer.Int32(count);
		writer.Int32((int32)dataLength);
	}
	writer.UInt8((uint8)field.Name().size());
	writer.Bytes(field.Name().data(), field.Name().size());

	if (field.IsFixedSize()) {
		size_t size;
		writer.Bytes(field.ItemAt(0, &size), field.DataSize());
		return;
	}
	for (int32 i = 0; i < count; i++) {
		size_t size;
		const char* item = field.ItemAt(i, &size);
		writer.Int32((int32)size);
		writer.Bytes(item, size);
		writer.Zeros(padded_item_size(size) - sizeof(int32) - size);
	}
}

}


MessageFlattener::MessageFlattener(uint32 what, const MessageFieldTable& fields)
	:
	fWhat(what),
	fFields(fields)
{
}


ssize_t
MessageFlattener::FlattenedSize() const
{
	uint64 size = R5_HEADER_SIZE + 1;
	for (const MessageField& field : fFields) {
		if (field.Name().size() > R5_MAX_NAME_LENGTH)
			return B_NAME_TOO_LONG;
		size += field_size(field, field_data_length(field));
	}
	if (size > INT32_MAX)
		return B_BAD_VALUE;
	return (ssize_t)size;
}


void
MessageFlattener::WriteTo(char* buffer) const
{
	Writer writer(buffer);
	writer.Int32((int32)R5_MESSAGE_MAGIC);
	// Checksum and size are known once the fields are written.
	writer.Zeros(2 * sizeof(int32));
	writer.Int32((int32)fWhat);
	writer.UInt8(R5_MESSAGE_FLAG_VALID);
	for (const MessageField& field : fFields)
		write_field(writer, field);
	writer.UInt8(0);

	int32 size = (int32)(writer.Position() - buffer);
	memcpy(buffer + 8, &size, sizeof(size));
	uint32 checksum = r5_header_checksum(buffer + 8, R5_HEADER_SIZE - 8);
	memcpy(buffer + 4, &checksum, sizeof(checksum));
}

}
