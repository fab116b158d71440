#include <VirtualClock.h>

#include "private/ThreadRecord.h"

BVirtualClock::BVirtualClock(bigtime_t start)
	:
	fNow(start)
{
}

bigtime_t BVirtualClock::Now()
{
	return fNow.load();
}

void BVirtualClock::SleepUntil(bigtime_t deadline)
{
	std::shared_ptr<BPrivate::ThreadRecord> self = BPrivate::ThreadRecord::Current();
	self->ThrowIfEndRequested();
	// An interrupted sleep ends before its deadline: time stays.
	if (!self->BeginSleep())
		return;
	bigtime_t now = fNow.load();
	while (now < deadline && !fNow.compare_exchange_weak(now, deadline)) {
	}
	self->EndSleep();
}
