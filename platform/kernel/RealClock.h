#ifndef _REAL_CLOCK_H
#define _REAL_CLOCK_H

#include <Clock.h>

// CLOCK_MONOTONIC in microseconds; sleeps to absolute deadlines on the same
// clock, so a deadline computed from Now() is never missed by drift.
class BRealClock : public BClock {
public:
	bigtime_t Now() override;
	void SleepUntil(bigtime_t deadline) override;
};

#endif
