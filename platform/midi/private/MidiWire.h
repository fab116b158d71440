#ifndef _MIDI_WIRE_H
#define _MIDI_WIRE_H

#include <SupportDefs.h>

// The kit's private wire form of a tempo change: the Standard MIDI File meta
// event FF 51 03 followed by microseconds per quarter note, 24 bits,
// big-endian. A backend that plays the bytes recognises it by its FF.
namespace midi_wire {

const size_t kTempoLength = 6;

// False for a bpm <= 0, which has no tempo.
bool encode_tempo(int32 beatsPerMinute, uchar message[kTempoLength]);
bool decode_tempo(const uchar* data, size_t length, int32* beatsPerMinute);

}

#endif
