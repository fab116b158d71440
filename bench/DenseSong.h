#ifndef _DENSE_SONG_H
#define _DENSE_SONG_H

#include <cstddef>

#include "../tests/engine/SMFBuilder.h"

// A format 1 song of about `bytes` bytes shaped like busy real files: most
// events lean on running status (three bytes each), a fresh status byte now
// and then, a few ticks between events.
inline smf::Bytes
DenseSong(size_t bytes, int trackCount = 16)
{
	std::vector<smf::Track> tracks(trackCount);
	size_t perTrack = bytes / trackCount;
	for (int t = 0; t < trackCount; t++) {
		smf::Track& track = tracks[t];
		track.Name(0, "dense");
		uint8_t channel = t % 16;
		for (size_t i = 0; track.Body().size() + 8 < perTrack; i++) {
			uint8_t note = 36 + i % 48;
			uint32_t delta = i % 4 == 0 ? 1 + t % 3 : 0;
			if (i % 32 == 0)
				track.NoteOn(delta, channel, note, 90);
			else
				track.Event(delta, {note, uint8_t(i % 2 ? 0 : 90)});
		}
		track.End();
	}
	return smf::File(tracks, 480);
}

#endif
