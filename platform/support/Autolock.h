#ifndef _AUTOLOCK_H
#define _AUTOLOCK_H

#include <Locker.h>
#include <Looper.h>

// Holds a lock or a looper's lock for the lifetime of the object. Check
// IsLocked() where locking can fail (a looper that is gone).
class BAutolock {
public:
	explicit BAutolock(BLocker* locker)
		:
		fLocker(locker),
		fLooper(NULL),
		fIsLocked(false)
	{
		Lock();
	}

	explicit BAutolock(BLocker& locker)
		:
		BAutolock(&locker)
	{
	}

	explicit BAutolock(BLooper* looper)
		:
		fLocker(NULL),
		fLooper(looper),
		fIsLocked(false)
	{
		Lock();
	}

	~BAutolock()
	{
		Unlock();
	}

	bool IsLocked() const { return fIsLocked; }

	bool Lock()
	{
		if (!fIsLocked) {
			if (fLocker != NULL)
				fIsLocked = fLocker->Lock();
			else if (fLooper != NULL)
				fIsLocked = fLooper->Lock();
		}
		return fIsLocked;
	}

	void Unlock()
	{
		if (!fIsLocked)
			return;
		if (fLocker != NULL)
			fLocker->Unlock();
		else
			fLooper->Unlock();
		fIsLocked = false;
	}

	BAutolock(const BAutolock&) = delete;
	BAutolock& operator=(const BAutolock&) = delete;

private:
	BLocker* fLocker;
	BLooper* fLooper;
	bool fIsLocked;
};

#endif
