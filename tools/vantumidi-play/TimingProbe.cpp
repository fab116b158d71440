#include "TimingProbe.h"

#include <time.h>

namespace {

// The real clock, also while the song runs on virtual time: the probe
// measures how long the program took, not where the song is.
bigtime_t
real_time()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (bigtime_t)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

}	// namespace


TTimingProbe::TTimingProbe()
	:
	BMidiLocalConsumer("timing probe"),
	fFirstNoteOn(-1)
{
}


void
TTimingProbe::NoteOn(uchar, uchar, uchar velocity, bigtime_t)
{
	bigtime_t unset = -1;
	if (velocity > 0)
		fFirstNoteOn.compare_exchange_strong(unset, real_time());
}
