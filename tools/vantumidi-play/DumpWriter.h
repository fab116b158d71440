#ifndef DUMP_WRITER_H
#define DUMP_WRITER_H

#include <cstdio>
#include <mutex>
#include <vector>

#include <SupportDefs.h>

// Writes the --dump lines "TIME_US PORT HEX": the clock's time relative to
// an origin the player sets for each song, the port letter and the message
// bytes in lower-case hex. Messages come from the play thread and the main
// thread; each line is written whole.
//
// Lines are gathered in a block and the stream gets whole blocks: a song of
// a million events prints as fast as it plays on virtual time.
class TDumpWriter {
public:
	// On real time each line is written and flushed at once, for whoever
	// watches it.
	TDumpWriter(FILE* stream, bool flushEachLine);
	// Writes what is gathered; a failure then is no longer reported.
	~TDumpWriter();

	TDumpWriter(const TDumpWriter&) = delete;
	TDumpWriter& operator=(const TDumpWriter&) = delete;

	void SetOrigin(bigtime_t origin);
	void Write(char port, const uchar* data, size_t length);
	// False once a write failed (a closed pipe, a full disk).
	bool Flush();

private:
	// Called with the lock held.
	void _WriteBlock();

	std::mutex fLock;
	FILE* const fStream;
	const bool fFlushEachLine;
	bigtime_t fOrigin;
	std::vector<char> fBlock;
};

#endif
