#include <AtomicFile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

#include <Entry.h>

#include "StoragePrivate.h"

namespace {

const int kNameAttempts = 100;


// Attributes of the old file that the new one does not set itself.
void carry_attributes(const char* from, int to)
{
	ssize_t size = listxattr(from, nullptr, 0);
	if (size <= 0)
		return;
	std::vector<char> names(size);
	size = listxattr(from, names.data(), names.size());
	for (ssize_t start = 0; start < size;) {
		const char* name = names.data() + start;
		start += strlen(name) + 1;
		if (strncmp(name, "user.", 5) != 0
			|| fgetxattr(to, name, nullptr, 0) >= 0 || errno != ENODATA) {
			continue;
		}
		ssize_t length = getxattr(from, name, nullptr, 0);
		if (length < 0)
			continue;
		std::vector<char> value(length);
		length = getxattr(from, name, value.data(), value.size());
		if (length >= 0)
			fsetxattr(to, name, value.data(), length, XATTR_CREATE);
	}
}


void sync_directory(const std::string& path)
{
	int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (fd >= 0) {
		fsync(fd);
		close(fd);
	}
}

} // namespace


BAtomicFile::BAtomicFile()
	:
	fWriteStatus(B_OK)
{
}


BAtomicFile::BAtomicFile(const char* path)
	:
	fWriteStatus(B_OK)
{
	SetTo(path);
}


BAtomicFile::BAtomicFile(const entry_ref* ref)
	:
	fWriteStatus(B_OK)
{
	SetTo(ref);
}


BAtomicFile::BAtomicFile(const BEntry* entry)
	:
	fWriteStatus(B_OK)
{
	SetTo(entry);
}


BAtomicFile::~BAtomicFile()
{
	_Discard();
}


status_t
BAtomicFile::SetTo(const char* path)
{
	std::string absolute = BPrivate::absolute_path(path);
	if (absolute.empty())
		return _Fail(B_BAD_VALUE);
	entry_ref ref;
	status_t status = BPrivate::ref_for_absolute_path_traversed(absolute, &ref);
	if (status != B_OK)
		return _Fail(status);
	std::string target = ref.path();
	// A file protected against writing stays protected, although the folder
	// would allow replacing it.
	if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0)
		return _Fail(status_from_errno(errno));
	Unset();

	// The name is made here rather than by mkstemp() so that the file is
	// created with 0666 and the umask, like any other new file.
	std::string temporary;
	int fd = -1;
	for (int attempt = 0; fd < 0 && attempt < kNameAttempts; attempt++) {
		uint32 random = 0;
		if (getrandom(&random, sizeof(random), 0) != sizeof(random))
			random ^= (uint32)getpid() * 2654435761u + attempt;
		char suffix[16];
		snprintf(suffix, sizeof(suffix), ".%08x", random);
		temporary = BPrivate::join_path(ref.directory_path,
			std::string(".") + ref.name + suffix);
		fd = open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
			0666);
		if (fd < 0 && errno != EEXIST)
			return _Fail(status_from_errno(errno));
	}
	if (fd < 0)
		return _Fail(B_FILE_EXISTS);
	close(fd);

	status = _Open(temporary, B_READ_WRITE);
	if (status != B_OK) {
		unlink(temporary.c_str());
		return status;
	}
	fTarget = target;
	fTemporary = temporary;
	fWriteStatus = B_OK;
	return B_OK;
}


status_t
BAtomicFile::SetTo(const entry_ref* ref)
{
	if (ref == nullptr)
		return _Fail(B_BAD_VALUE);
	return SetTo(ref->path().c_str());
}


status_t
BAtomicFile::SetTo(const BEntry* entry)
{
	entry_ref ref;
	status_t status = entry == nullptr ? B_BAD_VALUE : entry->GetRef(&ref);
	if (status != B_OK)
		return _Fail(status);
	return SetTo(&ref);
}


void
BAtomicFile::Unset()
{
	_Discard();
	BFile::Unset();
	fTarget.clear();
	fWriteStatus = B_OK;
}


ssize_t
BAtomicFile::Write(const void* buffer, size_t size)
{
	return _Track(BFile::Write(buffer, size), size);
}


ssize_t
BAtomicFile::WriteAt(off_t location, const void* buffer, size_t size)
{
	return _Track(BFile::WriteAt(location, buffer, size), size);
}


status_t
BAtomicFile::SetPermissions(mode_t permissions)
{
	if (fTemporary.empty())
		return InitCheck() == B_OK ? B_NOT_ALLOWED : InitCheck();
	if (fchmod(_Fd(), permissions & 07777) != 0)
		return status_from_errno(errno);
	return B_OK;
}


status_t
BAtomicFile::Commit()
{
	if (fTemporary.empty())
		return InitCheck() == B_OK ? B_NOT_ALLOWED : InitCheck();
	status_t status = fWriteStatus;
	if (status == B_OK)
		status = Sync();
	if (status == B_OK) {
		struct stat old;
		if (stat(fTarget.c_str(), &old) == 0) {
			fchmod(_Fd(), old.st_mode & 07777);
			// Only root may give the file away; keeping our own ownership
			// is no reason to fail the save.
			int ignored = fchown(_Fd(), old.st_uid, old.st_gid);
			(void)ignored;
			carry_attributes(fTarget.c_str(), _Fd());
		}
		if (rename(fTemporary.c_str(), fTarget.c_str()) != 0)
			status = status_from_errno(errno);
	}
	if (status != B_OK)
		return _Fail(status);
	fTemporary.clear();
	_SetPath(fTarget);
	sync_directory(fTarget.substr(0, fTarget.rfind('/') + 1));
	return B_OK;
}


status_t
BAtomicFile::Replace(const char* path, const void* data, size_t size)
{
	if (data == nullptr && size > 0)
		return B_BAD_VALUE;
	BAtomicFile file(path);
	status_t status = file.InitCheck();
	if (status != B_OK)
		return status;
	if (size > 0)
		file.Write(data, size);
	return file.Commit();
}


ssize_t
BAtomicFile::_Track(ssize_t result, size_t size)
{
	if (fWriteStatus == B_OK && result < 0)
		fWriteStatus = result;
	else if (fWriteStatus == B_OK && (size_t)result < size)
		fWriteStatus = B_DEVICE_FULL;
	return result;
}


void
BAtomicFile::_Discard()
{
	if (!fTemporary.empty())
		unlink(fTemporary.c_str());
	fTemporary.clear();
}
