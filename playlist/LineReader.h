#ifndef LINE_READER_H
#define LINE_READER_H

// Reads a list file line by line, for the built-in loader and for add-ons
// alike; it needs nothing but POSIX, so add-ons may use it.
//
// The line rules are those of the framework's line file: a line ends at a
// line feed (not kept); at most kLineBufferSize - 1 bytes form a line, and
// the rest of a longer line is read as the next one; a carriage return
// ending the stored bytes is removed; the bytes before the end of the file
// form the last line. Unlike the line file it reads in blocks, so a list of
// ten thousand entries costs a few system calls, not one per byte.

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SupportDefs.h>

class TLineReader {
public:
	// A line buffer of the original holds this many bytes with its zero.
	static const size_t kLineBufferSize = 2048;

	TLineReader() : fFile(-1), fStart(0), fEnd(0) {}
	~TLineReader() { Close(); }
	TLineReader(const TLineReader&) = delete;
	TLineReader& operator=(const TLineReader&) = delete;

	// Opens a regular file for reading; anything else (a folder, a pipe, a
	// device that never ends) is refused without blocking.
	bool Open(const std::string& path)
	{
		Close();
		fFile = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
		if (fFile < 0)
			return false;
		struct stat status;
		if (fstat(fFile, &status) != 0 || !S_ISREG(status.st_mode)) {
			Close();
			return false;
		}
		return true;
	}

	void Close()
	{
		if (fFile >= 0)
			close(fFile);
		fFile = -1;
		fStart = fEnd = 0;
	}

	// Replaces `line` with the next line, every byte as it stands. Returns
	// the number of bytes consumed, the line feed included: 0 only at the
	// end of the file.
	int32 ReadLine(std::string* line)
	{
		line->clear();
		int32 consumed = 0;
		while (line->size() < kLineBufferSize - 1) {
			if (fStart == fEnd && !_Fill())
				break;
			const char c = fBuffer[fStart++];
			consumed++;
			if (c == '\n')
				break;
			line->push_back(c);
		}
		if (!line->empty() && line->back() == '\r')
			line->pop_back();
		return consumed;
	}

private:
	bool _Fill()
	{
		if (fFile < 0)
			return false;
		ssize_t count;
		do
			count = read(fFile, fBuffer, sizeof(fBuffer));
		while (count < 0 && errno == EINTR);
		fStart = 0;
		fEnd = count > 0 ? static_cast<size_t>(count) : 0;
		return fEnd > 0;
	}

	int fFile;
	size_t fStart;
	size_t fEnd;
	char fBuffer[16384];
};

#endif
