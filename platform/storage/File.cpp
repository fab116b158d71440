#include <File.h>

#include <cerrno>
#include <unistd.h>

#include <Entry.h>

#include "StoragePrivate.h"

namespace {

ssize_t io_result(ssize_t result)
{
	return result < 0 ? status_from_errno(errno) : result;
}

} // namespace


BFile::BFile()
	:
	fMode(0)
{
}


BFile::BFile(const BFile& file)
	:
	BNode(file),
	BPositionIO(),
	fMode(file.fMode)
{
}


BFile::BFile(const entry_ref* ref, uint32 openMode)
	:
	fMode(0)
{
	SetTo(ref, openMode);
}


BFile::BFile(const BEntry* entry, uint32 openMode)
	:
	fMode(0)
{
	SetTo(entry, openMode);
}


BFile::BFile(const char* path, uint32 openMode)
	:
	fMode(0)
{
	SetTo(path, openMode);
}


BFile::BFile(const BDirectory* dir, const char* path, uint32 openMode)
	:
	fMode(0)
{
	SetTo(dir, path, openMode);
}


BFile::~BFile()
{
}


status_t
BFile::SetTo(const entry_ref* ref, uint32 openMode)
{
	return _Open(ref == nullptr ? std::string() : ref->path(), openMode);
}


status_t
BFile::SetTo(const BEntry* entry, uint32 openMode)
{
	entry_ref ref;
	status_t status = entry == nullptr ? B_BAD_VALUE : entry->GetRef(&ref);
	if (status != B_OK)
		return _Fail(status);
	return SetTo(&ref, openMode);
}


status_t
BFile::SetTo(const char* path, uint32 openMode)
{
	return _Open(BPrivate::absolute_path(path), openMode);
}


status_t
BFile::SetTo(const BDirectory* dir, const char* path, uint32 openMode)
{
	return _Open(_PathFor(dir, path), openMode);
}


void
BFile::Unset()
{
	BNode::Unset();
	fMode = 0;
}


bool
BFile::IsReadable() const
{
	return InitCheck() == B_OK && (fMode & O_ACCMODE) != O_WRONLY;
}


bool
BFile::IsWritable() const
{
	return InitCheck() == B_OK && (fMode & O_ACCMODE) != O_RDONLY;
}


ssize_t
BFile::Read(void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	return io_result(read(_Fd(), buffer, size));
}


ssize_t
BFile::ReadAt(off_t location, void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (location < 0)
		return B_BAD_VALUE;
	return io_result(pread(_Fd(), buffer, size, location));
}


ssize_t
BFile::Write(const void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	return io_result(write(_Fd(), buffer, size));
}


ssize_t
BFile::WriteAt(off_t location, const void* buffer, size_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (location < 0)
		return B_BAD_VALUE;
	return io_result(pwrite(_Fd(), buffer, size, location));
}


off_t
BFile::Seek(off_t offset, uint32 seekMode)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	off_t result = lseek(_Fd(), offset, seekMode);
	return result < 0 ? status_from_errno(errno) : result;
}


off_t
BFile::Position() const
{
	if (InitCheck() != B_OK)
		return InitCheck();
	off_t result = lseek(_Fd(), 0, SEEK_CUR);
	return result < 0 ? status_from_errno(errno) : result;
}


status_t
BFile::SetSize(off_t size)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (size < 0)
		return B_BAD_VALUE;
	return ftruncate(_Fd(), size) == 0 ? B_OK : status_from_errno(errno);
}


status_t
BFile::GetSize(off_t* size) const
{
	struct stat st;
	status_t status = size == nullptr ? B_BAD_VALUE : GetStat(&st);
	if (status == B_OK)
		*size = st.st_size;
	return status;
}


BFile&
BFile::operator=(const BFile& file)
{
	BNode::operator=(file);
	fMode = InitCheck() == B_OK ? file.fMode : 0;
	return *this;
}


status_t
BFile::_Open(const std::string& path, uint32 openMode)
{
	const uint32 known = O_ACCMODE | B_CREATE_FILE | B_ERASE_FILE
		| B_FAIL_IF_EXISTS | B_OPEN_AT_END;
	if ((openMode & ~known) != 0)
		return _Fail(B_BAD_VALUE);
	status_t status = _SetTo(path, openMode);
	fMode = status == B_OK ? openMode : 0;
	return status;
}
