#ifndef _MIDI_DEFS_H
#define _MIDI_DEFS_H

#include <SupportDefs.h>

// Status bytes of the MIDI wire protocol. Channel messages carry the channel
// (0..15) in the low four bits.
enum {
	B_NOTE_OFF = 0x80,
	B_NOTE_ON = 0x90,
	B_KEY_PRESSURE = 0xa0,
	B_CONTROL_CHANGE = 0xb0,
	B_PROGRAM_CHANGE = 0xc0,
	B_CHANNEL_PRESSURE = 0xd0,
	B_PITCH_BEND = 0xe0
};

enum {
	B_SYS_EX_START = 0xf0,
	B_MIDI_TIME_CODE = 0xf1,
	B_SONG_POSITION = 0xf2,
	B_SONG_SELECT = 0xf3,
	B_TUNE_REQUEST = 0xf6,
	B_SYS_EX_END = 0xf7,
	B_TIMING_CLOCK = 0xf8,
	B_START = 0xfa,
	B_CONTINUE = 0xfb,
	B_STOP = 0xfc,
	B_ACTIVE_SENSING = 0xfe,
	B_SYSTEM_RESET = 0xff
};

// The roster's notifications to its watcher: what = B_MIDI_EVENT, "be:op" one
// of BMidiOp.
#define B_MIDI_EVENT 'MIDI'

enum BMidiOp {
	B_MIDI_NO_OP,
	B_MIDI_REGISTERED,
	B_MIDI_UNREGISTERED,
	B_MIDI_CONNECTED,
	B_MIDI_DISCONNECTED,
	B_MIDI_CHANGED_NAME,
	B_MIDI_CHANGED_LATENCY,
	B_MIDI_CHANGED_PROPERTIES
};

#endif
