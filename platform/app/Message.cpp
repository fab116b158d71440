#include <Message.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>

#include <DataIO.h>
#include <EntryRef.h>
#include <Messenger.h>
#include <String.h>
#include <StoragePrivate.h>

#include "MessageField.h"
#include "MessageFieldTable.h"
#include "MessageFlattener.h"
#include "MessagePrivate.h"
#include "MessageUnflattener.h"
#include "ReplyRoute.h"

using BPrivate::MessageField;
using BPrivate::MessageFieldTable;
using BPrivate::MessageFlattener;
using BPrivate::MessageUnflattener;

namespace {

// An entry_ref item is the R5 layout: int32 device, int64 directory, then a
// NUL-terminated name. The R5 name is the leaf alone, which Linux cannot turn
// back into a path, so we store the entry's absolute path there instead.
// When reading, a name starting with '/' is such a path; any other name is a
// foreign reference and keeps its leaf with no directory path.
const size_t kRefHeaderSize = sizeof(int32) + sizeof(int64);


std::vector<char>
flatten_ref(const entry_ref& ref)
{
	std::string name = ref.path();
	if (name.empty() && ref.name != NULL)
		name = ref.name;

	int32 device = (int32)ref.device;
	int64 directory = (int64)ref.directory;
	std::vector<char> item(kRefHeaderSize + (name.empty() ? 0 : name.size() + 1));
	memcpy(item.data(), &device, sizeof(device));
	memcpy(item.data() + sizeof(device), &directory, sizeof(directory));
	if (!name.empty())
		memcpy(item.data() + kRefHeaderSize, name.c_str(), name.size() + 1);
	return item;
}


status_t
unflatten_ref(const char* item, size_t size, entry_ref* ref)
{
	if (size < kRefHeaderSize || (size > kRefHeaderSize && item[size - 1] != '\0'))
		return B_BAD_DATA;
	const char* name = size > kRefHeaderSize ? item + kRefHeaderSize : NULL;
	if (name != NULL && name[0] == '/') {
		// A missing folder still gives a usable reference.
		BPrivate::ref_for_absolute_path(name, ref);
		return B_OK;
	}

	int32 device;
	int64 directory;
	memcpy(&device, item, sizeof(device));
	memcpy(&directory, item + sizeof(device), sizeof(directory));
	entry_ref foreign;
	foreign.device = (dev_t)device;
	foreign.directory = (ino_t)directory;
	status_t status = foreign.set_name(name);
	if (status != B_OK)
		return status;
	*ref = foreign;
	return B_OK;
}


std::vector<char>
flatten_message(const BMessage& message, status_t* status)
{
	std::vector<char> buffer;
	ssize_t size = message.FlattenedSize();
	if (size < 0) {
		*status = (status_t)size;
		return buffer;
	}
	buffer.resize(size);
	*status = message.Flatten(buffer.data(), size);
	return buffer;
}


// A nested message must read back as one, within the nesting a reader
// accepts, or the message holding it would flatten to bytes that no longer
// unflatten.
bool
is_nestable_message(const void* data, size_t size)
{
	uint32 what;
	MessageFieldTable fields;
	return MessageUnflattener(static_cast<const char*>(data), size, 1)
		.Unflatten(&what, &fields) == B_OK;
}


ssize_t
read_fully(BDataIO* stream, char* buffer, size_t size)
{
	size_t done = 0;
	while (done < size) {
		ssize_t bytes = stream->Read(buffer + done, size - done);
		if (bytes < 0)
			return bytes;
		if (bytes == 0)
			break;
		done += bytes;
	}
	return (ssize_t)done;
}


void
print_code(uint32 code)
{
	char chars[4] = {(char)(code >> 24), (char)(code >> 16), (char)(code >> 8),
		(char)code};
	if (std::all_of(chars, chars + 4, [](char c) { return isprint((uchar)c); }))
		printf("'%.4s'", chars);
	else
		printf("0x%08" PRIx32, code);
}


void
print_item(type_code type, const char* data, size_t size)
{
	auto fits = [size](size_t needed) { return size == needed; };
	int32 i32;
	int64 i64;
	float f[4];
	double d;
	switch (type) {
		case B_BOOL_TYPE:
			if (fits(1))
				return (void)printf("%s", data[0] != 0 ? "true" : "false");
			break;
		case B_INT8_TYPE:
			if (fits(1))
				return (void)printf("%d", (int)(int8)data[0]);
			break;
		case B_INT32_TYPE:
			if (fits(4))
				return (void)printf("%" PRId32, (memcpy(&i32, data, 4), i32));
			break;
		case B_INT64_TYPE:
			if (fits(8))
				return (void)printf("%" PRId64, (memcpy(&i64, data, 8), i64));
			break;
		case B_FLOAT_TYPE:
			if (fits(4))
				return (void)printf("%g", (double)(memcpy(f, data, 4), f[0]));
			break;
		case B_DOUBLE_TYPE:
			if (fits(8))
				return (void)printf("%g", (memcpy(&d, data, 8), d));
			break;
		case B_POINT_TYPE:
			if (fits(8)) {
				memcpy(f, data, 8);
				return (void)printf("(%g, %g)", f[0], f[1]);
			}
			break;
		case B_RECT_TYPE:
			if (fits(16)) {
				memcpy(f, data, 16);
				return (void)printf("(%g, %g, %g, %g)", f[0], f[1], f[2], f[3]);
			}
			break;
		case B_STRING_TYPE:
			if (memchr(data, '\0', size) != NULL)
				return (void)printf("\"%s\"", data);
			break;
	}
	printf("<%zu bytes>", size);
}

}


