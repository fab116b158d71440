#ifndef _MESSAGE_FIELD_TABLE_H
#define _MESSAGE_FIELD_TABLE_H

#include <vector>

#include <SupportDefs.h>

#include "MessageField.h"

namespace BPrivate {

// The fields of a message in the order they were added, with an index by
// name, so that finding or adding a field costs the same in a message of
// three fields as in one of a hundred thousand (messages come from other
// programs too, by drag and drop).
class MessageFieldTable {
public:
	using const_iterator = std::vector<MessageField>::const_iterator;

	int32 CountFields() const { return (int32)fFields.size(); }
	bool IsEmpty() const { return fFields.empty(); }
	const MessageField& FieldAt(int32 index) const { return fFields[index]; }
	const_iterator begin() const { return fFields.begin(); }
	const_iterator end() const { return fFields.end(); }

	MessageField* Find(const char* name, size_t length);
	const MessageField* Find(const char* name, size_t length) const;
	// The name must not be in the table yet.
	MessageField& Add(const char* name, size_t length, type_code type,
		bool fixedSize);
	// Costs time in proportion to the number of fields, as the later fields
	// move up.
	void Remove(const MessageField* field);
	void MakeEmpty();
	void Swap(MessageFieldTable& other);

private:
	void _Index(int32 field);
	void _Rebuild(size_t slotCount);

	std::vector<MessageField> fFields;
	// Open addressing with linear probing: indices into fFields, -1 for a
	// free slot. At most half full, a power of two in size.
	std::vector<int32> fSlots;
};

}

#endif
