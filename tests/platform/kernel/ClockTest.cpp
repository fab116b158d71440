#include <Clock.h>

#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include <Locker.h>
#include <OS.h>
#include <RealClock.h>
#include <SteppedClock.h>
#include <VirtualClock.h>

#include "Watchdog.h"

namespace {

// Installs a clock for one test and puts the previous one back.
class ClockTest : public ::testing::Test {
protected:
	void Install(BClock* clock) { fPrevious = set_current_clock(clock); }
	void TearDown() override
	{
		if (fPrevious != NULL)
			set_current_clock(fPrevious);
	}

	Watchdog fWatchdog;
	BClock* fPrevious = NULL;
};

// Wake-ups as the sleeping threads saw them: who woke, and the time it read
// on waking.
struct WakeLog {
	void Add(int tag)
	{
		std::lock_guard<std::mutex> lock(fLock);
		fTags.push_back(tag);
		fTimes.push_back(system_time());
	}

	std::vector<int> Tags()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fTags;
	}

	std::vector<bigtime_t> Times()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fTimes;
	}

	std::mutex fLock;
	std::vector<int> fTags;
	std::vector<bigtime_t> fTimes;
};

struct Sleeper {
	WakeLog* log;
	int tag;
	std::vector<bigtime_t> deadlines;
};

status_t sleep_through(void* data)
{
	Sleeper* sleeper = static_cast<Sleeper*>(data);
	for (bigtime_t deadline : sleeper->deadlines) {
		snooze_until(deadline, B_SYSTEM_TIMEBASE);
		sleeper->log->Add(sleeper->tag);
	}
	return B_OK;
}

thread_id start_sleeper(Sleeper* sleeper)
{
	thread_id thread = spawn_thread(sleep_through, "sleeper", B_NORMAL_PRIORITY, sleeper);
	resume_thread(thread);
	return thread;
}

TEST_F(ClockTest, SteppedClockWakesSleepersInDeadlineOrderOnlyWhenAdvanced)
{
	BSteppedClock clock;
	Install(&clock);
	WakeLog log;
	Sleeper late{&log, 3, {300}}, early{&log, 1, {100}}, middle{&log, 2, {200}};
	thread_id threads[] = {start_sleeper(&late), start_sleeper(&early), start_sleeper(&middle)};
	ASSERT_TRUE(clock.WaitForSleepers(3, 10000000));
	EXPECT_EQ(clock.NextDeadline(), 100);

	EXPECT_EQ(clock.AdvanceTo(99), B_OK);
	EXPECT_TRUE(log.Tags().empty());
	EXPECT_EQ(clock.CountSleepers(), 3);

	EXPECT_EQ(clock.AdvanceTo(250), B_OK);
	EXPECT_EQ(log.Tags(), (std::vector<int>{1, 2}));
	EXPECT_EQ(log.Times(), (std::vector<bigtime_t>{100, 200}));
	EXPECT_EQ(clock.Now(), 250);
	EXPECT_EQ(clock.NextDeadline(), 300);

	EXPECT_EQ(clock.Advance(50), B_OK);
	EXPECT_EQ(log.Tags(), (std::vector<int>{1, 2, 3}));
	EXPECT_EQ(clock.NextDeadline(), B_INFINITE_TIMEOUT);
	for (thread_id thread : threads)
		EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
}

// One advance over several deadlines of the same thread runs each step at
// its own time, as real time with an ideal scheduler would.
TEST_F(ClockTest, SteppedClockRunsEveryStepOfALongAdvanceAtItsDeadline)
{
	BSteppedClock clock(1000);
	Install(&clock);
	WakeLog log;
	Sleeper sequencer{&log, 0, {1000, 1010, 1010, 1500, 2000, 2500}};
	thread_id thread = start_sleeper(&sequencer);
	ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));

	EXPECT_EQ(clock.AdvanceTo(2000), B_OK);
	EXPECT_EQ(log.Times(), (std::vector<bigtime_t>{1000, 1010, 1010, 1500, 2000}));
	EXPECT_EQ(clock.NextDeadline(), 2500);

	EXPECT_EQ(clock.Advance(500), B_OK);
	EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(log.Times().back(), 2500);
}

