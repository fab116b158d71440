#ifndef _MESSAGE_H
#define _MESSAGE_H

#include <memory>
#include <vector>

#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>
#include <TypeConstants.h>

class BDataIO;
class BHandler;
class BMessenger;
class BString;
struct entry_ref;

namespace BPrivate {
class MessageField;
class MessageFieldTable;
}

// Longest field name the flattened format can carry.
#define B_FIELD_NAME_LENGTH 255

// A typed, named container of values: the unit of communication between
// loopers and the form of every settings file.
//
// Fields keep the order in which they were first added. Each field has one
// name, one type and one or more values read by index.
//
// A Find that fails leaves its output untouched, so callers can preset a
// default and simply ignore the result (the original platform cleared the
// output first). A typed Find whose stored item has another size than the
// type needs (data added through AddData) fails with B_BAD_DATA.
class BMessage {
public:
	uint32 what;

	BMessage();
	BMessage(uint32 what);
	BMessage(const BMessage& other);
	BMessage(BMessage&& other) noexcept;
	virtual ~BMessage();

	BMessage& operator=(const BMessage& other);
	BMessage& operator=(BMessage&& other) noexcept;

	// Field information. The name returned by the index form points into the
	// message and stays valid until the message changes.
	status_t GetInfo(type_code typeRequested, int32 index, char** nameFound,
		type_code* typeFound, int32* countFound = NULL) const;
	status_t GetInfo(const char* name, type_code* typeFound,
		int32* countFound = NULL) const;
	status_t GetInfo(const char* name, type_code* typeFound, bool* fixedSize) const;
	int32 CountNames(type_code type) const;
	bool IsEmpty() const;
	void PrintToStream() const;

	// Drop information, set by the interface layer when the message arrives
	// through drag and drop. It belongs to the message object: it survives a
	// change of `what`, copying and reposting, but is not flattened.
	bool WasDropped() const;
	bool IsSourceRemote() const;
	// Where the drop happened, in screen coordinates; `offset` receives the
	// pointer's offset inside the dragged image.
	BPoint DropPoint(BPoint* offset = NULL) const;

	// Answering a message while its looper dispatches it. Without a sender
	// to answer, the reply goes to the application.
	status_t SendReply(uint32 command, BHandler* replyTo = NULL);
	status_t SendReply(BMessage* reply, BHandler* replyTo = NULL,
		bigtime_t timeout = B_INFINITE_TIMEOUT);
	bool IsSourceWaiting() const;
	BMessenger ReturnAddress() const;

	// The original platform's R5 format, little-endian. A message read from
	// a Haiku native one with a field name over 255 bytes does not flatten
	// (B_NAME_TOO_LONG).
	ssize_t FlattenedSize() const;
	status_t Flatten(char* buffer, ssize_t size) const;
	status_t Flatten(BDataIO* stream, ssize_t* size = NULL) const;
	// Reads R5 messages of either byte order and Haiku native messages. The
	// unsized form trusts the size in the buffer's header; prefer the sized
	// one for outside data. A failed Unflatten leaves the message untouched.
	status_t Unflatten(const char* flatBuffer);
	status_t Unflatten(const char* buffer, size_t size);
	// Reads exactly one message and nothing past it.
	status_t Unflatten(BDataIO* stream);

	status_t AddRect(const char* name, BRect rect);
	status_t AddPoint(const char* name, BPoint point);
	status_t AddString(const char* name, const char* string);
	status_t AddString(const char* name, const BString& string);
	status_t AddInt8(const char* name, int8 value);
	status_t AddInt16(const char* name, int16 value);
	status_t AddInt32(const char* name, int32 value);
	status_t AddInt64(const char* name, int64 value);
	status_t AddBool(const char* name, bool value);
	status_t AddFloat(const char* name, float value);
	status_t AddDouble(const char* name, double value);
	status_t AddPointer(const char* name, const void* pointer);
	status_t AddMessenger(const char* name, BMessenger messenger);
	status_t AddRef(const char* name, const entry_ref* ref);
	status_t AddMessage(const char* name, const BMessage* message);
	// A message (B_MESSAGE_TYPE), whether from AddMessage() or AddData(),
	// must unflatten and leave room for the message it goes into: a message
	// holds at most 63 levels of messages, as many as Unflatten() reads. A
	// deeper one is refused with B_BAD_VALUE, here and in the Replace
	// methods.
	status_t AddData(const char* name, type_code type, const void* data,
		ssize_t numBytes, bool isFixedSize = true, int32 count = 1);

