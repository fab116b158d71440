#ifndef DUMP_WRITER_H
#define DUMP_WRITER_H

#include <cstdio>
#include <mutex>

#include <SupportDefs.h>

// Writes the --dump lines "TIME_US PORT HEX": the clock's time relative to
// an origin the player sets for each song, the port letter and the message
// bytes in lower-case hex. Messages come from the play thread and the main
// thread; each line is written whole.
class TDumpWriter {
public:
	// On real time each line is flushed at once, for whoever watches it.
	TDumpWriter(FILE* stream, bool flushEachLine);

	void SetOrigin(bigtime_t origin);
	void Write(char port, const uchar* data, size_t length);
	// False once a write failed (a closed pipe, a full disk).
	bool Flush();

private:
	std::mutex fLock;
	FILE* const fStream;
	const bool fFlushEachLine;
	bigtime_t fOrigin;
};

#endif
