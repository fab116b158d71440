#ifndef _SMF_BUILDER_H
#define _SMF_BUILDER_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Builds Standard MIDI File bytes in tests, so every case states its input.
namespace smf {

typedef std::vector<uint8_t> Bytes;

inline Bytes
VarLen(uint32_t value)
{
	Bytes bytes(1, value & 0x7F);
	while (value >>= 7)
		bytes.insert(bytes.begin(), 0x80 | (value & 0x7F));
	return bytes;
}


// A track body. Each event is a delta-time followed by its bytes as given,
// so tests can also write running status and malformed events.
class Track {
public:
	Track& Event(uint32_t delta, std::initializer_list<uint8_t> bytes)
	{
		return Event(delta, Bytes(bytes));
	}

	Track& Event(uint32_t delta, const Bytes& bytes)
	{
		Append(VarLen(delta));
		Append(bytes);
		return *this;
	}

	Track& NoteOn(uint32_t delta, uint8_t channel, uint8_t note, uint8_t velocity)
	{
		return Event(delta, {uint8_t(0x90 | channel), note, velocity});
	}

	Track& NoteOff(uint32_t delta, uint8_t channel, uint8_t note)
	{
		return Event(delta, {uint8_t(0x80 | channel), note, 0});
	}

	Track& Meta(uint32_t delta, uint8_t type, const Bytes& data)
	{
		Bytes bytes = {0xFF, type};
		Bytes count = VarLen(data.size());
		bytes.insert(bytes.end(), count.begin(), count.end());
		bytes.insert(bytes.end(), data.begin(), data.end());
		return Event(delta, bytes);
	}

	Track& Name(uint32_t delta, const std::string& name)
	{
		return Meta(delta, 0x03, Bytes(name.begin(), name.end()));
	}

	Track& Tempo(uint32_t delta, uint32_t microsecondsPerQuarter)
	{
		return Meta(delta, 0x51, {uint8_t(microsecondsPerQuarter >> 16),
			uint8_t(microsecondsPerQuarter >> 8), uint8_t(microsecondsPerQuarter)});
	}

	Track& Port(uint32_t delta, uint8_t port)
	{
		return Meta(delta, 0x21, {port});
	}

	Track& SysEx(uint32_t delta, const Bytes& body)
	{
		Bytes bytes = {0xF0};
		Bytes count = VarLen(body.size());
		bytes.insert(bytes.end(), count.begin(), count.end());
		bytes.insert(bytes.end(), body.begin(), body.end());
		return Event(delta, bytes);
	}

	Track& End(uint32_t delta = 0)
	{
		return Event(delta, {0xFF, 0x2F, 0x00});
	}

	Track& Raw(const Bytes& bytes)
	{
		Append(bytes);
		return *this;
	}

	const Bytes& Body() const { return fBody; }

	// The chunk with its header; `claimedLength` overrides the body length.
	Bytes Chunk(int64_t claimedLength = -1, const char* type = "MTrk") const
	{
		uint32_t length = claimedLength < 0 ? fBody.size() : uint32_t(claimedLength);
		Bytes chunk(type, type + 4);
		for (int shift = 24; shift >= 0; shift -= 8)
			chunk.push_back(uint8_t(length >> shift));
		chunk.insert(chunk.end(), fBody.begin(), fBody.end());
		return chunk;
	}

private:
	void Append(const Bytes& bytes)
	{
		fBody.insert(fBody.end(), bytes.begin(), bytes.end());
	}

	Bytes fBody;
};


inline Bytes
Header(uint16_t format, uint16_t trackCount, uint16_t division,
	uint32_t headerLength = 6)
{
	Bytes bytes = {'M', 'T', 'h', 'd', uint8_t(headerLength >> 24),
		uint8_t(headerLength >> 16), uint8_t(headerLength >> 8),
		uint8_t(headerLength), uint8_t(format >> 8), uint8_t(format),
		uint8_t(trackCount >> 8), uint8_t(trackCount), uint8_t(division >> 8),
		uint8_t(division)};
	if (headerLength > 6)
		bytes.resize(bytes.size() + headerLength - 6, 0xEE);
	return bytes;
}


// A complete file: a format 1 header for the tracks, then their chunks.
inline Bytes
File(const std::vector<Track>& tracks, uint16_t division = 480,
	uint16_t format = 1)
{
	Bytes bytes = Header(format, tracks.size(), division);
	for (const Track& track : tracks) {
		Bytes chunk = track.Chunk();
		bytes.insert(bytes.end(), chunk.begin(), chunk.end());
	}
	return bytes;
}


inline Bytes
Concat(std::initializer_list<Bytes> parts)
{
	Bytes bytes;
	for (const Bytes& part : parts)
		bytes.insert(bytes.end(), part.begin(), part.end());
	return bytes;
}

}	// namespace smf

#endif
