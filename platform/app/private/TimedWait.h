#ifndef _TIMED_WAIT_H
#define _TIMED_WAIT_H

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <BlockingWait.h>
#include <SupportDefs.h>

namespace BPrivate {

// Waits on `condition` until `ready()` holds or `timeout` µs of real time
// have passed (B_INFINITE_TIMEOUT: no limit); false on timeout. The thread
// counts as blocked meanwhile, so a stepped test clock does not wait for it.
template<typename Predicate>
bool
timed_wait(std::condition_variable& condition,
	std::unique_lock<std::mutex>& lock, bigtime_t timeout, Predicate ready)
{
	if (ready())
		return true;
	BlockingWait blocked;
	// Beyond a few centuries a timeout is as good as infinite, and the
	// conversion to a duration cannot overflow.
	constexpr bigtime_t kForever = (bigtime_t)1 << 52;
	if (timeout >= kForever) {
		condition.wait(lock, ready);
		return true;
	}
	return condition.wait_for(lock,
		std::chrono::microseconds(timeout < 0 ? 0 : timeout), ready);
}

}

#endif
