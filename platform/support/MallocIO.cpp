#include <DataIO.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "private/SeekTarget.h"

namespace {

const size_t kDefaultBlockSize = 256;

}	// namespace

BMallocIO::BMallocIO()
	:
	fBlockSize(kDefaultBlockSize),
	fPosition(0)
{
}

BMallocIO::~BMallocIO() = default;

ssize_t BMallocIO::ReadAt(off_t position, void* buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0))
		return B_BAD_VALUE;
	if (static_cast<uint64>(position) >= fData.size())
		return 0;
	size_t count = std::min(size, fData.size() - static_cast<size_t>(position));
	memcpy(buffer, fData.data() + position, count);
	return static_cast<ssize_t>(count);
}

ssize_t BMallocIO::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (position < 0 || (buffer == NULL && size > 0)
		|| size > static_cast<size_t>(std::numeric_limits<ssize_t>::max()))
		return B_BAD_VALUE;
	if (size == 0)
		return 0;
	size_t end;
	if (__builtin_add_overflow(static_cast<uint64>(position), size, &end))
		return B_BAD_VALUE;
	if (end > fData.size()) {
		status_t status = _Resize(end);
		if (status != B_OK)
			return status;
	}
	memcpy(fData.data() + position, buffer, size);
	return static_cast<ssize_t>(size);
}

off_t BMallocIO::Seek(off_t position, uint32 seekMode)
{
	off_t target = BPrivate::seek_target(position, seekMode, fPosition,
		static_cast<off_t>(fData.size()));
	if (target >= 0)
		fPosition = target;
	return target;
}

off_t BMallocIO::Position() const
{
	return fPosition;
}

status_t BMallocIO::SetSize(off_t size)
{
	if (size < 0)
		return B_BAD_VALUE;
	return _Resize(static_cast<size_t>(size));
}

status_t BMallocIO::GetSize(off_t* size) const
{
	if (size == NULL)
		return B_BAD_VALUE;
	*size = static_cast<off_t>(fData.size());
	return B_OK;
}

void BMallocIO::SetBlockSize(size_t blockSize)
{
	fBlockSize = std::max<size_t>(blockSize, 1);
}

const void* BMallocIO::Buffer() const
{
	return fData.empty() ? NULL : fData.data();
}

size_t BMallocIO::BufferLength() const
{
	return fData.size();
}

// Capacity grows by whole blocks so that a stream written piece by piece is
// not reallocated on every write.
status_t BMallocIO::_Resize(size_t length)
{
	try {
		if (length > fData.capacity()) {
			size_t blocks = length / fBlockSize + (length % fBlockSize != 0);
			size_t capacity;
			if (__builtin_mul_overflow(blocks, fBlockSize, &capacity))
				capacity = length;
			fData.reserve(capacity);
		}
		fData.resize(length);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	} catch (const std::length_error&) {
		return B_NO_MEMORY;
	}
	return B_OK;
}
