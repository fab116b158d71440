#include <DataIO.h>

#include <cstdio>

BPositionIO::BPositionIO() = default;

BPositionIO::~BPositionIO() = default;

ssize_t BPositionIO::Read(void* buffer, size_t size)
{
	ssize_t result = ReadAt(Position(), buffer, size);
	if (result > 0)
		Seek(result, SEEK_CUR);
	return result;
}

ssize_t BPositionIO::Write(const void* buffer, size_t size)
{
	ssize_t result = WriteAt(Position(), buffer, size);
	if (result > 0)
		Seek(result, SEEK_CUR);
	return result;
}

status_t BPositionIO::SetSize(off_t)
{
	return B_ERROR;
}

// A stream that cannot say its size directly still knows where its end is;
// the position is put back afterwards. Seek is not const on the original
// platform either, so the stream is asked through a non-const view.
status_t BPositionIO::GetSize(off_t* size) const
{
	if (size == NULL)
		return B_BAD_VALUE;
	BPositionIO* self = const_cast<BPositionIO*>(this);
	off_t current = Position();
	if (current < 0)
		return static_cast<status_t>(current);
	off_t end = self->Seek(0, SEEK_END);
	if (end < 0)
		return static_cast<status_t>(end);
	self->Seek(current, SEEK_SET);
	*size = end;
	return B_OK;
}
