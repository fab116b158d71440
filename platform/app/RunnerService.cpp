#include "RunnerService.h"

#include <algorithm>

#include <InterruptSleep.h>

namespace BPrivate {

namespace {

bigtime_t
add_time(bigtime_t time, bigtime_t interval)
{
	bigtime_t sum;
	if (__builtin_add_overflow(time, interval, &sum))
		return B_INFINITE_TIMEOUT;
	return sum;
}

}


RunnerService&
RunnerService::Default()
{
	// Never destroyed: the thread may still be asleep at exit.
	static RunnerService* service = new RunnerService;
	return *service;
}


RunnerService::RunnerService()
	:
	fNextToken(1),
	fThread(-1),
	fSleepingUntil(0)
{
}


int32
RunnerService::Add(const BMessenger& target, const BMessage& message,
	const BMessenger& replyTo, bigtime_t interval, int32 count)
{
	std::lock_guard<std::mutex> guard(fMutex);
	const bigtime_t next = add_time(system_time(), interval);
	const int32 token = fNextToken++;
	fRunners.emplace(token, Runner{target, message, replyTo, interval, count, next});
	const status_t status = _Wake(next);
	if (status != B_OK) {
		fRunners.erase(token);
		return status;
	}
	return token;
}


// The last runner gone, the thread is woken to end rather than left asleep
// until a deadline that no longer matters.
void
RunnerService::Remove(int32 token)
{
	std::lock_guard<std::mutex> guard(fMutex);
	fRunners.erase(token);
	if (fRunners.empty() && fThread >= 0)
		interrupt_sleep(fThread);
}


status_t
RunnerService::SetInterval(int32 token, bigtime_t interval)
{
	if (interval <= 0)
		return B_BAD_VALUE;
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fRunners.find(token);
	if (found == fRunners.end() || found->second.count == 0)
		return B_BAD_VALUE;
	found->second.interval = interval;
	found->second.next = add_time(system_time(), interval);
	return _Wake(found->second.next);
}


status_t
RunnerService::SetCount(int32 token, int32 count)
{
	if (count == 0 || count < -1)
		return B_BAD_VALUE;
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fRunners.find(token);
	if (found == fRunners.end() || found->second.count == 0)
		return B_BAD_VALUE;
	found->second.count = count;
	return B_OK;
}


status_t
RunnerService::GetInfo(int32 token, bigtime_t* interval, int32* count)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fRunners.find(token);
	if (found == fRunners.end() || found->second.count == 0)
		return B_BAD_VALUE;
	if (interval != NULL)
		*interval = found->second.interval;
	if (count != NULL)
		*count = found->second.count;
	return B_OK;
}


status_t
RunnerService::_Wake(bigtime_t deadline)
{
	if (fThread >= 0) {
		// A thread that has not chosen its deadline yet (fSleepingUntil 0)
		// sees the change anyway. An interrupt is kept if the thread is on
		// its way to sleep, so the change cannot slip past it.
		if (deadline < fSleepingUntil)
			return interrupt_sleep(fThread);
		return B_OK;
	}
	const thread_id thread = spawn_thread(_Thread, "message runner",
		B_URGENT_DISPLAY_PRIORITY, this);
	if (thread < B_OK)
		return thread;
	fThread = thread;
	fSleepingUntil = 0;
	return resume_thread(thread);
}


// The clock is not asked once no runner is left: a test's clock may be gone
// as soon as the last runner has been removed.
status_t
RunnerService::_Thread(void* data)
{
	RunnerService* self = static_cast<RunnerService*>(data);
	std::unique_lock<std::mutex> lock(self->fMutex);
	for (;;) {
		const bigtime_t next = self->fRunners.empty()
			? B_INFINITE_TIMEOUT : self->_SendDue(system_time());
		if (next == B_INFINITE_TIMEOUT) {
			self->fThread = -1;
			return B_OK;
		}
		self->fSleepingUntil = next;
		lock.unlock();
		snooze_until(next, B_SYSTEM_TIMEBASE);
		lock.lock();
	}
}


// Sends what is due at `now`, one message per runner; returns the earliest
// deadline left. Sending happens under the lock, so a runner removed by
// another thread cannot send afterwards; posting never blocks.
bigtime_t
RunnerService::_SendDue(bigtime_t now)
{
	bigtime_t earliest = B_INFINITE_TIMEOUT;
	for (auto& [token, runner] : fRunners) {
		if (runner.count != 0 && runner.next <= now) {
			if (runner.target.SendMessage(&runner.message, runner.replyTo)
					== B_BAD_HANDLER) {
				runner.count = 0;
			} else {
				if (runner.count > 0)
					runner.count--;
				runner.next = add_time(runner.next, runner.interval);
			}
		}
		if (runner.count != 0)
			earliest = std::min(earliest, runner.next);
	}
	return earliest;
}

}