TEST_F(ClockTest, SteppedClockWakesEqualDeadlinesInTheOrderTheySlept)
{
	BSteppedClock clock;
	Install(&clock);
	WakeLog log;
	Sleeper first{&log, 1, {100}}, second{&log, 2, {100}};
	thread_id threads[2];
	threads[0] = start_sleeper(&first);
	ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));
	threads[1] = start_sleeper(&second);
	ASSERT_TRUE(clock.WaitForSleepers(2, 10000000));

	EXPECT_EQ(clock.AdvanceTo(100), B_OK);
	EXPECT_EQ(log.Tags(), (std::vector<int>{1, 2}));
	for (thread_id thread : threads)
		EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
}

TEST_F(ClockTest, SteppedClockRefusesToGoBack)
{
	BSteppedClock clock(500);
	EXPECT_EQ(clock.AdvanceTo(499), B_BAD_VALUE);
	EXPECT_EQ(clock.Advance(-1), B_BAD_VALUE);
	EXPECT_EQ(clock.Now(), 500);
	EXPECT_EQ(clock.AdvanceTo(500), B_OK);
}

// A woken thread that blocks on a lock is at rest: the advance must not
// wait for it to get the lock.
TEST_F(ClockTest, SteppedClockCountsAThreadBlockedOnALockAsAtRest)
{
	BSteppedClock clock;
	Install(&clock);
	BLocker locker;
	thread_id thread = spawn_thread([](void* data) -> status_t {
		snooze_until(100, B_SYSTEM_TIMEBASE);
		BLocker* locker = static_cast<BLocker*>(data);
		locker->Lock();
		locker->Unlock();
		return B_OK;
	}, "blocked", B_NORMAL_PRIORITY, &locker);
	ASSERT_TRUE(locker.Lock());
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));

	EXPECT_EQ(clock.AdvanceTo(100), B_OK);
	thread_info info;
	ASSERT_EQ(get_thread_info(thread, &info), B_OK);
	EXPECT_EQ(info.state, B_THREAD_WAITING);
	locker.Unlock();
	EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
}

TEST_F(ClockTest, DestroyedSteppedClockReleasesItsSleepersAndUninstallsItself)
{
	WakeLog log;
	Sleeper sleeper{&log, 1, {1000000}};
	thread_id thread;
	{
		BSteppedClock clock;
		Install(&clock);
		thread = start_sleeper(&sleeper);
		ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));
	}
	EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(log.Tags(), (std::vector<int>{1}));
	EXPECT_NE(dynamic_cast<BRealClock*>(current_clock()), nullptr);
}

TEST_F(ClockTest, VirtualClockJumpsToEachDeadline)
{
	BVirtualClock clock(1000);
	Install(&clock);
	EXPECT_EQ(system_time(), 1000);
	EXPECT_EQ(snooze(500), B_OK);
	EXPECT_EQ(system_time(), 1500);
	EXPECT_EQ(snooze_until(1200, B_SYSTEM_TIMEBASE), B_OK);
	EXPECT_EQ(system_time(), 1500);
	EXPECT_EQ(snooze_until(5000, B_SYSTEM_TIMEBASE), B_OK);
	EXPECT_EQ(system_time(), 5000);
	EXPECT_EQ(snooze(B_INFINITE_TIMEOUT), B_OK);
	EXPECT_EQ(system_time(), B_INFINITE_TIMEOUT);
}

TEST_F(ClockTest, RealClockSleepsUntilTheDeadline)
{
	BClock* clock = current_clock();
	ASSERT_NE(dynamic_cast<BRealClock*>(clock), nullptr);
	bigtime_t deadline = system_time() + 2000;
	EXPECT_EQ(snooze_until(deadline, B_SYSTEM_TIMEBASE), B_OK);
	EXPECT_GE(system_time(), deadline);

	bigtime_t start = system_time();
	EXPECT_EQ(snooze(1000), B_OK);
	EXPECT_GE(system_time(), start + 1000);
	EXPECT_EQ(snooze(-5), B_OK);
}

TEST_F(ClockTest, OnlyTheSystemTimebaseExists)
{
	EXPECT_EQ(snooze_until(0, 1), B_BAD_VALUE);
}

TEST_F(ClockTest, InstallingReturnsThePreviousClock)
{
	BVirtualClock first, second;
	BClock* real = set_current_clock(&first);
	EXPECT_NE(dynamic_cast<BRealClock*>(real), nullptr);
	EXPECT_EQ(set_current_clock(&second), &first);
	EXPECT_EQ(set_current_clock(NULL), &second);
	EXPECT_EQ(current_clock(), real);
}

}	// namespace