	status_t RemoveData(const char* name, int32 index = 0);
	status_t RemoveName(const char* name);
	status_t MakeEmpty();

	status_t FindRect(const char* name, BRect* rect) const;
	status_t FindRect(const char* name, int32 index, BRect* rect) const;
	status_t FindPoint(const char* name, BPoint* point) const;
	status_t FindPoint(const char* name, int32 index, BPoint* point) const;
	status_t FindString(const char* name, const char** string) const;
	status_t FindString(const char* name, int32 index, const char** string) const;
	status_t FindString(const char* name, BString* string) const;
	status_t FindString(const char* name, int32 index, BString* string) const;
	status_t FindInt8(const char* name, int8* value) const;
	status_t FindInt8(const char* name, int32 index, int8* value) const;
	status_t FindInt16(const char* name, int16* value) const;
	status_t FindInt16(const char* name, int32 index, int16* value) const;
	status_t FindInt32(const char* name, int32* value) const;
	status_t FindInt32(const char* name, int32 index, int32* value) const;
	status_t FindInt64(const char* name, int64* value) const;
	status_t FindInt64(const char* name, int32 index, int64* value) const;
	status_t FindBool(const char* name, bool* value) const;
	status_t FindBool(const char* name, int32 index, bool* value) const;
	status_t FindFloat(const char* name, float* value) const;
	status_t FindFloat(const char* name, int32 index, float* value) const;
	status_t FindDouble(const char* name, double* value) const;
	status_t FindDouble(const char* name, int32 index, double* value) const;
	status_t FindPointer(const char* name, void** pointer) const;
	status_t FindPointer(const char* name, int32 index, void** pointer) const;
	status_t FindPointer(const char* name, const void** pointer) const;
	status_t FindPointer(const char* name, int32 index, const void** pointer) const;
	status_t FindMessenger(const char* name, BMessenger* messenger) const;
	status_t FindMessenger(const char* name, int32 index, BMessenger* messenger) const;
	status_t FindRef(const char* name, entry_ref* ref) const;
	status_t FindRef(const char* name, int32 index, entry_ref* ref) const;
	status_t FindMessage(const char* name, BMessage* message) const;
	status_t FindMessage(const char* name, int32 index, BMessage* message) const;
	// `data` points into the message and stays valid until the message changes.
	status_t FindData(const char* name, type_code type, const void** data,
		ssize_t* numBytes) const;
	status_t FindData(const char* name, type_code type, int32 index,
		const void** data, ssize_t* numBytes) const;

