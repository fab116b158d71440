#include <RealClock.h>

#include <ctime>

#include "private/ThreadRecord.h"

using BPrivate::ThreadRecord;
using BPrivate::ThreadState;

bigtime_t BRealClock::Now()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return static_cast<bigtime_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// A futex wait rather than clock_nanosleep, so that kill_thread and
// interrupt_sleep can wake the sleeper; its deadline is absolute on
// CLOCK_MONOTONIC too.
void BRealClock::SleepUntil(bigtime_t deadline)
{
	std::shared_ptr<ThreadRecord> self = ThreadRecord::Current();
	self->ThrowIfEndRequested();
	if (!self->BeginSleep())
		return;
	if (deadline > Now()) {
		self->SetState(ThreadState::kAsleep);
		self->WaitForWake(deadline);
		self->SetState(ThreadState::kRunning);
	}
	self->EndSleep();
	self->ThrowIfEndRequested();
}
