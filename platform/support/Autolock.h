#ifndef _AUTOLOCK_H
#define _AUTOLOCK_H

#include <Locker.h>

// Holds a lock for the lifetime of the object. Check IsLocked() where
// locking can fail.
class BAutolock {
public:
	explicit BAutolock(BLocker* locker)
		:
		fLocker(locker),
		fIsLocked(locker != NULL && locker->Lock())
	{
	}

	explicit BAutolock(BLocker& locker)
		:
		BAutolock(&locker)
	{
	}

	~BAutolock()
	{
		Unlock();
	}

	bool IsLocked() const { return fIsLocked; }

	bool Lock()
	{
		if (!fIsLocked && fLocker != NULL)
			fIsLocked = fLocker->Lock();
		return fIsLocked;
	}

	void Unlock()
	{
		if (fIsLocked) {
			fLocker->Unlock();
			fIsLocked = false;
		}
	}

	BAutolock(const BAutolock&) = delete;
	BAutolock& operator=(const BAutolock&) = delete;

private:
	BLocker* fLocker;
	bool fIsLocked;
};

#endif