void
BMessage::Private::SetDropInfo(BMessage& message, BPoint dropPoint, BPoint offset,
	bool sourceRemote)
{
	message.fWasDropped = true;
	message.fDropPoint = dropPoint;
	message.fDropOffset = offset;
	message.fSourceRemote = sourceRemote;
}


BMessage::BMessage()
	:
	BMessage(0)
{
}


BMessage::BMessage(uint32 what)
	:
	what(what),
	fWasDropped(false),
	fSourceRemote(false)
{
}


BMessage::BMessage(const BMessage& other)
	:
	what(other.what),
	fFields(other.fFields != NULL ? new MessageFieldTable(*other.fFields) : NULL),
	fDropPoint(other.fDropPoint),
	fDropOffset(other.fDropOffset),
	fWasDropped(other.fWasDropped),
	fSourceRemote(other.fSourceRemote)
{
}


BMessage::BMessage(BMessage&& other) noexcept = default;
BMessage::~BMessage() = default;


BMessage&
BMessage::operator=(const BMessage& other)
{
	if (this != &other)
		*this = BMessage(other);
	return *this;
}


BMessage& BMessage::operator=(BMessage&& other) noexcept = default;


const MessageFieldTable&
BMessage::_Fields() const
{
	static const MessageFieldTable kNoFields;
	return fFields != NULL ? *fFields : kNoFields;
}


MessageFieldTable&
BMessage::_MutableFields()
{
	if (fFields == NULL)
		fFields.reset(new MessageFieldTable);
	return *fFields;
}


MessageField*
BMessage::_FindField(const char* name)
{
	return const_cast<MessageField*>(std::as_const(*this)._FindField(name));
}


const MessageField*
BMessage::_FindField(const char* name) const
{
	return _Fields().Find(name, strlen(name));
}


status_t
BMessage::_FindItem(const char* name, type_code type, int32 index,
	const void** data, ssize_t* numBytes) const
{
	if (name == NULL)
		return B_BAD_VALUE;
	const MessageField* field = _FindField(name);
	if (field == NULL)
		return B_NAME_NOT_FOUND;
	if (type != B_ANY_TYPE && field->Type() != type)
		return B_BAD_TYPE;
	if (index < 0 || index >= field->CountItems())
		return B_BAD_INDEX;
	size_t size;
	*data = field->ItemAt(index, &size);
	*numBytes = (ssize_t)size;
	return B_OK;
}


template<typename T>
status_t
BMessage::_FindFixed(const char* name, type_code type, int32 index, T* value) const
{
	if (value == NULL)
		return B_BAD_VALUE;
	const void* data;
	ssize_t size;
	status_t status = _FindItem(name, type, index, &data, &size);
	if (status != B_OK)
		return status;
	if (size != sizeof(T))
		return B_BAD_DATA;
	memcpy(value, data, sizeof(T));
	return B_OK;
}


