#ifndef PKN_FILE_H
#define PKN_FILE_H

#include <File.h>

namespace pelkan {

// A file read and written line by line.
class TPKNFile : public BFile {
public:
	using BFile::BFile;

	// Reads up to a line feed (not kept) or until size - 1 bytes are stored,
	// and zero-terminates them; a carriage return ending the stored bytes is
	// removed. Returns the number of bytes stored, a removed carriage return
	// included. The rest of a longer line is read by the next call.
	int32 ReadLine(char* buffer, int32 size);
	// Writes the text and one line feed.
	status_t WriteLine(const char* text);
	// The position is at or past the end of the file.
	bool Eof() const;
};

}

#endif
