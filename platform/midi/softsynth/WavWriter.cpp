#include "WavWriter.h"

#include <cerrno>
#include <cstdint>
#include <vector>

namespace BPrivate {

namespace {

const uint32 kHeaderSize = 44;
const uint16 kBitsPerSample = 16;
const uint16 kFormatPCM = 1;


void
put16(std::vector<uint8>& bytes, uint16 value)
{
	bytes.push_back(value & 0xff);
	bytes.push_back(value >> 8);
}


void
put32(std::vector<uint8>& bytes, uint32 value)
{
	put16(bytes, value & 0xffff);
	put16(bytes, value >> 16);
}


void
put_tag(std::vector<uint8>& bytes, const char (&tag)[5])
{
	bytes.insert(bytes.end(), tag, tag + 4);
}

}	// namespace


WavWriter::WavWriter()
	:
	fFile(NULL),
	fFrameRate(0),
	fChannelCount(0),
	fFrames(0),
	fError(B_OK)
{
}


WavWriter::~WavWriter()
{
	Close();
}


status_t
WavWriter::Open(const char* path, uint32 frameRate, uint16 channelCount)
{
	if (fFile != NULL)
		return B_NOT_ALLOWED;
	if (path == NULL || path[0] == '\0' || frameRate == 0 || channelCount == 0)
		return B_BAD_VALUE;

	fFile = fopen(path, "wb");
	if (fFile == NULL)
		return status_from_errno(errno);
	fFrameRate = frameRate;
	fChannelCount = channelCount;
	fFrames = 0;
	fError = B_OK;
	if (_WriteHeader(0) == B_OK && fflush(fFile) != 0)
		_Fail(status_from_errno(errno));
	if (fError != B_OK) {
		fclose(fFile);
		fFile = NULL;
	}
	return fError;
}


status_t
WavWriter::Write(const int16* samples, size_t frames)
{
	if (fFile == NULL)
		return B_NO_INIT;
	if (fError != B_OK)
		return fError;

	uint64 frameSize = uint64(fChannelCount) * sizeof(int16);
	if ((fFrames + frames) * frameSize > UINT32_MAX - kHeaderSize)
		return B_NOT_ALLOWED;

	fBytes.clear();
	for (size_t i = 0; i < frames * fChannelCount; i++)
		put16(fBytes, uint16(samples[i]));
	if (fwrite(fBytes.data(), 1, fBytes.size(), fFile) != fBytes.size())
		return _Fail(status_from_errno(errno));
	fFrames += frames;
	return B_OK;
}


status_t
WavWriter::Close()
{
	if (fFile == NULL)
		return fError;

	uint32 dataSize = fFrames * fChannelCount * sizeof(int16);
	if (fError == B_OK && fseek(fFile, 0, SEEK_SET) != 0)
		_Fail(status_from_errno(errno));
	if (fError == B_OK)
		_WriteHeader(dataSize);
	if (fclose(fFile) != 0 && fError == B_OK)
		fError = status_from_errno(errno);
	fFile = NULL;
	return fError;
}


status_t
WavWriter::_WriteHeader(uint32 dataSize)
{
	uint16 blockAlign = fChannelCount * sizeof(int16);
	std::vector<uint8> header;
	put_tag(header, "RIFF");
	put32(header, kHeaderSize - 8 + dataSize);
	put_tag(header, "WAVE");
	put_tag(header, "fmt ");
	put32(header, 16);
	put16(header, kFormatPCM);
	put16(header, fChannelCount);
	put32(header, fFrameRate);
	put32(header, fFrameRate * blockAlign);
	put16(header, blockAlign);
	put16(header, kBitsPerSample);
	put_tag(header, "data");
	put32(header, dataSize);

	if (fwrite(header.data(), 1, header.size(), fFile) != header.size())
		return _Fail(status_from_errno(errno));
	return B_OK;
}


status_t
WavWriter::_Fail(status_t error)
{
	// A short write without errno set still is a failure.
	if (fError == B_OK)
		fError = error != B_OK ? error : B_IO_ERROR;
	return fError;
}

}	// namespace BPrivate
