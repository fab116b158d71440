#include <InterruptSleep.h>

#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include <Clock.h>
#include <OS.h>
#include <SteppedClock.h>
#include <VirtualClock.h>

#include "Watchdog.h"

namespace {

// A thread that sleeps until 1000 and then until 2000, noting the time it
// read after each sleep.
struct TwoSleeps {
	std::mutex lock;
	std::vector<bigtime_t> woke;

	std::vector<bigtime_t> Woke()
	{
		std::lock_guard<std::mutex> guard(lock);
		return woke;
	}

	static status_t Run(void* data)
	{
		TwoSleeps* self = static_cast<TwoSleeps*>(data);
		for (bigtime_t deadline : {1000, 2000}) {
			snooze_until(deadline, B_SYSTEM_TIMEBASE);
			std::lock_guard<std::mutex> guard(self->lock);
			self->woke.push_back(system_time());
		}
		return B_OK;
	}
};

struct WakeCase {
	const char* name;
	// Interrupts given before the thread first runs; none means one is
	// given while it sleeps.
	int early;
};

class InterruptSleepTest : public ::testing::TestWithParam<WakeCase> {
protected:
	Watchdog fWatchdog;
};

// On the stepped clock: the interrupted sleep ends without time moving, and
// when interrupt_sleep returns the clock lists the thread no more, so the
// sleeper it counts next is the one of the following sleep, with its own
// deadline. Interrupts do not add up: the second sleep runs its course.
TEST_P(InterruptSleepTest, InterruptedSleepEndsAndTheNextOneRunsItsCourse)
{
	BSteppedClock clock;
	BClock* previous = set_current_clock(&clock);
	TwoSleeps sleeper;
	thread_id thread = spawn_thread(TwoSleeps::Run, "two sleeps", B_NORMAL_PRIORITY,
		&sleeper);
	ASSERT_GT(thread, 0);
	for (int i = 0; i < GetParam().early; i++)
		EXPECT_EQ(BPrivate::interrupt_sleep(thread), B_OK);
	ASSERT_EQ(resume_thread(thread), B_OK);
	if (GetParam().early == 0) {
		ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));
		EXPECT_EQ(clock.NextDeadline(), 1000);
		EXPECT_EQ(BPrivate::interrupt_sleep(thread), B_OK);
	}

	ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));
	EXPECT_EQ(clock.NextDeadline(), 2000);
	EXPECT_EQ(sleeper.Woke(), std::vector<bigtime_t>{0});
	EXPECT_EQ(clock.AdvanceTo(2000), B_OK);
	EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(sleeper.Woke(), (std::vector<bigtime_t>{0, 2000}));
	set_current_clock(previous);
}

INSTANTIATE_TEST_SUITE_P(Moments, InterruptSleepTest,
	::testing::Values(WakeCase{"DuringTheSleep", 0}, WakeCase{"BeforeTheSleep", 1},
		WakeCase{"TwiceBeforeTheSleep", 2}),
	[](const ::testing::TestParamInfo<WakeCase>& info) { return info.param.name; });


TEST(InterruptSleepClockTest, RealClockSleeperWakesLongBeforeItsDeadline)
{
	Watchdog watchdog;
	thread_id thread = spawn_thread([](void*) -> status_t {
		return snooze(3600000000LL);
	}, "long sleep", B_NORMAL_PRIORITY, NULL);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(eventually([thread] {
		thread_info info;
		return get_thread_info(thread, &info) == B_OK && info.state == B_THREAD_ASLEEP;
	}));
	EXPECT_EQ(BPrivate::interrupt_sleep(thread), B_OK);
	status_t result = B_ERROR;
	EXPECT_EQ(wait_for_thread(thread, &result), B_OK);
	EXPECT_EQ(result, B_OK);
}


TEST(InterruptSleepClockTest, VirtualClockKeepsItsTimeForAnInterruptedSleep)
{
	BVirtualClock clock(1000);
	BClock* previous = set_current_clock(&clock);
	ASSERT_EQ(BPrivate::interrupt_sleep(find_thread(NULL)), B_OK);
	EXPECT_EQ(snooze_until(5000, B_SYSTEM_TIMEBASE), B_OK);
	EXPECT_EQ(system_time(), 1000);
	EXPECT_EQ(snooze_until(5000, B_SYSTEM_TIMEBASE), B_OK);
	EXPECT_EQ(system_time(), 5000);
	set_current_clock(previous);
}


TEST(InterruptSleepClockTest, UnknownOrFinishedThreadIsRefused)
{
	Watchdog watchdog;
	EXPECT_EQ(BPrivate::interrupt_sleep(-1), B_BAD_THREAD_ID);
	thread_id thread = spawn_thread([](void*) -> status_t { return B_OK; }, "brief",
		B_NORMAL_PRIORITY, NULL);
	ASSERT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(BPrivate::interrupt_sleep(thread), B_BAD_THREAD_ID);
}

}	// namespace
