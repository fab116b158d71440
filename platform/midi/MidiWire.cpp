#include "MidiWire.h"

#include <algorithm>

#include <MidiDefs.h>

namespace {

const uchar kTempoMeta = 0x51;
const uchar kTempoDataLength = 3;
const int64 kMicrosecondsPerMinute = 60000000;
const int64 kLargestTempo = 0xffffff;

}


bool
midi_wire::encode_tempo(int32 beatsPerMinute, uchar message[kTempoLength])
{
	if (beatsPerMinute <= 0)
		return false;

	int64 tempo = std::clamp<int64>(
		(kMicrosecondsPerMinute + beatsPerMinute / 2) / beatsPerMinute, 1,
		kLargestTempo);
	message[0] = B_SYSTEM_RESET;
	message[1] = kTempoMeta;
	message[2] = kTempoDataLength;
	message[3] = tempo >> 16;
	message[4] = tempo >> 8;
	message[5] = tempo;
	return true;
}


bool
midi_wire::decode_tempo(const uchar* data, size_t length,
	int32* beatsPerMinute)
{
	if (length != kTempoLength || data[0] != B_SYSTEM_RESET
		|| data[1] != kTempoMeta || data[2] != kTempoDataLength)
		return false;

	int64 tempo = (int64(data[3]) << 16) | (data[4] << 8) | data[5];
	if (tempo == 0)
		return false;
	// Rounded both ways, so that every bpm from 4 to 7811 survives the trip
	// through whole microseconds.
	*beatsPerMinute = (kMicrosecondsPerMinute + tempo / 2) / tempo;
	return true;
}
