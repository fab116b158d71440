#ifndef _LOCKER_H
#define _LOCKER_H

#include <condition_variable>
#include <mutex>
#include <string>

#include <SupportDefs.h>

// A recursive lock: the thread that holds it may lock it again and must
// unlock it as often. Waiting for it is a blocking wait of the layer (a
// stepped test clock counts the waiter as at rest), not one that
// kill_thread interrupts.
class BLocker {
public:
	BLocker();
	explicit BLocker(const char* name);
	explicit BLocker(bool benaphoreStyle);
	BLocker(const char* name, bool benaphoreStyle);
	virtual ~BLocker();

	status_t InitCheck() const;

	bool Lock();
	// `timeout` in microseconds of real time; B_INFINITE_TIMEOUT waits for
	// good. B_WOULD_BLOCK when a zero timeout finds the lock taken,
	// B_TIMED_OUT when a longer one expires.
	status_t LockWithTimeout(bigtime_t timeout);
	// Ignored when the calling thread does not hold the lock.
	void Unlock();

	const char* Name() const;
	// -1 while nobody holds the lock.
	thread_id LockingThread() const;
	// Whether the calling thread holds the lock.
	bool IsLocked() const;
	int32 CountLocks() const;

private:
	BLocker(const BLocker&) = delete;
	BLocker& operator=(const BLocker&) = delete;

	std::string fName;
	mutable std::mutex fLock;
	std::condition_variable fReleased;
	thread_id fOwner;
	int32 fCount;
};

#endif
