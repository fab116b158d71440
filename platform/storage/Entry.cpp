#include <Entry.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <Directory.h>
#include <Path.h>

#include "StoragePrivate.h"

BEntry::BEntry()
	:
	fStatus(B_NO_INIT)
{
}


BEntry::BEntry(const BDirectory* dir, const char* path, bool traverse)
	:
	fStatus(B_NO_INIT)
{
	SetTo(dir, path, traverse);
}


BEntry::BEntry(const entry_ref* ref, bool traverse)
	:
	fStatus(B_NO_INIT)
{
	SetTo(ref, traverse);
}


BEntry::BEntry(const char* path, bool traverse)
	:
	fStatus(B_NO_INIT)
{
	SetTo(path, traverse);
}


BEntry::BEntry(const BEntry& entry)
	:
	fRef(entry.fRef),
	fStatus(entry.fStatus)
{
}


BEntry::~BEntry()
{
}


status_t
BEntry::InitCheck() const
{
	return fStatus;
}


bool
BEntry::Exists() const
{
	struct stat st;
	return GetStat(&st) == B_OK;
}


status_t
BEntry::GetStat(struct stat* st) const
{
	if (st == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (lstat(fRef.path().c_str(), st) != 0)
		return status_from_errno(errno);
	return B_OK;
}


bool
BEntry::IsFile() const
{
	struct stat st;
	return GetStat(&st) == B_OK && S_ISREG(st.st_mode);
}


bool
BEntry::IsDirectory() const
{
	struct stat st;
	return GetStat(&st) == B_OK && S_ISDIR(st.st_mode);
}


bool
BEntry::IsSymLink() const
{
	struct stat st;
	return GetStat(&st) == B_OK && S_ISLNK(st.st_mode);
}


status_t
BEntry::GetNodeRef(node_ref* ref) const
{
	if (ref == nullptr)
		return B_BAD_VALUE;
	struct stat st;
	status_t status = GetStat(&st);
	if (status != B_OK)
		return status;
	ref->device = st.st_dev;
	ref->node = st.st_ino;
	ref->path = fRef.path();
	BPrivate::remember_node_path(st.st_dev, st.st_ino, ref->path);
	return B_OK;
}


status_t
BEntry::SetTo(const BDirectory* dir, const char* path, bool traverse)
{
	if (path != nullptr && path[0] == '/')
		return SetTo(path, traverse);
	BPath dirPath;
	status_t status = dir == nullptr ? B_BAD_VALUE : dirPath.SetTo(dir);
	if (status != B_OK) {
		Unset();
		return fStatus = status;
	}
	if (path == nullptr || path[0] == '\0')
		return _SetToAbsolute(dirPath.Path(), traverse);
	return _SetToAbsolute(BPrivate::join_path(dirPath.Path(), path), traverse);
}


status_t
BEntry::SetTo(const entry_ref* ref, bool traverse)
{
	if (ref == nullptr || ref->name == nullptr || ref->directory_path.empty()) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	// A reference to an existing folder is taken as it is, which keeps
	// listing large folders cheap; one made while its folder was missing is
	// looked up again, as the folder may exist by now.
	if (traverse || ref->device == (dev_t)-1)
		return _SetToAbsolute(ref->path(), traverse);
	fRef = *ref;
	return fStatus = B_OK;
}


status_t
BEntry::SetTo(const char* path, bool traverse)
{
	std::string absolute = BPrivate::absolute_path(path);
	if (absolute.empty()) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	return _SetToAbsolute(absolute, traverse);
}


void
BEntry::Unset()
{
	fRef = entry_ref();
	fStatus = B_NO_INIT;
}


status_t
BEntry::GetRef(entry_ref* ref) const
{
	if (ref == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	*ref = fRef;
	return B_OK;
}


status_t
BEntry::GetPath(BPath* path) const
{
	if (path == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	return path->SetTo(&fRef);
}


status_t
BEntry::GetParent(BEntry* entry) const
{
	if (entry == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (strcmp(fRef.name, ".") == 0) {
		entry->Unset();
		return B_ENTRY_NOT_FOUND;
	}
	return entry->_SetToAbsolute(fRef.directory_path, false);
}


status_t
BEntry::GetParent(BDirectory* dir) const
{
	if (dir == nullptr)
		return B_BAD_VALUE;
	BEntry parent;
	status_t status = GetParent(&parent);
	if (status != B_OK) {
		dir->Unset();
		return status;
	}
	return dir->SetTo(&parent);
}


status_t
BEntry::GetName(char* buffer) const
{
	if (buffer == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK) {
		buffer[0] = '\0';
		return fStatus;
	}
	snprintf(buffer, B_FILE_NAME_LENGTH, "%s", fRef.name);
	return B_OK;
}


status_t
BEntry::Rename(const char* path, bool clobber)
{
	if (path == nullptr || path[0] == '\0')
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (path[0] == '/')
		return _MoveToPath(BPrivate::clean_path(path), clobber);
	return _MoveToPath(BPrivate::join_path(fRef.directory_path, path), clobber);
}


status_t
BEntry::MoveTo(BDirectory* dir, const char* path, bool clobber)
{
	if (fStatus != B_OK)
		return fStatus;
	if (path != nullptr && path[0] == '/')
		return _MoveToPath(BPrivate::clean_path(path), clobber);
	BPath target;
	status_t status = target.SetTo(dir,
		path != nullptr && path[0] != '\0' ? path : fRef.name);
	if (status != B_OK)
		return status;
	return _MoveToPath(target.Path(), clobber);
}


status_t
BEntry::Remove()
{
	struct stat st;
	status_t status = GetStat(&st);
	if (status != B_OK)
		return status;
	std::string path = fRef.path();
	int result = S_ISDIR(st.st_mode) ? rmdir(path.c_str()) : unlink(path.c_str());
	return result == 0 ? B_OK : status_from_errno(errno);
}


bool
BEntry::operator==(const BEntry& item) const
{
	if (fStatus != B_OK || item.fStatus != B_OK)
		return fStatus == item.fStatus;
	return fRef == item.fRef;
}


bool
BEntry::operator!=(const BEntry& item) const
{
	return !(*this == item);
}


BEntry&
BEntry::operator=(const BEntry& item)
{
	fRef = item.fRef;
	fStatus = item.fStatus;
	return *this;
}


status_t
BEntry::_SetToAbsolute(const std::string& path, bool traverse)
{
	entry_ref ref;
	status_t status = traverse
		? BPrivate::ref_for_absolute_path_traversed(path, &ref)
		: BPrivate::ref_for_absolute_path(path, &ref);
	if (status != B_OK) {
		Unset();
		return fStatus = status;
	}
	fRef = ref;
	return fStatus = B_OK;
}


status_t
BEntry::_MoveToPath(const std::string& target, bool clobber)
{
	std::string source = fRef.path();
	int result = renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(),
		clobber ? 0 : RENAME_NOREPLACE);
	if (result != 0 && !clobber && errno == EINVAL) {
		// The file system cannot refuse atomically; check, then move.
		struct stat st;
		if (lstat(target.c_str(), &st) == 0)
			return B_FILE_EXISTS;
		result = rename(source.c_str(), target.c_str());
	}
	if (result != 0)
		return status_from_errno(errno);
	return _SetToAbsolute(target, false);
}


status_t
get_ref_for_path(const char* path, entry_ref* ref)
{
	if (ref == nullptr)
		return B_BAD_VALUE;
	std::string absolute = BPrivate::absolute_path(path);
	if (absolute.empty())
		return B_BAD_VALUE;
	return BPrivate::ref_for_absolute_path(absolute, ref);
}
