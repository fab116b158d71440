#include "PKNFile.h"

#include <algorithm>
#include <cstring>

using pelkan::TPKNFile;

namespace {

// Large enough that a playlist of thousands of lines takes a few reads.
const size_t kReadAheadSize = 16 * 1024;

}


int32
TPKNFile::ReadLine(char* buffer, int32 size)
{
	if (size <= 0)
		return 0;
	const size_t room = static_cast<size_t>(size) - 1;
	size_t stored = 0;
	while (stored < room && (_ReadAheadLeft() > 0 || _ReadAhead())) {
		const char* start = fReadAhead.get() + fReadAheadStart;
		const size_t available = std::min(_ReadAheadLeft(), room - stored);
		const char* lineFeed = static_cast<const char*>(memchr(start, '\n', available));
		const size_t taken = lineFeed != NULL ? size_t(lineFeed - start) : available;
		memcpy(buffer + stored, start, taken);
		stored += taken;
		fReadAheadStart += taken;
		if (lineFeed != NULL) {
			fReadAheadStart++;
			break;
		}
	}
	buffer[stored] = '\0';
	if (stored > 0 && buffer[stored - 1] == '\r')
		buffer[stored - 1] = '\0';
	return static_cast<int32>(stored);
}


status_t
TPKNFile::WriteLine(const char* text)
{
	const size_t length = strlen(text);
	if (Write(text, length) != static_cast<ssize_t>(length))
		return B_IO_ERROR;
	if (Write("\n", 1) != 1)
		return B_IO_ERROR;
	return B_OK;
}


// Bytes read ahead were in the file when they were read; only without them
// is the file asked for its size.
bool
TPKNFile::Eof() const
{
	if (_ReadAheadLeft() > 0)
		return false;
	off_t size = 0;
	if (GetSize(&size) != B_OK)
		return true;
	return Position() >= size;
}


ssize_t
TPKNFile::Read(void* buffer, size_t size)
{
	const size_t served = std::min(size, _ReadAheadLeft());
	if (served > 0) {
		memcpy(buffer, fReadAhead.get() + fReadAheadStart, served);
		fReadAheadStart += served;
		if (served == size)
			return static_cast<ssize_t>(served);
	}
	const ssize_t read = BFile::Read(static_cast<char*>(buffer) + served, size - served);
	if (read < 0)
		return served > 0 ? static_cast<ssize_t>(served) : read;
	return static_cast<ssize_t>(served) + read;
}


ssize_t
TPKNFile::Write(const void* buffer, size_t size)
{
	const status_t status = _ForgetReadAhead();
	if (status != B_OK)
		return status;
	return BFile::Write(buffer, size);
}


ssize_t
TPKNFile::WriteAt(off_t location, const void* buffer, size_t size)
{
	const status_t status = _ForgetReadAhead();
	if (status != B_OK)
		return status;
	return BFile::WriteAt(location, buffer, size);
}


off_t
TPKNFile::Seek(off_t offset, uint32 seekMode)
{
	const status_t status = _ForgetReadAhead();
	if (status != B_OK)
		return status;
	return BFile::Seek(offset, seekMode);
}


off_t
TPKNFile::Position() const
{
	const off_t position = BFile::Position();
	if (position < 0)
		return position;
	return position - static_cast<off_t>(_ReadAheadLeft());
}


status_t
TPKNFile::SetSize(off_t size)
{
	const status_t status = _ForgetReadAhead();
	if (status != B_OK)
		return status;
	return BFile::SetSize(size);
}


void
TPKNFile::Unset()
{
	fReadAheadStart = fReadAheadEnd = 0;
	BFile::Unset();
}


bool
TPKNFile::_ReadAhead()
{
	if (!fReadAhead)
		fReadAhead = std::make_unique<char[]>(kReadAheadSize);
	const ssize_t read = BFile::Read(fReadAhead.get(), kReadAheadSize);
	fReadAheadStart = 0;
	fReadAheadEnd = read > 0 ? static_cast<size_t>(read) : 0;
	return fReadAheadEnd > 0;
}


// Moves the file's position back over the bytes read ahead but not handed
// out, and forgets them: they may be about to change.
status_t
TPKNFile::_ForgetReadAhead()
{
	const size_t left = _ReadAheadLeft();
	fReadAheadStart = fReadAheadEnd = 0;
	if (left == 0)
		return B_OK;
	const off_t position = BFile::Seek(-static_cast<off_t>(left), SEEK_CUR);
	return position < 0 ? static_cast<status_t>(position) : B_OK;
}
