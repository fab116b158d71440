#include <Directory.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <Entry.h>
#include <File.h>

#include "StoragePrivate.h"

BDirectory::BDirectory()
	:
	fDevice((dev_t)-1),
	fNode((ino_t)-1),
	fNextIndex(0)
{
}


BDirectory::BDirectory(const BDirectory& dir)
	:
	BDirectory()
{
	*this = dir;
}


BDirectory::BDirectory(const entry_ref* ref)
	:
	BDirectory()
{
	SetTo(ref);
}


BDirectory::BDirectory(const BEntry* entry)
	:
	BDirectory()
{
	SetTo(entry);
}


BDirectory::BDirectory(const char* path)
	:
	BDirectory()
{
	SetTo(path);
}


BDirectory::BDirectory(const BDirectory* dir, const char* path)
	:
	BDirectory()
{
	SetTo(dir, path);
}


BDirectory::~BDirectory()
{
}


status_t
BDirectory::SetTo(const entry_ref* ref)
{
	if (ref == nullptr)
		return _Fail(B_BAD_VALUE);
	return SetTo(ref->path().c_str());
}


status_t
BDirectory::SetTo(const BEntry* entry)
{
	entry_ref ref;
	status_t status = entry == nullptr ? B_BAD_VALUE : entry->GetRef(&ref);
	if (status != B_OK)
		return _Fail(status);
	return SetTo(&ref);
}


status_t
BDirectory::SetTo(const char* path)
{
	status_t status = _SetTo(BPrivate::absolute_path(path),
		O_RDONLY | O_DIRECTORY);
	struct stat st;
	if (status == B_OK)
		status = GetStat(&st);
	if (status == B_OK) {
		fDevice = st.st_dev;
		fNode = st.st_ino;
		BPrivate::remember_node_path(fDevice, fNode, _Path());
		status = _ReadListing();
	}
	if (status != B_OK)
		return _Fail(status);
	return B_OK;
}


status_t
BDirectory::SetTo(const BDirectory* dir, const char* path)
{
	std::string full = _PathFor(dir, path);
	if (full.empty())
		return _Fail(B_BAD_VALUE);
	return SetTo(full.c_str());
}


void
BDirectory::Unset()
{
	BNode::Unset();
	fDevice = (dev_t)-1;
	fNode = (ino_t)-1;
	fNames.clear();
	fNextIndex = 0;
}


status_t
BDirectory::GetEntry(BEntry* entry) const
{
	if (entry == nullptr)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK) {
		entry->Unset();
		return InitCheck();
	}
	return entry->SetTo(_Path().c_str());
}


bool
BDirectory::IsRootDirectory() const
{
	return InitCheck() == B_OK && _Path() == "/";
}


status_t
BDirectory::FindEntry(const char* path, BEntry* entry, bool traverse) const
{
	if (path == nullptr || entry == nullptr)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK)
		return InitCheck();
	status_t status = entry->SetTo(_PathOf(path).c_str(), traverse);
	if (status == B_OK && !entry->Exists())
		status = B_ENTRY_NOT_FOUND;
	if (status != B_OK)
		entry->Unset();
	return status;
}


bool
BDirectory::Contains(const char* path, int32 nodeFlags) const
{
	if (path == nullptr || InitCheck() != B_OK)
		return false;
	BEntry entry(_PathOf(path).c_str());
	return Contains(&entry, nodeFlags);
}


bool
BDirectory::Contains(const BEntry* entry, int32 nodeFlags) const
{
	struct stat st;
	entry_ref ref;
	if (entry == nullptr || InitCheck() != B_OK || entry->GetStat(&st) != B_OK
		|| entry->GetRef(&ref) != B_OK) {
		return false;
	}
	int32 flavor = S_ISDIR(st.st_mode) ? B_DIRECTORY_NODE
		: S_ISLNK(st.st_mode) ? B_SYMLINK_NODE : B_FILE_NODE;
	if ((flavor & nodeFlags) == 0)
		return false;
	// Anywhere below this folder, not only directly in it.
	std::string path = ref.path();
	const std::string& own = _Path();
	if (own == "/")
		return path != "/";
	return path.size() > own.size() && path.compare(0, own.size(), own) == 0
		&& path[own.size()] == '/';
}


