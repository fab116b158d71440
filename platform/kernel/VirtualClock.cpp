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
	BPrivate::ThreadRecord::Current()->ThrowIfEndRequested();
	bigtime_t now = fNow.load();
	while (now < deadline && !fNow.compare_exchange_weak(now, deadline)) {
	}
}
