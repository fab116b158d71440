#ifndef PKN_FILE_H
#define PKN_FILE_H

#include <memory>

#include <File.h>

namespace pelkan {

// A file read and written line by line.
//
// Lines are read from a block read ahead. Every other operation on the
// object sees the file as if only the lines handed out had been read:
// Position and Eof leave the bytes read ahead out, Read hands them out
// first, and Seek, Write, WriteAt and SetSize set the file's position back
// to the end of the last line before they act.
class TPKNFile : public BFile {
public:
	using BFile::BFile;
	// A copy would share the file's position but not the block read ahead.
	TPKNFile(const TPKNFile&) = delete;
	TPKNFile& operator=(const TPKNFile&) = delete;

	// Reads up to a line feed (not kept) or until size - 1 bytes are stored,
	// and zero-terminates them; a carriage return ending the stored bytes is
	// removed. Returns the number of bytes stored, a removed carriage return
	// included. The rest of a longer line is read by the next call.
	int32 ReadLine(char* buffer, int32 size);
	// Writes the text and one line feed.
	status_t WriteLine(const char* text);
	// The position is at or past the end of the file.
	bool Eof() const;

	ssize_t Read(void* buffer, size_t size) override;
	ssize_t Write(const void* buffer, size_t size) override;
	ssize_t WriteAt(off_t location, const void* buffer, size_t size) override;
	off_t Seek(off_t offset, uint32 seekMode) override;
	off_t Position() const override;
	status_t SetSize(off_t size) override;
	void Unset() override;

private:
	size_t _ReadAheadLeft() const { return fReadAheadEnd - fReadAheadStart; }
	bool _ReadAhead();
	status_t _ForgetReadAhead();

	std::unique_ptr<char[]> fReadAhead;
	size_t fReadAheadStart = 0;
	size_t fReadAheadEnd = 0;
};

}

#endif