status_t
BMessage::_ReplaceItem(const char* name, type_code type, int32 index,
	const void* data, ssize_t numBytes)
{
	if (data == NULL || numBytes <= 0)
		return B_BAD_VALUE;
	const void* oldData;
	ssize_t oldSize;
	status_t status = _FindItem(name, type, index, &oldData, &oldSize);
	if (status != B_OK)
		return status;
	MessageField* field = _FindField(name);
	if (field->Type() == B_MESSAGE_TYPE && !is_nestable_message(data, numBytes))
		return B_BAD_VALUE;
	return field->ReplaceItem(index, data, numBytes);
}


status_t
BMessage::GetInfo(type_code typeRequested, int32 index, char** nameFound,
	type_code* typeFound, int32* countFound) const
{
	if (index < 0)
		return B_BAD_INDEX;
	const MessageFieldTable& fields = _Fields();
	const MessageField* found = NULL;
	if (typeRequested == B_ANY_TYPE) {
		// Straight to the index, so that walking every field stays linear.
		if (fields.IsEmpty())
			return B_BAD_TYPE;
		if (index < fields.CountFields())
			found = &fields.FieldAt(index);
	} else {
		int32 matches = 0;
		for (const MessageField& field : fields) {
			if (field.Type() == typeRequested && matches++ == index) {
				found = &field;
				break;
			}
		}
		if (matches == 0)
			return B_BAD_TYPE;
	}
	if (found == NULL)
		return B_BAD_INDEX;
	if (nameFound != NULL)
		*nameFound = const_cast<char*>(found->Name().c_str());
	if (typeFound != NULL)
		*typeFound = found->Type();
	if (countFound != NULL)
		*countFound = found->CountItems();
	return B_OK;
}


status_t
BMessage::GetInfo(const char* name, type_code* typeFound, int32* countFound) const
{
	if (name == NULL)
		return B_BAD_VALUE;
	const MessageField* field = _FindField(name);
	if (field == NULL) {
		if (countFound != NULL)
			*countFound = 0;
		return B_NAME_NOT_FOUND;
	}
	if (typeFound != NULL)
		*typeFound = field->Type();
	if (countFound != NULL)
		*countFound = field->CountItems();
	return B_OK;
}


status_t
BMessage::GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const
{
	if (name == NULL)
		return B_BAD_VALUE;
	const MessageField* field = _FindField(name);
	if (field == NULL)
		return B_NAME_NOT_FOUND;
	if (typeFound != NULL)
		*typeFound = field->Type();
	if (fixedSize != NULL)
		*fixedSize = field->IsFixedSize();
	return B_OK;
}


int32
BMessage::CountNames(type_code type) const
{
	const MessageFieldTable& fields = _Fields();
	if (type == B_ANY_TYPE)
		return fields.CountFields();
	return (int32)std::count_if(fields.begin(), fields.end(),
		[type](const MessageField& field) { return field.Type() == type; });
}


bool
BMessage::IsEmpty() const
{
	return _Fields().IsEmpty();
}


void
BMessage::PrintToStream() const
{
	printf("BMessage(");
	print_code(what);
	printf(") {\n");
	for (const MessageField& field : _Fields()) {
		printf("\t%s, type = ", field.Name().c_str());
		print_code(field.Type());
		printf(", count = %" PRId32 ":", field.CountItems());
		for (int32 i = 0; i < field.CountItems(); i++) {
			size_t size;
			const char* data = field.ItemAt(i, &size);
			printf(" ");
			print_item(field.Type(), data, size);
		}
		printf("\n");
	}
	printf("}\n");
}


bool
BMessage::WasDropped() const
{
	return fWasDropped;
}


bool
BMessage::IsSourceRemote() const
{
	return fWasDropped && fSourceRemote;
}


BPoint
BMessage::DropPoint(BPoint* offset) const
{
	if (offset != NULL)
		*offset = fDropOffset;
	return fDropPoint;
}


status_t
BMessage::SendReply(uint32 command, BHandler* replyTo)
{
	BMessage reply(command);
	return SendReply(&reply, replyTo);
}


status_t
BMessage::SendReply(BMessage* reply, BHandler* replyTo, bigtime_t timeout)
{
	if (reply == NULL)
		return B_BAD_VALUE;
	return BPrivate::send_reply(this, reply, replyTo, timeout);
}


bool
BMessage::IsSourceWaiting() const
{
	return BPrivate::is_source_waiting(this);
}


BMessenger
BMessage::ReturnAddress() const
{
	return BPrivate::return_address(this);
}


