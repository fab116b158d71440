#include <Locker.h>

#include <future>
#include <thread>

#include <gtest/gtest.h>

#include <Autolock.h>
#include <Looper.h>
#include <OS.h>

#include "../kernel/Watchdog.h"

namespace {

// What another thread sees of the lock.
struct Probe {
	status_t tryStatus;
	bool isLocked;
};

Probe probe_from_other_thread(BLocker& locker)
{
	return std::async(std::launch::async, [&locker] {
		Probe probe{locker.LockWithTimeout(0), false};
		probe.isLocked = locker.IsLocked();
		if (probe.tryStatus == B_OK)
			locker.Unlock();
		return probe;
	}).get();
}

TEST(LockerTest, OwnerLocksRecursivelyAndMustUnlockAsOften)
{
	Watchdog watchdog;
	BLocker locker("recursive");
	EXPECT_STREQ(locker.Name(), "recursive");
	EXPECT_EQ(locker.LockingThread(), -1);

	ASSERT_TRUE(locker.Lock());
	ASSERT_TRUE(locker.Lock());
	EXPECT_EQ(locker.CountLocks(), 2);
	EXPECT_TRUE(locker.IsLocked());
	EXPECT_EQ(locker.LockingThread(), find_thread(NULL));

	Probe held = probe_from_other_thread(locker);
	EXPECT_EQ(held.tryStatus, B_WOULD_BLOCK);
	EXPECT_FALSE(held.isLocked);

	locker.Unlock();
	EXPECT_EQ(probe_from_other_thread(locker).tryStatus, B_WOULD_BLOCK);
	EXPECT_EQ(locker.CountLocks(), 1);

	locker.Unlock();
	EXPECT_FALSE(locker.IsLocked());
	EXPECT_EQ(probe_from_other_thread(locker).tryStatus, B_OK);
}

TEST(LockerTest, UnlockByAnotherThreadIsIgnored)
{
	Watchdog watchdog;
	BLocker locker;
	ASSERT_TRUE(locker.Lock());
	std::async(std::launch::async, [&locker] { locker.Unlock(); }).get();
	EXPECT_EQ(locker.CountLocks(), 1);
	EXPECT_TRUE(locker.IsLocked());
	locker.Unlock();
	locker.Unlock();
	EXPECT_EQ(locker.CountLocks(), 0);
}

TEST(LockerTest, TimedLockExpiresWhileAnotherThreadHoldsIt)
{
	Watchdog watchdog;
	BLocker locker;
	ASSERT_TRUE(locker.Lock());
	status_t status = std::async(std::launch::async, [&locker] {
		return locker.LockWithTimeout(1000);
	}).get();
	EXPECT_EQ(status, B_TIMED_OUT);
	locker.Unlock();
}

TEST(LockerTest, WaiterGetsTheLockWhenTheOwnerReleasesIt)
{
	Watchdog watchdog;
	BLocker locker;
	ASSERT_TRUE(locker.Lock());
	std::promise<thread_id> waiterId;
	std::future<bool> waiter = std::async(std::launch::async, [&] {
		waiterId.set_value(find_thread(NULL));
		bool locked = locker.Lock();
		bool owned = locker.IsLocked() && locker.CountLocks() == 1;
		locker.Unlock();
		return locked && owned;
	});
	thread_id waiting = waiterId.get_future().get();
	ASSERT_TRUE(eventually([&] {
		thread_info info;
		return get_thread_info(waiting, &info) == B_OK && info.state == B_THREAD_WAITING;
	}));
	locker.Unlock();
	EXPECT_TRUE(waiter.get());
	EXPECT_EQ(locker.LockingThread(), -1);
}

// Thread-local objects of a thread end in reverse order of construction;
// this one is built before the layer's own, so it ends after them and its
// destructor runs when the layer already let go of the thread.
struct LateUser {
	~LateUser()
	{
		if (locker->Lock()) {
			*lockedLate = locker->IsLocked() && locker->CountLocks() == 1;
			locker->Unlock();
		}
	}

	BLocker* locker = NULL;
	bool* lockedLate = NULL;
};

TEST(LockerTest, WorksInAThreadsLastMoments)
{
	Watchdog watchdog;
	BLocker locker;
	bool lockedLate = false;
	std::thread([&] {
		thread_local LateUser user;
		user.locker = &locker;
		user.lockedLate = &lockedLate;
		EXPECT_GT(find_thread(NULL), 0);
	}).join();
	EXPECT_TRUE(lockedLate);
	EXPECT_EQ(locker.CountLocks(), 0);
}

TEST(AutolockTest, HoldsTheLockForItsScope)
{
	BLocker locker;
	{
		BAutolock outer(locker);
		EXPECT_TRUE(outer.IsLocked());
		BAutolock inner(&locker);
		EXPECT_EQ(locker.CountLocks(), 2);
		inner.Unlock();
		EXPECT_FALSE(inner.IsLocked());
		EXPECT_EQ(locker.CountLocks(), 1);
	}
	EXPECT_EQ(locker.CountLocks(), 0);

	BAutolock none(static_cast<BLocker*>(NULL));
	EXPECT_FALSE(none.IsLocked());
	EXPECT_FALSE(none.Lock());
}

TEST(AutolockTest, HoldsALoopersLock)
{
	BLooper* looper = new BLooper("autolocked");
	looper->Unlock();
	{
		BAutolock lock(looper);
		EXPECT_TRUE(lock.IsLocked());
		EXPECT_TRUE(looper->IsLocked());
	}
	EXPECT_FALSE(looper->IsLocked());
	ASSERT_TRUE(looper->Lock());
	looper->Quit();
}

}	// namespace
