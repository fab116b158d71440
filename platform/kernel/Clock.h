#ifndef _CLOCK_H
#define _CLOCK_H

#include <SupportDefs.h>

// The time source behind system_time, snooze and snooze_until. The program
// runs on the real clock; tests and offline rendering install a virtual one
// so that time-dependent code runs without waiting.
//
// Every sleep is an interruptible wait of the kernel layer: a thread whose
// end kill_thread requested never returns from SleepUntil (see OS.h), and
// BPrivate::interrupt_sleep ends a sleep early (see InterruptSleep.h).
class BClock {
public:
	virtual ~BClock();

	virtual bigtime_t Now() = 0;
	// Returns at once when the deadline has passed.
	virtual void SleepUntil(bigtime_t deadline) = 0;
};

// Never NULL: the real clock unless another one was installed.
BClock* current_clock();
// Installs `clock` (NULL: the real clock) and returns the previous one. The
// caller keeps ownership and restores the previous clock before destroying
// its own. Threads already asleep finish that sleep on the clock they began
// it on.
BClock* set_current_clock(BClock* clock);

#endif