ssize_t
BMessage::FlattenedSize() const
{
	return MessageFlattener(what, _Fields()).FlattenedSize();
}


status_t
BMessage::Flatten(char* buffer, ssize_t size) const
{
	if (buffer == NULL)
		return B_BAD_VALUE;
	MessageFlattener flattener(what, _Fields());
	ssize_t needed = flattener.FlattenedSize();
	if (needed < 0)
		return (status_t)needed;
	if (size < needed)
		return B_BAD_VALUE;
	flattener.WriteTo(buffer);
	return B_OK;
}


status_t
BMessage::Flatten(BDataIO* stream, ssize_t* size) const
{
	if (stream == NULL)
		return B_BAD_VALUE;
	status_t status;
	std::vector<char> buffer = flatten_message(*this, &status);
	if (status != B_OK)
		return status;

	size_t done = 0;
	while (done < buffer.size()) {
		ssize_t written = stream->Write(buffer.data() + done, buffer.size() - done);
		if (written < 0)
			return (status_t)written;
		if (written == 0)
			return B_IO_ERROR;
		done += written;
	}
	if (size != NULL)
		*size = (ssize_t)done;
	return B_OK;
}


status_t
BMessage::Unflatten(const char* flatBuffer)
{
	if (flatBuffer == NULL)
		return B_BAD_VALUE;
	ssize_t prefixLength = MessageUnflattener::SizePrefixLength(flatBuffer);
	if (prefixLength < 0)
		return (status_t)prefixLength;
	ssize_t size = MessageUnflattener::MessageSize(flatBuffer);
	if (size < 0)
		return (status_t)size;
	return Unflatten(flatBuffer, (size_t)size);
}


status_t
BMessage::Unflatten(const char* buffer, size_t size)
{
	if (buffer == NULL && size > 0)
		return B_BAD_VALUE;
	uint32 newWhat;
	MessageFieldTable fields;
	status_t status = MessageUnflattener(buffer, size).Unflatten(&newWhat, &fields);
	if (status != B_OK)
		return status;

	what = newWhat;
	_MutableFields().Swap(fields);
	fWasDropped = false;
	fSourceRemote = false;
	fDropPoint = B_ORIGIN;
	fDropOffset = B_ORIGIN;
	return B_OK;
}


status_t
BMessage::Unflatten(BDataIO* stream)
{
	if (stream == NULL)
		return B_BAD_VALUE;
	std::vector<char> buffer(sizeof(uint32));
	ssize_t bytes = read_fully(stream, buffer.data(), buffer.size());
	if (bytes < 0)
		return (status_t)bytes;
	if ((size_t)bytes < buffer.size())
		return B_NOT_A_MESSAGE;

	ssize_t prefixLength = MessageUnflattener::SizePrefixLength(buffer.data());
	if (prefixLength < 0)
		return (status_t)prefixLength;
	// Grow the buffer only as far as the stream delivers, so that a huge size
	// in a short, corrupt stream allocates nothing much.
	const size_t kChunkSize = 64 * 1024;
	size_t wanted = (size_t)prefixLength;
	bool sizeKnown = false;
	while (buffer.size() < wanted) {
		size_t start = buffer.size();
		size_t chunk = std::min(wanted - start, kChunkSize);
		buffer.resize(start + chunk);
		bytes = read_fully(stream, buffer.data() + start, chunk);
		if (bytes < 0)
			return (status_t)bytes;
		if ((size_t)bytes < chunk)
			return B_BAD_DATA;
		if (!sizeKnown && buffer.size() == wanted) {
			ssize_t size = MessageUnflattener::MessageSize(buffer.data());
			if (size < 0)
				return (status_t)size;
			wanted = std::max(wanted, (size_t)size);
			sizeKnown = true;
		}
	}
	return Unflatten(buffer.data(), buffer.size());
}


status_t
BMessage::AddData(const char* name, type_code type, const void* data,
	ssize_t numBytes, bool isFixedSize, int32)
{
	if (name == NULL || data == NULL || numBytes <= 0)
		return B_BAD_VALUE;
	size_t nameLength = strlen(name);
	if (nameLength > B_FIELD_NAME_LENGTH)
		return B_BAD_VALUE;

	MessageField* field = _FindField(name);
	if (field != NULL && field->Type() != type)
		return B_BAD_TYPE;
	if (type == B_MESSAGE_TYPE && !is_nestable_message(data, numBytes))
		return B_BAD_VALUE;
	if (field == NULL)
		field = &_MutableFields().Add(name, nameLength, type, isFixedSize);
	return field->AddItem(data, numBytes);
}


