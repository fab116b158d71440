#ifndef _MESSAGE_FIELD_H
#define _MESSAGE_FIELD_H

#include <string>
#include <vector>

#include <SupportDefs.h>

namespace BPrivate {

// One named field of a BMessage: its type and its items, stored back to back
// in one buffer. A fixed-size field has items of one size; a variable field
// keeps where each item starts.
class MessageField {
public:
	MessageField(const char* name, size_t nameLength, type_code type, bool fixedSize);

	static uint32 HashName(const char* name, size_t length);

	const std::string& Name() const { return fName; }
	uint32 NameHash() const { return fNameHash; }
	bool HasName(const char* name, size_t length, uint32 hash) const;
	type_code Type() const { return fType; }
	bool IsFixedSize() const { return fFixedSize; }
	int32 CountItems() const { return fCount; }
	// Bytes of all items without any length prefixes.
	size_t DataSize() const { return fData.size(); }

	const char* ItemAt(int32 index, size_t* size) const;
	// B_BAD_VALUE when a fixed-size field gets an item of another size.
	status_t AddItem(const void* data, size_t size);
	status_t ReplaceItem(int32 index, const void* data, size_t size);
	void RemoveItem(int32 index);

private:
	size_t _ItemStart(int32 index) const;
	bool _IsOwnData(const void* data) const;

	std::string fName;
	uint32 fNameHash;
	type_code fType;
	bool fFixedSize;
	size_t fItemSize;
	int32 fCount;
	std::vector<char> fData;
	// Variable fields only: where each item starts in fData.
	std::vector<size_t> fOffsets;
};

}

#endif
