#include "SystemResets.h"

#include <cstring>

namespace {

const uchar kGMSystemOn[] = {0x7E, 0x7F, 0x09, 0x01};
const uchar kGSReset[] = {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00,
	0x41};
const uchar k88SystemModeSet[] = {0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F,
	0x00, 0x01};
const uchar kXGSystemOn[] = {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00};

}	// namespace


const TSystemReset MIDI_NRT_GM_SYSTEM_ON
	= {kGMSystemOn, sizeof(kGMSystemOn), 1};
const TSystemReset MIDI_NRT_GS_SYSTEM_ON = {kGSReset, sizeof(kGSReset), 2};
const TSystemReset MIDI_NRT_88_SYSTEM_ON
	= {k88SystemModeSet, sizeof(k88SystemModeSet), 4};
const TSystemReset MIDI_NRT_XG_SYSTEM_ON
	= {kXGSystemOn, sizeof(kXGSystemOn), 8};

const TSystemReset* const kSystemResets[kSystemResetCount] = {
	&MIDI_NRT_GM_SYSTEM_ON,
	&MIDI_NRT_GS_SYSTEM_ON,
	&MIDI_NRT_88_SYSTEM_ON,
	&MIDI_NRT_XG_SYSTEM_ON
};


int32
system_reset_mask(const void* data, size_t length)
{
	if (data == NULL)
		return 0;
	for (const TSystemReset* reset : kSystemResets) {
		if (length >= reset->length
			&& memcmp(data, reset->data, reset->length) == 0)
			return reset->mask;
	}
	return 0;
}
