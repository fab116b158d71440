#include "MessageField.h"

#include <cstring>
#include <functional>

namespace BPrivate {

MessageField::MessageField(const char* name, size_t nameLength, type_code type,
	bool fixedSize)
	:
	fName(name, nameLength),
	fNameHash(HashName(name, nameLength)),
	fType(type),
	fFixedSize(fixedSize),
	fItemSize(0),
	fCount(0)
{
}


uint32
MessageField::HashName(const char* name, size_t length)
{
	// FNV-1a: cheap, and good enough to make most lookups skip strcmp.
	uint32 hash = 2166136261u;
	for (size_t i = 0; i < length; i++)
		hash = (hash ^ (uint8)name[i]) * 16777619u;
	return hash;
}


bool
MessageField::HasName(const char* name, size_t length, uint32 hash) const
{
	return fNameHash == hash && fName.size() == length
		&& memcmp(fName.data(), name, length) == 0;
}


size_t
MessageField::_ItemStart(int32 index) const
{
	return fFixedSize ? (size_t)index * fItemSize : fOffsets[index];
}


const char*
MessageField::ItemAt(int32 index, size_t* size) const
{
	size_t start = _ItemStart(index);
	if (fFixedSize)
		*size = fItemSize;
	else
		*size = (index + 1 < fCount ? fOffsets[index + 1] : fData.size()) - start;
	return fData.data() + start;
}


bool
MessageField::_IsOwnData(const void* data) const
{
	std::less_equal<const void*> lessEqual;
	std::less<const void*> less;
	return lessEqual(fData.data(), data) && less(data, fData.data() + fData.size());
}


status_t
MessageField::AddItem(const void* data, size_t size)
{
	if (_IsOwnData(data)) {
		// Growing the buffer would pull the bytes from under the copy.
		std::vector<char> copy(static_cast<const char*>(data),
			static_cast<const char*>(data) + size);
		return AddItem(copy.data(), size);
	}
	if (fFixedSize) {
		if (fCount > 0 && size != fItemSize)
			return B_BAD_VALUE;
		fItemSize = size;
	} else
		fOffsets.push_back(fData.size());

	const char* bytes = static_cast<const char*>(data);
	fData.insert(fData.end(), bytes, bytes + size);
	fCount++;
	return B_OK;
}


status_t
MessageField::ReplaceItem(int32 index, const void* data, size_t size)
{
	size_t oldSize;
	ItemAt(index, &oldSize);
	if (fFixedSize && size != oldSize)
		return B_BAD_VALUE;

	if (size != oldSize && _IsOwnData(data)) {
		std::vector<char> copy(static_cast<const char*>(data),
			static_cast<const char*>(data) + size);
		return ReplaceItem(index, copy.data(), size);
	}

	size_t start = _ItemStart(index);
	if (size != oldSize) {
		if (size > oldSize)
			fData.insert(fData.begin() + start + oldSize, size - oldSize, 0);
		else
			fData.erase(fData.begin() + start + size, fData.begin() + start + oldSize);
		for (int32 i = index + 1; i < fCount; i++)
			fOffsets[i] = fOffsets[i] + size - oldSize;
	}
	memmove(fData.data() + start, data, size);
	return B_OK;
}


void
MessageField::RemoveItem(int32 index)
{
	size_t size;
	ItemAt(index, &size);
	size_t start = _ItemStart(index);
	fData.erase(fData.begin() + start, fData.begin() + start + size);
	if (!fFixedSize) {
		fOffsets.erase(fOffsets.begin() + index);
		for (int32 i = index; i < fCount - 1; i++)
			fOffsets[i] -= size;
	}
	fCount--;
}

}
