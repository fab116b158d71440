#include <Path.h>

#include <cstring>

#include <Directory.h>
#include <Entry.h>

#include "StoragePrivate.h"

BPath::BPath()
	:
	fStatus(B_NO_INIT)
{
}


BPath::BPath(const BPath& path)
	:
	fPath(path.fPath),
	fStatus(path.fStatus)
{
}


BPath::BPath(const entry_ref* ref)
	:
	fStatus(B_NO_INIT)
{
	SetTo(ref);
}


BPath::BPath(const BEntry* entry)
	:
	fStatus(B_NO_INIT)
{
	SetTo(entry);
}


BPath::BPath(const char* dir, const char* leaf, bool normalize)
	:
	fStatus(B_NO_INIT)
{
	SetTo(dir, leaf, normalize);
}


BPath::BPath(const BDirectory* dir, const char* leaf, bool normalize)
	:
	fStatus(B_NO_INIT)
{
	SetTo(dir, leaf, normalize);
}


BPath::~BPath()
{
}


status_t
BPath::InitCheck() const
{
	return fStatus;
}


status_t
BPath::SetTo(const entry_ref* ref)
{
	Unset();
	if (ref == nullptr)
		return fStatus = B_BAD_VALUE;
	std::string path = ref->path();
	if (path.empty())
		return fStatus = B_BAD_VALUE;
	fPath = path;
	return fStatus = B_OK;
}


status_t
BPath::SetTo(const BEntry* entry)
{
	Unset();
	entry_ref ref;
	if (entry == nullptr)
		return fStatus = B_BAD_VALUE;
	status_t status = entry->GetRef(&ref);
	if (status != B_OK)
		return fStatus = status;
	return SetTo(&ref);
}


status_t
BPath::SetTo(const char* path, const char* leaf, bool normalize)
{
	if (path == nullptr || path[0] == '\0'
		|| (leaf != nullptr && leaf[0] == '/')) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	std::string full = BPrivate::absolute_path(path);
	if (leaf != nullptr && leaf[0] != '\0')
		full = BPrivate::join_path(full, leaf);
	return _SetToAbsolute(full, normalize);
}


status_t
BPath::SetTo(const BDirectory* dir, const char* leaf, bool normalize)
{
	BEntry entry;
	if (dir == nullptr || (leaf != nullptr && leaf[0] == '/')) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	status_t status = dir->GetEntry(&entry);
	if (status == B_OK)
		status = SetTo(&entry);
	if (status != B_OK || leaf == nullptr || leaf[0] == '\0')
		return status;
	return _SetToAbsolute(BPrivate::join_path(fPath, leaf), normalize);
}


void
BPath::Unset()
{
	fPath.clear();
	fStatus = B_NO_INIT;
}


status_t
BPath::Append(const char* path, bool normalize)
{
	if (fStatus != B_OK)
		return fStatus;
	if (path == nullptr || path[0] == '/')
		return B_BAD_VALUE;
	if (path[0] == '\0')
		return B_OK;
	return _SetToAbsolute(BPrivate::join_path(fPath, path), normalize);
}


const char*
BPath::Path() const
{
	return fStatus == B_OK ? fPath.c_str() : nullptr;
}


const char*
BPath::Leaf() const
{
	if (fStatus != B_OK)
		return nullptr;
	return fPath.c_str() + fPath.rfind('/') + 1;
}


status_t
BPath::GetParent(BPath* path) const
{
	if (path == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (fPath == "/") {
		path->Unset();
		return B_ENTRY_NOT_FOUND;
	}
	size_t slash = fPath.rfind('/');
	path->fPath = slash == 0 ? std::string("/") : fPath.substr(0, slash);
	path->fStatus = B_OK;
	return B_OK;
}


bool
BPath::operator==(const BPath& item) const
{
	return *this == item.Path();
}


bool
BPath::operator==(const char* path) const
{
	const char* own = Path();
	if (own == nullptr || path == nullptr)
		return own == path;
	return strcmp(own, path) == 0;
}


bool
BPath::operator!=(const BPath& item) const
{
	return !(*this == item);
}


bool
BPath::operator!=(const char* path) const
{
	return !(*this == path);
}


BPath&
BPath::operator=(const BPath& item)
{
	fPath = item.fPath;
	fStatus = item.fStatus;
	return *this;
}


BPath&
BPath::operator=(const char* path)
{
	SetTo(path);
	return *this;
}


status_t
BPath::_SetToAbsolute(const std::string& path, bool normalize)
{
	if (path.empty()) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	// ".." is only folded by text when the folders are missing: through a
	// symbolic link the real parent differs from the textual one.
	if (normalize || path.find("..") != std::string::npos) {
		entry_ref ref;
		status_t status = BPrivate::ref_for_absolute_path(path, &ref);
		if (status == B_OK) {
			fPath = ref.path();
			return fStatus = B_OK;
		}
		if (normalize) {
			Unset();
			return fStatus = status;
		}
	}
	fPath = BPrivate::clean_path(path);
	return fStatus = B_OK;
}
