#include <gtest/gtest.h>

#include <atomic>

#include <OS.h>
#include <SteppedClock.h>

#include "Thread.h"

namespace {

const bigtime_t kWatchdog = 5000000;

// Counts its runs; sleeps on the clock when asked to, so a test can end it
// in the middle of its body.
class CountingThread : public pelkan::TThread {
public:
	CountingThread(std::atomic<int>* runs, std::atomic<int>* finishedBodies,
		bigtime_t sleepUntil = -1)
		:
		pelkan::TThread("counting", B_NORMAL_PRIORITY),
		fRuns(runs),
		fFinishedBodies(finishedBodies),
		fSleepUntil(sleepUntil)
	{
	}

	~CountingThread() override
	{
		kill_thread(Thread());
	}

	status_t Execute() override
	{
		(*fRuns)++;
		if (fSleepUntil >= 0)
			snooze_until(fSleepUntil, B_SYSTEM_TIMEBASE);
		(*fFinishedBodies)++;
		return 7;
	}

private:
	std::atomic<int>* fRuns;
	std::atomic<int>* fFinishedBodies;
	bigtime_t fSleepUntil;
};

}	// namespace


TEST(ThreadTest, StartsSuspendedAndRunsOnResume)
{
	std::atomic<int> runs = 0;
	std::atomic<int> finished = 0;
	CountingThread thread(&runs, &finished);
	EXPECT_TRUE(thread.IsSuspended());
	EXPECT_FALSE(thread.IsTerminated());
	EXPECT_EQ(0, runs);
	ASSERT_TRUE(thread.Resume());
	EXPECT_TRUE(thread.Wait());
	EXPECT_EQ(1, runs);
	EXPECT_TRUE(thread.IsTerminated());
	EXPECT_TRUE(thread.Terminate());
}


TEST(ThreadTest, DeletingEndsTheBodyAtItsSleep)
{
	BSteppedClock clock(0);
	BClock* previous = set_current_clock(&clock);
	std::atomic<int> runs = 0;
	std::atomic<int> finished = 0;
	{
		CountingThread never(&runs, &finished);
	}
	EXPECT_EQ(0, runs);

	auto sleeper = std::make_unique<CountingThread>(&runs, &finished, 1000);
	ASSERT_TRUE(sleeper->Resume());
	ASSERT_TRUE(clock.WaitForSleepers(1, kWatchdog));
	sleeper.reset();
	EXPECT_EQ(1, runs);
	EXPECT_EQ(0, finished);
	EXPECT_EQ(0, clock.CountSleepers());
	set_current_clock(previous);
}


TEST(ThreadTest, AutoDeleteFreesItselfAfterItsBody)
{
	std::atomic<int> runs = 0;
	std::atomic<int> finished = 0;
	CountingThread* thread = new CountingThread(&runs, &finished);
	thread->SetAutoDelete(true);
	thread_id id = thread->Thread();
	ASSERT_TRUE(thread->Resume());
	status_t result = 0;
	wait_for_thread(id, &result);
	EXPECT_EQ(1, finished);
	EXPECT_EQ(7, result);
}


TEST(ThreadTest, SetNameRenamesThePlatformThread)
{
	std::atomic<int> runs = 0;
	std::atomic<int> finished = 0;
	CountingThread thread(&runs, &finished);
	EXPECT_TRUE(thread.SetName("renamed"));
	thread_info info;
	ASSERT_EQ(B_OK, get_thread_info(thread.Thread(), &info));
	EXPECT_STREQ("renamed", info.name);
}
