#include "DumpWriter.h"

#include <charconv>

#include <OS.h>

namespace {

// Past this much the block goes to the stream: large enough that the
// stream's own lock and buffer cost nothing per line.
const size_t kBlockSize = 64 * 1024;

// The longest "TIME PORT " prefix: a 64-bit number, a sign, two spaces and
// the letter.
const size_t kPrefixSpace = 24;

}	// namespace


TDumpWriter::TDumpWriter(FILE* stream, bool flushEachLine)
	:
	fStream(stream),
	fFlushEachLine(flushEachLine),
	fOrigin(0)
{
	fBlock.reserve(kBlockSize);
}


TDumpWriter::~TDumpWriter()
{
	std::lock_guard<std::mutex> lock(fLock);
	_WriteBlock();
	fflush(fStream);
}


void
TDumpWriter::SetOrigin(bigtime_t origin)
{
	std::lock_guard<std::mutex> lock(fLock);
	fOrigin = origin;
}


void
TDumpWriter::Write(char port, const uchar* data, size_t length)
{
	static const char kDigits[] = "0123456789abcdef";
	std::lock_guard<std::mutex> lock(fLock);
	const size_t start = fBlock.size();
	fBlock.resize(start + kPrefixSpace + 2 * length + 1);
	char* cursor = fBlock.data() + start;
	cursor = std::to_chars(cursor, cursor + kPrefixSpace,
		(long long)(system_time() - fOrigin)).ptr;
	*cursor++ = ' ';
	*cursor++ = port;
	*cursor++ = ' ';
	for (size_t i = 0; i < length; i++) {
		*cursor++ = kDigits[data[i] >> 4];
		*cursor++ = kDigits[data[i] & 0x0F];
	}
	*cursor++ = '\n';
	fBlock.resize(cursor - fBlock.data());

	if (fFlushEachLine) {
		_WriteBlock();
		fflush(fStream);
	} else if (fBlock.size() >= kBlockSize)
		_WriteBlock();
}


bool
TDumpWriter::Flush()
{
	std::lock_guard<std::mutex> lock(fLock);
	_WriteBlock();
	return fflush(fStream) == 0 && !ferror(fStream);
}


void
TDumpWriter::_WriteBlock()
{
	if (!fBlock.empty())
		fwrite(fBlock.data(), 1, fBlock.size(), fStream);
	fBlock.clear();
}
