#include "PlayThread.h"

#include <algorithm>

#include <sys/prctl.h>

#include "SMFProducer.h"

namespace {

const int32 kPlayThreadPriority = B_URGENT_PRIORITY;


bigtime_t
add_saturating(bigtime_t time, bigtime_t gap)
{
	bigtime_t sum;
	return __builtin_add_overflow(time, gap, &sum) ? INT64_MAX : sum;
}

}	// namespace


TPlayThread::TPlayThread(TSMFProducer* song, uint32 startTick,
	bigtime_t startGap)
	:
	pelkan::TThread("PlayThread", kPlayThreadPriority),
	fCurrentTick(startTick),
	fSong(song),
	fStartGap(startGap),
	fStarted(false),
	fHalted(false),
	fLeftLoop(false),
	fDeadline(0)
{
}


TPlayThread::~TPlayThread()
{
	// The body uses this object's members: it must be over before they go.
	kill_thread(Thread());
}


status_t
TPlayThread::Execute()
{
	// Timer slack would make every wake-up up to 50 µs late.
	prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

	bigtime_t deadline = add_saturating(system_time(), fStartGap);
	for (;;) {
		{
			std::lock_guard<std::mutex> lock(fLock);
			fStarted = true;
			fDeadline = deadline;
		}
		// Halt and Stop end the thread inside this sleep.
		snooze_until(deadline, B_SYSTEM_TIMEBASE);

		uint32 wait;
		if (!fSong->_Step(this, &wait))
			break;
		deadline = add_saturating(deadline, fSong->_TicksToTime(wait));
	}

	{
		std::lock_guard<std::mutex> lock(fLock);
		fLeftLoop = true;
		if (fHalted)
			return B_OK;
	}
	fSong->Invoke();
	return B_OK;
}


bool
TPlayThread::Halt()
{
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (fLeftLoop)
			return false;
		fHalted = true;
	}
	kill_thread(Thread());
	return true;
}


bigtime_t
TPlayThread::RemainingGap(bigtime_t now)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (!fStarted)
		return fStartGap;
	return std::max<bigtime_t>(0, fDeadline - now);
}
