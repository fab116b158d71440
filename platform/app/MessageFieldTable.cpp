#include "MessageFieldTable.h"

#include <algorithm>
#include <utility>

namespace BPrivate {

namespace {

const size_t kMinimumSlots = 8;

}


MessageField*
MessageFieldTable::Find(const char* name, size_t length)
{
	return const_cast<MessageField*>(std::as_const(*this).Find(name, length));
}


const MessageField*
MessageFieldTable::Find(const char* name, size_t length) const
{
	if (fSlots.empty())
		return NULL;
	uint32 hash = MessageField::HashName(name, length);
	size_t mask = fSlots.size() - 1;
	for (size_t slot = hash & mask; fSlots[slot] >= 0; slot = (slot + 1) & mask) {
		const MessageField& field = fFields[fSlots[slot]];
		if (field.HasName(name, length, hash))
			return &field;
	}
	return NULL;
}


MessageField&
MessageFieldTable::Add(const char* name, size_t length, type_code type,
	bool fixedSize)
{
	fFields.emplace_back(name, length, type, fixedSize);
	if (fFields.size() * 2 > fSlots.size())
		_Rebuild(std::max(kMinimumSlots, fSlots.size() * 2));
	else
		_Index((int32)fFields.size() - 1);
	return fFields.back();
}


void
MessageFieldTable::Remove(const MessageField* field)
{
	fFields.erase(fFields.begin() + (field - fFields.data()));
	// Every later field has a new index; probing chains also must not break
	// at a freed slot.
	_Rebuild(fSlots.size());
}


void
MessageFieldTable::MakeEmpty()
{
	fFields.clear();
	fSlots.clear();
}


void
MessageFieldTable::Swap(MessageFieldTable& other)
{
	fFields.swap(other.fFields);
	fSlots.swap(other.fSlots);
}


void
MessageFieldTable::_Index(int32 field)
{
	size_t mask = fSlots.size() - 1;
	size_t slot = fFields[field].NameHash() & mask;
	while (fSlots[slot] >= 0)
		slot = (slot + 1) & mask;
	fSlots[slot] = field;
}


void
MessageFieldTable::_Rebuild(size_t slotCount)
{
	fSlots.assign(slotCount, -1);
	for (int32 field = 0; field < (int32)fFields.size(); field++)
		_Index(field);
}

}
