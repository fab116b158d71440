#ifndef HEARD_EVENTS_H
#define HEARD_EVENTS_H

#include <algorithm>
#include <ostream>
#include <vector>

#include <MidiRecordingConsumer.h>
#include <SystemResets.h>

typedef std::vector<uchar> Bytes;

// One message a device heard, at its time after a start.
struct Heard {
	bigtime_t when;
	Bytes data;

	bool operator==(const Heard& other) const = default;
};


inline void
PrintTo(const Heard& heard, std::ostream* stream)
{
	*stream << "{" << heard.when << ":";
	for (uchar byte : heard.data)
		*stream << " " << std::hex << int(byte) << std::dec;
	*stream << "}";
}


inline std::vector<Heard>
heard_since(const BMidiRecordingConsumer* device, bigtime_t start)
{
	std::vector<Heard> heard;
	for (const auto& event : device->Events())
		heard.push_back({event.arrival - start, event.data});
	return heard;
}


// The mask bits of the resets.
const int32 kGM = 1;
const int32 kGS = 2;
const int32 k88 = 4;
const int32 kXG = 8;


// The System Exclusive message of a reset's mask bit as a device hears it.
inline Bytes
reset_bytes(int32 mask)
{
	for (const TSystemReset* reset : kSystemResets) {
		if (reset->mask == mask) {
			Bytes bytes(reset->length + 2);
			bytes.front() = 0xF0;
			std::copy(reset->data, reset->data + reset->length, bytes.begin() + 1);
			bytes.back() = 0xF7;
			return bytes;
		}
	}
	return {};
}

#endif
