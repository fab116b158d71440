#include "DumpWriter.h"

#include <OS.h>


TDumpWriter::TDumpWriter(FILE* stream, bool flushEachLine)
	:
	fStream(stream),
	fFlushEachLine(flushEachLine),
	fOrigin(0)
{
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
	fprintf(fStream, "%lld %c ", (long long)(system_time() - fOrigin), port);
	for (size_t i = 0; i < length; i++) {
		fputc(kDigits[data[i] >> 4], fStream);
		fputc(kDigits[data[i] & 0x0F], fStream);
	}
	fputc('\n', fStream);
	if (fFlushEachLine)
		fflush(fStream);
}


bool
TDumpWriter::Flush()
{
	std::lock_guard<std::mutex> lock(fLock);
	return fflush(fStream) == 0 && !ferror(fStream);
}
