#ifndef _VIRTUAL_CLOCK_H
#define _VIRTUAL_CLOCK_H

#include <atomic>

#include <Clock.h>

// Free-running virtual time for offline rendering: a sleep moves the clock
// to its deadline at once, so a sequencer runs as fast as it can while its
// deadlines keep their exact spacing.
class BVirtualClock : public BClock {
public:
	explicit BVirtualClock(bigtime_t start = 0);

	bigtime_t Now() override;
	void SleepUntil(bigtime_t deadline) override;

private:
	std::atomic<bigtime_t> fNow;
};

#endif