status_t
BMessage::RemoveData(const char* name, int32 index)
{
	const void* data;
	ssize_t size;
	status_t status = _FindItem(name, B_ANY_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;
	MessageField* field = _FindField(name);
	if (field->CountItems() == 1)
		fFields->Remove(field);
	else
		field->RemoveItem(index);
	return B_OK;
}


status_t
BMessage::RemoveName(const char* name)
{
	if (name == NULL)
		return B_BAD_VALUE;
	MessageField* field = _FindField(name);
	if (field == NULL)
		return B_NAME_NOT_FOUND;
	fFields->Remove(field);
	return B_OK;
}


status_t
BMessage::MakeEmpty()
{
	fFields.reset();
	return B_OK;
}


status_t
BMessage::FindData(const char* name, type_code type, const void** data,
	ssize_t* numBytes) const
{
	return FindData(name, type, 0, data, numBytes);
}


status_t
BMessage::FindData(const char* name, type_code type, int32 index,
	const void** data, ssize_t* numBytes) const
{
	if (data == NULL)
		return B_BAD_VALUE;
	const void* found;
	ssize_t size;
	status_t status = _FindItem(name, type, index, &found, &size);
	if (status != B_OK)
		return status;
	*data = found;
	if (numBytes != NULL)
		*numBytes = size;
	return B_OK;
}


status_t
BMessage::ReplaceData(const char* name, type_code type, const void* data,
	ssize_t numBytes)
{
	return _ReplaceItem(name, type, 0, data, numBytes);
}


status_t
BMessage::ReplaceData(const char* name, type_code type, int32 index,
	const void* data, ssize_t numBytes)
{
	return _ReplaceItem(name, type, index, data, numBytes);
}


bool
BMessage::HasData(const char* name, type_code type, int32 index) const
{
	const void* data;
	ssize_t size;
	return _FindItem(name, type, index, &data, &size) == B_OK;
}


// The plain value types share one pattern: fixed size, copied in and out.
#define DEFINE_FIXED_TYPE(Name, Type, typeCode) \
	status_t BMessage::Add##Name(const char* name, Type value) \
	{ \
		return AddData(name, typeCode, &value, sizeof(value), true); \
	} \
	status_t BMessage::Find##Name(const char* name, Type* value) const \
	{ \
		return _FindFixed(name, typeCode, 0, value); \
	} \
	status_t BMessage::Find##Name(const char* name, int32 index, Type* value) const \
	{ \
		return _FindFixed(name, typeCode, index, value); \
	} \
	Type BMessage::Find##Name(const char* name, int32 index) const \
	{ \
		Type value = Type(); \
		_FindFixed(name, typeCode, index, &value); \
		return value; \
	} \
	status_t BMessage::Replace##Name(const char* name, Type value) \
	{ \
		return _ReplaceItem(name, typeCode, 0, &value, sizeof(value)); \
	} \
	status_t BMessage::Replace##Name(const char* name, int32 index, Type value) \
	{ \
		return _ReplaceItem(name, typeCode, index, &value, sizeof(value)); \
	} \
	bool BMessage::Has##Name(const char* name, int32 index) const \
	{ \
		return HasData(name, typeCode, index); \
	}

DEFINE_FIXED_TYPE(Rect, BRect, B_RECT_TYPE)
DEFINE_FIXED_TYPE(Point, BPoint, B_POINT_TYPE)
DEFINE_FIXED_TYPE(Int8, int8, B_INT8_TYPE)
DEFINE_FIXED_TYPE(Int16, int16, B_INT16_TYPE)
DEFINE_FIXED_TYPE(Int32, int32, B_INT32_TYPE)
DEFINE_FIXED_TYPE(Int64, int64, B_INT64_TYPE)
DEFINE_FIXED_TYPE(Float, float, B_FLOAT_TYPE)
DEFINE_FIXED_TYPE(Double, double, B_DOUBLE_TYPE)

#undef DEFINE_FIXED_TYPE


// A bool is stored as one byte; any byte other than 0 from a file reads as
// true.
status_t
BMessage::AddBool(const char* name, bool value)
{
	uint8 byte = value ? 1 : 0;
	return AddData(name, B_BOOL_TYPE, &byte, sizeof(byte), true);
}


status_t
BMessage::FindBool(const char* name, bool* value) const
{
	return FindBool(name, 0, value);
}


status_t
BMessage::FindBool(const char* name, int32 index, bool* value) const
{
	if (value == NULL)
		return B_BAD_VALUE;
	uint8 byte;
	status_t status = _FindFixed(name, B_BOOL_TYPE, index, &byte);
	if (status == B_OK)
		*value = byte != 0;
	return status;
}


bool
BMessage::FindBool(const char* name, int32 index) const
{
	bool value = false;
	FindBool(name, index, &value);
	return value;
}


status_t
BMessage::ReplaceBool(const char* name, bool value)
{
	return ReplaceBool(name, 0, value);
}


status_t
BMessage::ReplaceBool(const char* name, int32 index, bool value)
{
	uint8 byte = value ? 1 : 0;
	return _ReplaceItem(name, B_BOOL_TYPE, index, &byte, sizeof(byte));
}


bool
BMessage::HasBool(const char* name, int32 index) const
{
	return HasData(name, B_BOOL_TYPE, index);
}


status_t
BMessage::AddString(const char* name, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return AddData(name, B_STRING_TYPE, string, strlen(string) + 1, false);
}


status_t
BMessage::AddString(const char* name, const BString& string)
{
	return AddString(name, string.String());
}


status_t
BMessage::FindString(const char* name, const char** string) const
{
	return FindString(name, 0, string);
}


status_t
BMessage::FindString(const char* name, int32 index, const char** string) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	const void* data;
	ssize_t size;
	status_t status = _FindItem(name, B_STRING_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;
	// Items from files or AddData need not end in NUL.
	if (static_cast<const char*>(data)[size - 1] != '\0')
		return B_BAD_DATA;
	*string = static_cast<const char*>(data);
	return B_OK;
}


status_t
BMessage::FindString(const char* name, BString* string) const
{
	return FindString(name, 0, string);
}


status_t
BMessage::FindString(const char* name, int32 index, BString* string) const
{
	if (string == NULL)
		return B_BAD_VALUE;
	const char* value;
	status_t status = FindString(name, index, &value);
	if (status == B_OK)
		string->SetTo(value);
	return status;
}


const char*
BMessage::FindString(const char* name, int32 index) const
{
	const char* value = NULL;
	FindString(name, index, &value);
	return value;
}


status_t
BMessage::ReplaceString(const char* name, const char* string)
{
	return ReplaceString(name, 0, string);
}


status_t
BMessage::ReplaceString(const char* name, int32 index, const char* string)
{
	if (string == NULL)
		return B_BAD_VALUE;
	return _ReplaceItem(name, B_STRING_TYPE, index, string, strlen(string) + 1);
}


status_t
BMessage::ReplaceString(const char* name, const BString& string)
{
	return ReplaceString(name, 0, string.String());
}


status_t
BMessage::ReplaceString(const char* name, int32 index, const BString& string)
{
	return ReplaceString(name, index, string.String());
}


bool
BMessage::HasString(const char* name, int32 index) const
{
	return HasData(name, B_STRING_TYPE, index);
}


status_t
BMessage::AddPointer(const char* name, const void* pointer)
{
	return AddData(name, B_POINTER_TYPE, &pointer, sizeof(pointer), true);
}


status_t
BMessage::FindPointer(const char* name, void** pointer) const
{
	return FindPointer(name, 0, pointer);
}


status_t
BMessage::FindPointer(const char* name, int32 index, void** pointer) const
{
	if (pointer == NULL)
		return B_BAD_VALUE;
	const void* value;
	status_t status = FindPointer(name, index, &value);
	if (status == B_OK)
		*pointer = const_cast<void*>(value);
	return status;
}


status_t
BMessage::FindPointer(const char* name, const void** pointer) const
{
	return FindPointer(name, 0, pointer);
}


status_t
BMessage::FindPointer(const char* name, int32 index, const void** pointer) const
{
	return _FindFixed(name, B_POINTER_TYPE, index, pointer);
}


status_t
BMessage::ReplacePointer(const char* name, const void* pointer)
{
	return ReplacePointer(name, 0, pointer);
}


status_t
BMessage::ReplacePointer(const char* name, int32 index, const void* pointer)
{
	return _ReplaceItem(name, B_POINTER_TYPE, index, &pointer, sizeof(pointer));
}


bool
BMessage::HasPointer(const char* name, int32 index) const
{
	return HasData(name, B_POINTER_TYPE, index);
}


status_t
BMessage::AddRef(const char* name, const entry_ref* ref)
{
	if (ref == NULL)
		return B_BAD_VALUE;
	std::vector<char> item = flatten_ref(*ref);
	return AddData(name, B_REF_TYPE, item.data(), item.size(), false);
}


status_t
BMessage::FindRef(const char* name, entry_ref* ref) const
{
	return FindRef(name, 0, ref);
}


status_t
BMessage::FindRef(const char* name, int32 index, entry_ref* ref) const
{
	if (ref == NULL)
		return B_BAD_VALUE;
	const void* data;
	ssize_t size;
	status_t status = _FindItem(name, B_REF_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;
	return unflatten_ref(static_cast<const char*>(data), size, ref);
}


status_t
BMessage::ReplaceRef(const char* name, const entry_ref* ref)
{
	return ReplaceRef(name, 0, ref);
}


status_t
BMessage::ReplaceRef(const char* name, int32 index, const entry_ref* ref)
{
	if (ref == NULL)
		return B_BAD_VALUE;
	std::vector<char> item = flatten_ref(*ref);
	return _ReplaceItem(name, B_REF_TYPE, index, item.data(), item.size());
}


bool
BMessage::HasRef(const char* name, int32 index) const
{
	return HasData(name, B_REF_TYPE, index);
}


// Nested messages are kept flattened, so that FindData() gives the bytes the
// original platform gave and the copy in is deep by construction.
status_t
BMessage::AddMessage(const char* name, const BMessage* message)
{
	if (message == NULL)
		return B_BAD_VALUE;
	status_t status;
	std::vector<char> flat = flatten_message(*message, &status);
	if (status != B_OK)
		return status;
	return AddData(name, B_MESSAGE_TYPE, flat.data(), flat.size(), false);
}


status_t
BMessage::FindMessage(const char* name, BMessage* message) const
{
	return FindMessage(name, 0, message);
}


status_t
BMessage::FindMessage(const char* name, int32 index, BMessage* message) const
{
	if (message == NULL)
		return B_BAD_VALUE;
	const void* data;
	ssize_t size;
	status_t status = _FindItem(name, B_MESSAGE_TYPE, index, &data, &size);
	if (status != B_OK)
		return status;
	return message->Unflatten(static_cast<const char*>(data), size);
}


status_t
BMessage::ReplaceMessage(const char* name, const BMessage* message)
{
	return ReplaceMessage(name, 0, message);
}


status_t
BMessage::ReplaceMessage(const char* name, int32 index, const BMessage* message)
{
	if (message == NULL)
		return B_BAD_VALUE;
	status_t status;
	std::vector<char> flat = flatten_message(*message, &status);
	if (status != B_OK)
		return status;
	return _ReplaceItem(name, B_MESSAGE_TYPE, index, flat.data(), flat.size());
}


bool
BMessage::HasMessage(const char* name, int32 index) const
{
	return HasData(name, B_MESSAGE_TYPE, index);
}


// A messenger is a plain 24-byte value, stored as the original platform
// stored it: fixed-size B_MESSENGER_TYPE items.
static_assert(sizeof(BMessenger) == 24 && std::is_trivially_copyable_v<BMessenger>);


status_t
BMessage::AddMessenger(const char* name, BMessenger messenger)
{
	return AddData(name, B_MESSENGER_TYPE, &messenger, sizeof(messenger), true);
}


status_t
BMessage::FindMessenger(const char* name, BMessenger* messenger) const
{
	return FindMessenger(name, 0, messenger);
}


status_t
BMessage::FindMessenger(const char* name, int32 index, BMessenger* messenger) const
{
	return _FindFixed(name, B_MESSENGER_TYPE, index, messenger);
}


status_t
BMessage::ReplaceMessenger(const char* name, BMessenger messenger)
{
	return ReplaceMessenger(name, 0, messenger);
}


status_t
BMessage::ReplaceMessenger(const char* name, int32 index, BMessenger messenger)
{
	return _ReplaceItem(name, B_MESSENGER_TYPE, index, &messenger, sizeof(messenger));
}


bool
BMessage::HasMessenger(const char* name, int32 index) const
{
	return HasData(name, B_MESSENGER_TYPE, index);
}
