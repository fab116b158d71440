#ifndef _BLOCKING_WAIT_H
#define _BLOCKING_WAIT_H

#include <memory>

namespace BPrivate {

class ThreadRecord;
enum class ThreadState;

// Marks the calling thread as blocked for the lifetime of the object, so
// that a stepped test clock counts it as at rest (see SteppedClock.h) and
// get_thread_info reports B_THREAD_WAITING. Kits wrap their own blocking
// waits in one: a looper waiting for messages, a lock waiting for its owner.
// Such waits are not interrupted by kill_thread.
class BlockingWait {
public:
	BlockingWait();
	~BlockingWait();

	BlockingWait(const BlockingWait&) = delete;
	BlockingWait& operator=(const BlockingWait&) = delete;

private:
	std::shared_ptr<ThreadRecord> fRecord;
	ThreadState fPreviousState;
};

}	// namespace BPrivate

#endif
