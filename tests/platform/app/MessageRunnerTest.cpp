#include <MessageRunner.h>

#include <gtest/gtest.h>

#include <Clock.h>
#include <Looper.h>
#include <Message.h>
#include <SteppedClock.h>

#include "MessageRecorder.h"

namespace {

// Runners on the stepped clock: time moves only when the test advances it,
// and Advance() returns once the runner thread has sent what was due.
class MessageRunnerTest : public testing::Test {
protected:
	void SetUp() override
	{
		fPrevious = set_current_clock(&clock);
		looper = new RecordingLooper(log);
		looper->Run();
		target = BMessenger(looper);
	}

	void TearDown() override
	{
		quit_looper(looper);
		set_current_clock(fPrevious);
	}

	// The runner thread is asleep on the clock, so the next Advance wakes it
	// at its deadline rather than racing it.
	void AwaitRunnerAsleep()
	{
		ASSERT_TRUE(clock.WaitForSleepers(1, 10000000));
	}

	// How many ticks have been dispatched: a marker posted now comes after
	// every tick the runner has already sent.
	size_t Ticks()
	{
		looper->PostMessage('mark');
		EXPECT_TRUE(log.WaitForCountOf('mark', ++fMarkers));
		size_t ticks = 0;
		for (uint32 what : log.Whats())
			ticks += what == 'tick';
		return ticks;
	}

	Watchdog watchdog;
	BSteppedClock clock;
	MessageLog log;
	BLooper* looper;
	BMessenger target;
	BMessage tick{'tick'};

private:
	BClock* fPrevious;
	size_t fMarkers = 0;
};


TEST_F(MessageRunnerTest, FirstMessageComesOneIntervalAfterCreation)
{
	BMessageRunner runner(target, &tick, 1000);
	ASSERT_EQ(runner.InitCheck(), B_OK);
	AwaitRunnerAsleep();

	ASSERT_EQ(clock.Advance(999), B_OK);
	EXPECT_EQ(Ticks(), 0u);
	ASSERT_EQ(clock.Advance(1), B_OK);
	EXPECT_EQ(Ticks(), 1u);
	// Unlimited: one message per interval, also over a long step.
	ASSERT_EQ(clock.Advance(3000), B_OK);
	EXPECT_EQ(Ticks(), 4u);
}


TEST_F(MessageRunnerTest, CountLimitsTheMessages)
{
	BMessageRunner once(target, &tick, 1000, 1);
	BMessageRunner twice(target, &tick, 1000, 2);
	AwaitRunnerAsleep();

	ASSERT_EQ(clock.Advance(5000), B_OK);
	EXPECT_EQ(Ticks(), 3u);
	EXPECT_EQ(once.GetInfo(NULL, NULL), B_BAD_VALUE);
	EXPECT_EQ(twice.SetInterval(10), B_BAD_VALUE);
}


TEST_F(MessageRunnerTest, SetIntervalRearmsFromNow)
{
	BMessageRunner runner(target, &tick, 1000);
	AwaitRunnerAsleep();
	ASSERT_EQ(clock.Advance(600), B_OK);

	// Parked far away, then armed again: the countdown starts afresh.
	ASSERT_EQ(runner.SetInterval(0x7fffffff), B_OK);
	ASSERT_EQ(runner.SetInterval(1000), B_OK);
	AwaitRunnerAsleep();
	ASSERT_EQ(clock.Advance(999), B_OK);
	EXPECT_EQ(Ticks(), 0u);
	ASSERT_EQ(clock.Advance(1), B_OK);
	EXPECT_EQ(Ticks(), 1u);

	bigtime_t interval = 0;
	int32 count = 0;
	ASSERT_EQ(runner.GetInfo(&interval, &count), B_OK);
	EXPECT_EQ(interval, 1000);
	EXPECT_EQ(count, -1);
}


// The runner thread asleep until 5000 is woken for a runner due earlier;
// once the constructor returns, it sleeps to the earlier deadline.
TEST_F(MessageRunnerTest, EarlierRunnerCutsTheSleepShort)
{
	BMessageRunner late(target, &tick, 5000, 1);
	AwaitRunnerAsleep();
	ASSERT_EQ(clock.Advance(500), B_OK);
	BMessageRunner early(target, &tick, 1000, 1);
	AwaitRunnerAsleep();
	EXPECT_EQ(clock.NextDeadline(), 1500);

	ASSERT_EQ(clock.Advance(1000), B_OK);
	EXPECT_EQ(Ticks(), 1u);
	EXPECT_EQ(clock.NextDeadline(), 5000);
	ASSERT_EQ(clock.AdvanceTo(5000), B_OK);
	EXPECT_EQ(Ticks(), 2u);
}


TEST_F(MessageRunnerTest, ParkedRunnerFiresOnlyAtItsDistantDeadline)
{
	BMessageRunner runner(target, &tick, 0x7fffffff);
	AwaitRunnerAsleep();
	ASSERT_EQ(clock.Advance(0x7fffffff - 1), B_OK);
	EXPECT_EQ(Ticks(), 0u);
	ASSERT_EQ(clock.Advance(1), B_OK);
	EXPECT_EQ(Ticks(), 1u);
}


TEST_F(MessageRunnerTest, DeletingTheRunnerCancelsIt)
{
	BMessageRunner* runner = new BMessageRunner(target, &tick, 1000);
	BMessageRunner keeper(target, &tick, 5000, 1);
	AwaitRunnerAsleep();
	delete runner;

	ASSERT_EQ(clock.Advance(4000), B_OK);
	EXPECT_EQ(Ticks(), 0u);
	ASSERT_EQ(clock.Advance(1000), B_OK);
	EXPECT_EQ(Ticks(), 1u);
}


TEST_F(MessageRunnerTest, RunnerStopsWhenItsTargetIsGone)
{
	MessageLog otherLog;
	BLooper* other = new RecordingLooper(otherLog, "other");
	other->Run();
	BMessageRunner runner(BMessenger(other), &tick, 1000);
	AwaitRunnerAsleep();
	quit_looper(other);

	ASSERT_EQ(clock.Advance(1000), B_OK);
	EXPECT_EQ(runner.GetInfo(NULL, NULL), B_BAD_VALUE);
}


TEST(MessageRunnerArgumentsTest, BadArgumentsAreRefused)
{
	BMessage tick('tick');
	EXPECT_EQ(BMessageRunner(BMessenger(), NULL, 1000).InitCheck(),
		B_BAD_VALUE);
	EXPECT_EQ(BMessageRunner(BMessenger(), &tick, 0).InitCheck(), B_BAD_VALUE);
	EXPECT_EQ(BMessageRunner(BMessenger(), &tick, 1000, 0).InitCheck(),
		B_BAD_VALUE);
	EXPECT_EQ(BMessageRunner(BMessenger(), &tick, 1000, -2).InitCheck(),
		B_BAD_VALUE);
}

}