status_t
BDirectory::GetNextEntry(BEntry* entry, bool traverse)
{
	if (entry == nullptr)
		return B_BAD_VALUE;
	entry_ref ref;
	status_t status = GetNextRef(&ref);
	if (status == B_OK)
		status = entry->SetTo(&ref, traverse);
	if (status != B_OK)
		entry->Unset();
	return status;
}


status_t
BDirectory::GetNextRef(entry_ref* ref)
{
	if (ref == nullptr)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK)
		return InitCheck();
	if (fNextIndex >= fNames.size())
		return B_ENTRY_NOT_FOUND;
	ref->device = fDevice;
	ref->directory = fNode;
	ref->directory_path = _Path();
	return ref->set_name(fNames[fNextIndex++].c_str());
}


status_t
BDirectory::Rewind()
{
	if (InitCheck() != B_OK)
		return InitCheck();
	return _ReadListing();
}


int32
BDirectory::CountEntries()
{
	return Rewind() == B_OK ? (int32)fNames.size() : 0;
}


status_t
BDirectory::CreateDirectory(const char* path, BDirectory* dir)
{
	if (path == nullptr)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK)
		return InitCheck();
	std::string full = _PathOf(path);
	if (mkdir(full.c_str(), 0777) != 0)
		return status_from_errno(errno);
	return dir == nullptr ? B_OK : dir->SetTo(full.c_str());
}


status_t
BDirectory::CreateFile(const char* path, BFile* file, bool failIfExists)
{
	if (path == nullptr)
		return B_BAD_VALUE;
	if (InitCheck() != B_OK)
		return InitCheck();
	uint32 mode = B_READ_WRITE | B_CREATE_FILE | B_ERASE_FILE
		| (failIfExists ? B_FAIL_IF_EXISTS : 0);
	BFile created;
	BFile* target = file != nullptr ? file : &created;
	return target->SetTo(_PathOf(path).c_str(), mode);
}


BDirectory&
BDirectory::operator=(const BDirectory& dir)
{
	if (this == &dir)
		return *this;
	BNode::operator=(dir);
	if (InitCheck() != B_OK)
		return *this;
	fDevice = dir.fDevice;
	fNode = dir.fNode;
	fNames = dir.fNames;
	fNextIndex = dir.fNextIndex;
	return *this;
}


status_t
BDirectory::_ReadListing()
{
	fNames.clear();
	fNextIndex = 0;
	// A descriptor of its own: closedir() closes what fdopendir() was given.
	int fd = openat(_Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	DIR* listing = fd >= 0 ? fdopendir(fd) : nullptr;
	if (listing == nullptr) {
		status_t status = status_from_errno(errno);
		if (fd >= 0)
			close(fd);
		return status;
	}
	while (dirent* item = readdir(listing)) {
		std::string name(item->d_name);
		if (name != "." && name != "..")
			fNames.push_back(std::move(name));
	}
	closedir(listing);
	std::sort(fNames.begin(), fNames.end());
	return B_OK;
}


std::string
BDirectory::_PathOf(const char* path) const
{
	if (path[0] == '/')
		return path;
	return BPrivate::join_path(_Path(), path);
}


status_t
create_directory(const char* path, mode_t mode)
{
	std::string absolute = BPrivate::absolute_path(path);
	if (absolute.empty())
		return B_BAD_VALUE;
	absolute = BPrivate::clean_path(absolute);

	// Create from the top down; a folder created by someone else meanwhile
	// is as good as our own.
	size_t slash = 0;
	do {
		slash = absolute.find('/', slash + 1);
		std::string part = absolute.substr(0, slash);
		struct stat st;
		if (stat(part.c_str(), &st) != 0) {
			if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST)
				return status_from_errno(errno);
			if (stat(part.c_str(), &st) != 0)
				return status_from_errno(errno);
		}
		if (!S_ISDIR(st.st_mode))
			return B_NOT_A_DIRECTORY;
	} while (slash != std::string::npos);
	return B_OK;
}
