#include <SteppedClock.h>

#include <algorithm>

#include "private/ThreadRecord.h"

using BPrivate::ThreadRecord;
using BPrivate::ThreadState;

namespace {

// How long a woken thread may take to come to rest before Advance reports
// a fault. Only a thread that keeps running without sleeping or blocking
// in the layer reaches it.
const bigtime_t kRestTimeout = 5000000;

// Longer waits would overflow the clock's nanoseconds; this is centuries.
const bigtime_t kLongestWait = bigtime_t(1) << 52;

}	// namespace

BSteppedClock::BSteppedClock(bigtime_t start)
	:
	fNow(start),
	fNextSequence(0),
	fThreadsInside(0)
{
}

BSteppedClock::~BSteppedClock()
{
	// A clock left installed would be used after its end; the real clock
	// takes over, also for the sleepers woken below that sleep again.
	if (current_clock() == this)
		set_current_clock(NULL);
	std::lock_guard<std::mutex> advancing(fAdvanceLock);
	std::unique_lock<std::mutex> lock(fLock);
	while (!fSleepers.empty())
		_WakeFirst();
	fCondition.wait(lock, [this] { return fThreadsInside == 0; });
}

bigtime_t BSteppedClock::Now()
{
	std::lock_guard<std::mutex> lock(fLock);
	return fNow;
}

void BSteppedClock::SleepUntil(bigtime_t deadline)
{
	std::shared_ptr<ThreadRecord> self = ThreadRecord::Current();
	self->ThrowIfEndRequested();
	std::unique_lock<std::mutex> lock(fLock);
	// Under the clock's lock, so that an interrupter that finds the thread
	// in its sleep also finds it listed, and returns only once it is not.
	if (!self->BeginSleep())
		return;
	if (deadline <= fNow) {
		self->EndSleep();
		return;
	}
	SleeperKey key(deadline, fNextSequence++);
	fSleepers.emplace(key, self);
	fThreadsInside++;
	self->SetState(ThreadState::kAsleep);
	fCondition.notify_all();
	lock.unlock();

	self->WaitForWake(B_INFINITE_TIMEOUT);

	lock.lock();
	// Still listed only when kill_thread or interrupt_sleep, not the clock,
	// woke the thread.
	if (fSleepers.erase(key) > 0)
		self->SetState(ThreadState::kRunning);
	fThreadsInside--;
	fCondition.notify_all();
	self->EndSleep();
	lock.unlock();
	self->ThrowIfEndRequested();
}

status_t BSteppedClock::AdvanceTo(bigtime_t time)
{
	std::lock_guard<std::mutex> advancing(fAdvanceLock);
	std::unique_lock<std::mutex> lock(fLock);
	if (time < fNow)
		return B_BAD_VALUE;
	status_t status = B_OK;
	while (!fSleepers.empty() && fSleepers.begin()->first.first <= time) {
		std::shared_ptr<ThreadRecord> woken = _WakeFirst();
		lock.unlock();
		if (!BPrivate::wait_until_at_rest(*woken, kRestTimeout))
			status = B_TIMED_OUT;
		lock.lock();
	}
	fNow = time;
	return status;
}

status_t BSteppedClock::Advance(bigtime_t microseconds)
{
	if (microseconds < 0)
		return B_BAD_VALUE;
	bigtime_t target;
	if (__builtin_add_overflow(Now(), microseconds, &target))
		target = B_INFINITE_TIMEOUT;
	return AdvanceTo(target);
}

int32 BSteppedClock::CountSleepers()
{
	std::lock_guard<std::mutex> lock(fLock);
	return static_cast<int32>(fSleepers.size());
}

bigtime_t BSteppedClock::NextDeadline()
{
	std::lock_guard<std::mutex> lock(fLock);
	return fSleepers.empty() ? B_INFINITE_TIMEOUT : fSleepers.begin()->first.first;
}

bool BSteppedClock::WaitForSleepers(int32 count, bigtime_t timeout)
{
	std::unique_lock<std::mutex> lock(fLock);
	bigtime_t limit = std::min(timeout, kLongestWait);
	return fCondition.wait_for(lock, std::chrono::microseconds(limit), [&] {
		return static_cast<int32>(fSleepers.size()) >= count;
	});
}

// The thread is marked running before it is woken, so that waiting for it
// to come to rest cannot mistake its old sleep for a new one.
std::shared_ptr<ThreadRecord> BSteppedClock::_WakeFirst()
{
	auto first = fSleepers.begin();
	fNow = std::max(fNow, first->first.first);
	std::shared_ptr<ThreadRecord> woken = std::move(first->second);
	fSleepers.erase(first);
	woken->SetState(ThreadState::kRunning);
	woken->Wake();
	return woken;
}