	// Replace an existing value; nothing is added when the name or index is
	// missing.
	status_t ReplaceRect(const char* name, BRect rect);
	status_t ReplaceRect(const char* name, int32 index, BRect rect);
	status_t ReplacePoint(const char* name, BPoint point);
	status_t ReplacePoint(const char* name, int32 index, BPoint point);
	status_t ReplaceString(const char* name, const char* string);
	status_t ReplaceString(const char* name, int32 index, const char* string);
	status_t ReplaceString(const char* name, const BString& string);
	status_t ReplaceString(const char* name, int32 index, const BString& string);
	status_t ReplaceInt8(const char* name, int8 value);
	status_t ReplaceInt8(const char* name, int32 index, int8 value);
	status_t ReplaceInt16(const char* name, int16 value);
	status_t ReplaceInt16(const char* name, int32 index, int16 value);
	status_t ReplaceInt32(const char* name, int32 value);
	status_t ReplaceInt32(const char* name, int32 index, int32 value);
	status_t ReplaceInt64(const char* name, int64 value);
	status_t ReplaceInt64(const char* name, int32 index, int64 value);
	status_t ReplaceBool(const char* name, bool value);
	status_t ReplaceBool(const char* name, int32 index, bool value);
	status_t ReplaceFloat(const char* name, float value);
	status_t ReplaceFloat(const char* name, int32 index, float value);
	status_t ReplaceDouble(const char* name, double value);
	status_t ReplaceDouble(const char* name, int32 index, double value);
	status_t ReplacePointer(const char* name, const void* pointer);
	status_t ReplacePointer(const char* name, int32 index, const void* pointer);
	status_t ReplaceMessenger(const char* name, BMessenger messenger);
	status_t ReplaceMessenger(const char* name, int32 index, BMessenger messenger);
	status_t ReplaceRef(const char* name, const entry_ref* ref);
	status_t ReplaceRef(const char* name, int32 index, const entry_ref* ref);
	status_t ReplaceMessage(const char* name, const BMessage* message);
	status_t ReplaceMessage(const char* name, int32 index, const BMessage* message);
	status_t ReplaceData(const char* name, type_code type, const void* data,
		ssize_t numBytes);
	status_t ReplaceData(const char* name, type_code type, int32 index,
		const void* data, ssize_t numBytes);

	bool HasRect(const char* name, int32 index = 0) const;
	bool HasPoint(const char* name, int32 index = 0) const;
	bool HasString(const char* name, int32 index = 0) const;
	bool HasInt8(const char* name, int32 index = 0) const;
	bool HasInt16(const char* name, int32 index = 0) const;
	bool HasInt32(const char* name, int32 index = 0) const;
	bool HasInt64(const char* name, int32 index = 0) const;
	bool HasBool(const char* name, int32 index = 0) const;
	bool HasFloat(const char* name, int32 index = 0) const;
	bool HasDouble(const char* name, int32 index = 0) const;
	bool HasPointer(const char* name, int32 index = 0) const;
	bool HasMessenger(const char* name, int32 index = 0) const;
	bool HasRef(const char* name, int32 index = 0) const;
	bool HasMessage(const char* name, int32 index = 0) const;
	bool HasData(const char* name, type_code type, int32 index = 0) const;

	// Shorthand finders: the value, or 0 / false / NULL / an invalid rect on
	// failure.
	BRect FindRect(const char* name, int32 index = 0) const;
	BPoint FindPoint(const char* name, int32 index = 0) const;
	const char* FindString(const char* name, int32 index = 0) const;
	int8 FindInt8(const char* name, int32 index = 0) const;
	int16 FindInt16(const char* name, int32 index = 0) const;
	int32 FindInt32(const char* name, int32 index = 0) const;
	int64 FindInt64(const char* name, int32 index = 0) const;
	bool FindBool(const char* name, int32 index = 0) const;
	float FindFloat(const char* name, int32 index = 0) const;
	double FindDouble(const char* name, int32 index = 0) const;

	class Private;

private:
	friend class Private;

	const BPrivate::MessageFieldTable& _Fields() const;
	BPrivate::MessageFieldTable& _MutableFields();
	BPrivate::MessageField* _FindField(const char* name);
	const BPrivate::MessageField* _FindField(const char* name) const;
	status_t _FindItem(const char* name, type_code type, int32 index,
		const void** data, ssize_t* numBytes) const;
	template<typename T>
	status_t _FindFixed(const char* name, type_code type, int32 index, T* value) const;
	status_t _ReplaceItem(const char* name, type_code type, int32 index,
		const void* data, ssize_t numBytes);

	// NULL while the message has no fields, as most posted messages do.
	std::unique_ptr<BPrivate::MessageFieldTable> fFields;
	BPoint fDropPoint;
	BPoint fDropOffset;
	bool fWasDropped;
	bool fSourceRemote;
};

#endif
