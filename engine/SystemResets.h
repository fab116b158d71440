#ifndef _SYSTEM_RESETS_H
#define _SYSTEM_RESETS_H

#include <SupportDefs.h>

// A system reset message: its System Exclusive body, without the F0 and the
// F7 the MIDI kit adds, and the bit that stands for it in the reset
// preference and in the note managers' "SysReset" notification.
struct TSystemReset {
	const uchar* data;
	size_t length;
	int32 mask;
};

extern const TSystemReset MIDI_NRT_GM_SYSTEM_ON;
extern const TSystemReset MIDI_NRT_GS_SYSTEM_ON;
extern const TSystemReset MIDI_NRT_88_SYSTEM_ON;
extern const TSystemReset MIDI_NRT_XG_SYSTEM_ON;

const int32 kSystemResetCount = 4;
// GM, GS, 88, XG: the order in which they are recognised and sent.
extern const TSystemReset* const kSystemResets[kSystemResetCount];

// The mask bit of the first reset whose body `data` starts with, 0 if none.
int32 system_reset_mask(const void* data, size_t length);

#endif
