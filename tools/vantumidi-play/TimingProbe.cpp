#include "TimingProbe.h"

#include <OS.h>


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
		fFirstNoteOn.compare_exchange_strong(unset, system_time());
}
