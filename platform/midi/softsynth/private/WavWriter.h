#ifndef _WAV_WRITER_H
#define _WAV_WRITER_H

#include <cstdio>
#include <vector>

#include <SupportDefs.h>

namespace BPrivate {

// Writes 16-bit PCM into a RIFF WAV file. The header goes out first with
// empty sizes and is patched by Close(), so a file cut short by a crash is
// still recognisable as WAV. Not thread-safe; the renderer serialises calls.
class WavWriter {
public:
	WavWriter();
	~WavWriter();

	WavWriter(const WavWriter&) = delete;
	WavWriter& operator=(const WavWriter&) = delete;

	// Creates or truncates `path`; when it cannot, the status comes from
	// errno, which is left as the system set it.
	status_t Open(const char* path, uint32 frameRate, uint16 channelCount);
	// `samples` interleaved, frames × channel count of them. B_NOT_ALLOWED
	// once the data would pass the format's 4 GiB limit; what was written
	// before stays a valid file.
	status_t Write(const int16* samples, size_t frames);
	// Patches the sizes and closes; the first error of the whole file, if any.
	status_t Close();

	bool IsOpen() const { return fFile != NULL; }
	uint64 CountFrames() const { return fFrames; }

private:
	status_t _WriteHeader(uint32 dataSize);
	status_t _Fail(status_t error);

	FILE* fFile;
	uint32 fFrameRate;
	uint16 fChannelCount;
	uint64 fFrames;
	status_t fError;
	// The little-endian bytes of one Write(), kept to spare an allocation.
	std::vector<uint8> fBytes;
};

}	// namespace BPrivate

#endif
