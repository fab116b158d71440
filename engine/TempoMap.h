#ifndef _TEMPO_MAP_H
#define _TEMPO_MAP_H

#include <vector>

#include <SupportDefs.h>

class TSMFProducer;

// How far into a song a tick lies in time, at the normal tempo rate, through
// every Set Tempo of the song, and the other way round: what a desktop's
// "now playing" shows and seeks by. Lookups cost the logarithm of the
// song's tempo changes.
class TTempoMap {
public:
	TTempoMap();

	// Takes the tempo changes of the song `song` holds now; with no song,
	// every tick lies at time 0.
	void SetTo(const TSMFProducer& song);

	// Microseconds from the song's start.
	bigtime_t TimeAt(uint32 tick) const;
	// The first tick at or after `time` (microseconds from the start).
	uint32 TickAt(bigtime_t time) const;

private:
	// From `tick` on, until the next span, a quarter note lasts `tempo`
	// microseconds; `time` is when the span starts.
	struct Span {
		uint32 tick;
		uint32 tempo;
		bigtime_t time;
	};

	std::vector<Span> fSpans;
	uint32 fDivision;
};

#endif
