#include "PlayThread.h"

#include <algorithm>
#include <thread>

#include <sys/prctl.h>

#include <InterruptSleep.h>

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


TPlayThread::TPlayThread(TSMFProducer* song)
	:
	pelkan::TThread("PlayThread", kPlayThreadPriority),
	fCurrentTick(0),
	fSong(song),
	fHoldRequest(false),
	fLeftLoop(false)
{
}


TPlayThread::~TPlayThread()
{
	// The body uses this object's members: it must be over before they go.
	// kill_thread returns once it is.
	kill_thread(Thread());
}


status_t
TPlayThread::Execute()
{
	// Timer slack would make every wake-up up to 50 µs late.
	prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);

	bigtime_t deadline = system_time();
	for (;;) {
		deadline = _SleepUntil(deadline);
		uint32 wait;
		if (!fSong->_Step(this, &wait))
			break;
		deadline = add_saturating(deadline, fSong->_TicksToTime(wait));
	}

	{
		std::lock_guard<std::mutex> lock(fLock);
		fLeftLoop = true;
	}
	fCondition.notify_all();
	fSong->Invoke();
	return B_OK;
}


void
TPlayThread::Hold()
{
	if (IsSuspended())
		return;
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (fLeftLoop)
			return;
		fHoldRequest = true;
	}
	BPrivate::interrupt_sleep(Thread());
	{
		std::unique_lock<std::mutex> lock(fLock);
		fCondition.wait(lock, [this] { return !fHoldRequest || fLeftLoop; });
		if (fLeftLoop) {
			fHoldRequest = false;
			return;
		}
	}
	// The thread has taken the request; only its step into suspend_thread
	// is left, so waiting for it is short.
	while (!IsSuspended() && !IsTerminated())
		std::this_thread::yield();
}


void
TPlayThread::Wake()
{
	BPrivate::interrupt_sleep(Thread());
}


bigtime_t
TPlayThread::_SleepUntil(bigtime_t deadline)
{
	for (;;) {
		if (_HoldRequested())
			deadline = _Suspend(deadline);
		// What was left of the old gap, paused or not, no longer applies.
		if (fSong->_SeekPending())
			return system_time();
		if (system_time() >= deadline)
			return deadline;
		// Returns early for Hold and Wake, and once more after a resume for
		// one that came while the thread was awake.
		snooze_until(deadline, B_SYSTEM_TIMEBASE);
	}
}


bool
TPlayThread::_HoldRequested()
{
	std::lock_guard<std::mutex> lock(fLock);
	return fHoldRequest;
}


bigtime_t
TPlayThread::_Suspend(bigtime_t deadline)
{
	bigtime_t left = std::max<bigtime_t>(0, deadline - system_time());
	{
		std::lock_guard<std::mutex> lock(fLock);
		fHoldRequest = false;
	}
	fCondition.notify_all();
	// A resume that comes before the thread got there is kept by the
	// platform, so the thread cannot stay suspended for good.
	suspend_thread(find_thread(NULL));
	return add_saturating(system_time(), left);
}
