#include <Locker.h>

#include <OS.h>
#include <TimedWait.h>

namespace {

const thread_id kNoOwner = -1;

}	// namespace

BLocker::BLocker()
	:
	BLocker("some BLocker", true)
{
}

BLocker::BLocker(const char* name)
	:
	BLocker(name, true)
{
}

BLocker::BLocker(bool benaphoreStyle)
	:
	BLocker("some BLocker", benaphoreStyle)
{
}

// The benaphore style was a speed trade-off of the original kernel; here
// every lock is the same.
BLocker::BLocker(const char* name, bool)
	:
	fName(name != NULL ? name : ""),
	fOwner(kNoOwner),
	fCount(0)
{
}

BLocker::~BLocker() = default;

status_t BLocker::InitCheck() const
{
	return B_OK;
}

bool BLocker::Lock()
{
	return LockWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}

status_t BLocker::LockWithTimeout(bigtime_t timeout)
{
	thread_id self = find_thread(NULL);
	std::unique_lock<std::mutex> lock(fLock);
	if (fOwner != self && fOwner != kNoOwner) {
		if (timeout <= 0)
			return B_WOULD_BLOCK;
		if (!BPrivate::timed_wait(fReleased, lock, timeout,
				[this] { return fOwner == kNoOwner; }))
			return B_TIMED_OUT;
	}
	fOwner = self;
	fCount++;
	return B_OK;
}

void BLocker::Unlock()
{
	thread_id self = find_thread(NULL);
	std::lock_guard<std::mutex> lock(fLock);
	if (fOwner != self)
		return;
	if (--fCount == 0) {
		fOwner = kNoOwner;
		fReleased.notify_one();
	}
}

const char* BLocker::Name() const
{
	return fName.c_str();
}

thread_id BLocker::LockingThread() const
{
	std::lock_guard<std::mutex> lock(fLock);
	return fOwner;
}

bool BLocker::IsLocked() const
{
	thread_id self = find_thread(NULL);
	std::lock_guard<std::mutex> lock(fLock);
	return fOwner == self;
}

int32 BLocker::CountLocks() const
{
	std::lock_guard<std::mutex> lock(fLock);
	return fCount;
}
