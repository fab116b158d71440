#include <DataIO.h>

#include <algorithm>
#include <cstring>

#include "private/SeekTarget.h"

BMemoryIO::BMemoryIO(void* data, size_t length)
	:
	fWritableData(static_cast<char*>(data)),
	fData(static_cast<const char*>(data)),
	fLength(data != NULL ? length : 0),
	fBufferSize(fLength),
	fPosition(0)
{
}

BMemoryIO::BMemoryIO(const void* data, size_t length)
	:
	fWritableData(NULL),
	fData(static_cast<const char*>(data)),
	fLength(data != NULL ? length : 0),
	fBufferSize(fLength),
	fPosition(0)
{
}

BMemoryIO::~BMemoryIO() = default;

ssize_t BMemoryIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0))
		return B_BAD_VALUE;
	if (static_cast<uint64>(position) >= fLength)
		return 0;
	size_t count = std::min(size, fLength - static_cast<size_t>(position));
	memcpy(buffer, fData + position, count);
	return static_cast<ssize_t>(count);
}

ssize_t BMemoryIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (fWritableData == NULL)
		return B_NOT_ALLOWED;
	if (position < 0 || (buffer == NULL && size > 0))
		return B_BAD_VALUE;
	if (static_cast<uint64>(position) >= fBufferSize)
		return 0;
	size_t count = std::min(size, fBufferSize - static_cast<size_t>(position));
	memmove(fWritableData + position, buffer, count);
	fLength = std::max(fLength, static_cast<size_t>(position) + count);
	return static_cast<ssize_t>(count);
}

off_t BMemoryIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = BPrivate::seek_target(position, seekMode, fPosition,
		static_cast<off_t>(fLength));
	if (target >= 0)
		fPosition = target;
	return target;
}

off_t BMemoryIO::Position() const
{
	return fPosition;
}

status_t BMemoryIO::SetSize(off_t size)
{
	if (fWritableData == NULL)
		return B_NOT_ALLOWED;
	if (size < 0 || static_cast<uint64>(size) > fBufferSize)
		return B_BAD_VALUE;
	fLength = static_cast<size_t>(size);
	return B_OK;
}

status_t BMemoryIO::GetSize(off_t* size) const
{
	if (size == NULL)
		return B_BAD_VALUE;
	*size = static_cast<off_t>(fLength);
	return B_OK;
}
