#include "PKNArchivable.h"

#include <Entry.h>
#include <File.h>

#include "AtomicWrite.h"

using pelkan::TArchivable;

namespace {

// Finds into a temporary and copies it out only on success, so the caller's
// default survives every failure whatever the message does with its output.
template<typename T, typename Find>
status_t
find_defaulting(T* value, Find find)
{
	T found = *value;
	status_t status = find(&found);
	if (status == B_OK)
		*value = found;
	return status;
}

}


TArchivable::~TArchivable()
{
}


bool
TArchivable::Archive(BMessage*) const
{
	return true;
}


bool
TArchivable::Unarchive(const BMessage&)
{
	return true;
}


bool
TArchivable::Load(const BEntry& entry)
{
	BFile file(&entry, B_READ_ONLY);
	if (file.InitCheck() != B_OK)
		return false;
	BMessage archive;
	if (archive.Unflatten(&file) != B_OK)
		return false;
	return Unarchive(archive);
}


bool
TArchivable::Save(const BEntry& entry) const
{
	BMessage archive;
	if (!Archive(&archive))
		return false;
	return write_message_atomically(entry, archive) == B_OK;
}


status_t
TArchivable::FindBool(const BMessage& archive, const char* name, bool* value) const
{
	return FindBool(archive, name, 0, value);
}


status_t
TArchivable::FindBool(const BMessage& archive, const char* name, int32 index,
	bool* value) const
{
	return find_defaulting(value,
		[&](bool* out) { return archive.FindBool(name, index, out); });
}


status_t
TArchivable::FindInt32(const BMessage& archive, const char* name,
	int32* value) const
{
	return FindInt32(archive, name, 0, value);
}


status_t
TArchivable::FindInt32(const BMessage& archive, const char* name, int32 index,
	int32* value) const
{
	return find_defaulting(value,
		[&](int32* out) { return archive.FindInt32(name, index, out); });
}


status_t
TArchivable::FindInt64(const BMessage& archive, const char* name,
	int64* value) const
{
	return FindInt64(archive, name, 0, value);
}


status_t
TArchivable::FindInt64(const BMessage& archive, const char* name, int32 index,
	int64* value) const
{
	return find_defaulting(value,
		[&](int64* out) { return archive.FindInt64(name, index, out); });
}


status_t
TArchivable::FindFloat(const BMessage& archive, const char* name,
	float* value) const
{
	return FindFloat(archive, name, 0, value);
}


status_t
TArchivable::FindFloat(const BMessage& archive, const char* name, int32 index,
	float* value) const
{
	return find_defaulting(value,
		[&](float* out) { return archive.FindFloat(name, index, out); });
}


status_t
TArchivable::FindDouble(const BMessage& archive, const char* name,
	double* value) const
{
	return FindDouble(archive, name, 0, value);
}


status_t
TArchivable::FindDouble(const BMessage& archive, const char* name, int32 index,
	double* value) const
{
	return find_defaulting(value,
		[&](double* out) { return archive.FindDouble(name, index, out); });
}


status_t
TArchivable::FindString(const BMessage& archive, const char* name,
	std::string* value) const
{
	return FindString(archive, name, 0, value);
}


status_t
TArchivable::FindString(const BMessage& archive, const char* name, int32 index,
	std::string* value) const
{
	const char* text = nullptr;
	status_t status = archive.FindString(name, index, &text);
	if (status == B_OK)
		*value = text;
	return status;
}


status_t
TArchivable::FindString(const BMessage& archive, const char* name,
	const char** value) const
{
	return FindString(archive, name, 0, value);
}


status_t
TArchivable::FindString(const BMessage& archive, const char* name, int32 index,
	const char** value) const
{
	return find_defaulting(value,
		[&](const char** out) { return archive.FindString(name, index, out); });
}


status_t
TArchivable::FindRect(const BMessage& archive, const char* name,
	BRect* value) const
{
	return FindRect(archive, name, 0, value);
}


status_t
TArchivable::FindRect(const BMessage& archive, const char* name, int32 index,
	BRect* value) const
{
	return find_defaulting(value,
		[&](BRect* out) { return archive.FindRect(name, index, out); });
}


status_t
TArchivable::FindRef(const BMessage& archive, const char* name,
	entry_ref* value) const
{
	return FindRef(archive, name, 0, value);
}


status_t
TArchivable::FindRef(const BMessage& archive, const char* name, int32 index,
	entry_ref* value) const
{
	return find_defaulting(value,
		[&](entry_ref* out) { return archive.FindRef(name, index, out); });
}


status_t
TArchivable::FindMessage(const BMessage& archive, const char* name,
	BMessage* value) const
{
	return FindMessage(archive, name, 0, value);
}


status_t
TArchivable::FindMessage(const BMessage& archive, const char* name, int32 index,
	BMessage* value) const
{
	return find_defaulting(value,
		[&](BMessage* out) { return archive.FindMessage(name, index, out); });
}


status_t
TArchivable::FindData(const BMessage& archive, const char* name, type_code type,
	const void** data, ssize_t* size) const
{
	return FindData(archive, name, type, 0, data, size);
}


status_t
TArchivable::FindData(const BMessage& archive, const char* name, type_code type,
	int32 index, const void** data, ssize_t* size) const
{
	const void* found = nullptr;
	ssize_t foundSize = 0;
	status_t status = archive.FindData(name, type, index, &found, &foundSize);
	if (status == B_OK) {
		*data = found;
		*size = foundSize;
	}
	return status;
}
