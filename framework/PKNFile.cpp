#include "PKNFile.h"

#include <cstring>

using pelkan::TPKNFile;

int32
TPKNFile::ReadLine(char* buffer, int32 size)
{
	if (size <= 0)
		return 0;
	int32 stored = 0;
	while (stored < size - 1 && !Eof()) {
		char c;
		if (Read(&c, 1) != 1)
			break;
		if (c == '\n')
			break;
		buffer[stored++] = c;
	}
	buffer[stored] = '\0';
	if (stored > 0 && buffer[stored - 1] == '\r')
		buffer[stored - 1] = '\0';
	return stored;
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


bool
TPKNFile::Eof() const
{
	off_t size = 0;
	if (GetSize(&size) != B_OK)
		return true;
	return Position() >= size;
}
