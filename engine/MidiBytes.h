#ifndef MIDI_BYTES_H
#define MIDI_BYTES_H

#include <SupportDefs.h>

// A message beginning with this byte carries a Standard MIDI File meta
// event (a tempo change) between the output chain's stages; no device may
// ever receive one.
inline constexpr uchar kMetaEvent = 0xFF;

// The controller number of All Notes Off.
inline constexpr uchar kAllNotesOff = 123;

#endif
