#include <OS.h>

#include <atomic>
#include <cstring>
#include <future>
#include <string>

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <Clock.h>
#include <RecordedPriority.h>
#include <SteppedClock.h>

#include "Watchdog.h"

namespace {

thread_state state_of(thread_id thread)
{
	thread_info info;
	if (get_thread_info(thread, &info) != B_OK)
		return static_cast<thread_state>(0);
	return info.state;
}

bool reaches_state(thread_id thread, thread_state state)
{
	return eventually([&] { return state_of(thread) == state; });
}

// What a thread body did, shared with the test.
struct Trace {
	std::atomic<int> step{0};
	std::atomic<bool> destructorRan{false};
};

// Shows that a killed thread's stack was unwound.
struct UnwindMarker {
	explicit UnwindMarker(Trace* trace) : fTrace(trace) {}
	~UnwindMarker() { fTrace->destructorRan = true; }
	Trace* fTrace;
};

status_t count_and_return(void* data)
{
	static_cast<Trace*>(data)->step = 1;
	return 1234;
}

status_t suspend_self(void* data)
{
	Trace* trace = static_cast<Trace*>(data);
	trace->step = 1;
	suspend_thread(find_thread(NULL));
	trace->step = 2;
	return B_OK;
}

class ThreadTest : public ::testing::Test {
protected:
	Watchdog fWatchdog;
};

TEST_F(ThreadTest, SpawnedThreadRunsOnlyAfterResume)
{
	Trace trace;
	thread_id thread = spawn_thread(count_and_return, "counter", B_NORMAL_PRIORITY, &trace);
	ASSERT_GT(thread, 0);
	EXPECT_EQ(state_of(thread), B_THREAD_SUSPENDED);

	// Another thread's whole life gives the suspended one every chance to run.
	Trace other;
	thread_id second = spawn_thread(count_and_return, "other", B_NORMAL_PRIORITY, &other);
	EXPECT_GT(second, thread);
	ASSERT_EQ(resume_thread(second), B_OK);
	ASSERT_EQ(wait_for_thread(second, NULL), B_OK);
	EXPECT_EQ(trace.step, 0);
	EXPECT_EQ(state_of(thread), B_THREAD_SUSPENDED);

	ASSERT_EQ(resume_thread(thread), B_OK);
	status_t result = 0;
	ASSERT_EQ(wait_for_thread(thread, &result), B_OK);
	EXPECT_EQ(result, 1234);
	EXPECT_EQ(trace.step, 1);
}

TEST_F(ThreadTest, ResultIsCollectedOnceEvenAfterTheThreadEnded)
{
	Trace trace;
	thread_id thread = spawn_thread(count_and_return, "ender", B_NORMAL_PRIORITY, &trace);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(eventually([&] { return state_of(thread) == 0; }));

	EXPECT_EQ(kill_thread(thread), B_BAD_THREAD_ID);
	status_t result = 0;
	EXPECT_EQ(wait_for_thread(thread, &result), B_OK);
	EXPECT_EQ(result, 1234);
	EXPECT_EQ(wait_for_thread(thread, &result), B_BAD_THREAD_ID);
}

TEST_F(ThreadTest, WaitingStartsANeverResumedThread)
{
	Trace trace;
	thread_id thread = spawn_thread(count_and_return, "waited", B_NORMAL_PRIORITY, &trace);
	status_t result = 0;
	ASSERT_EQ(wait_for_thread(thread, &result), B_OK);
	EXPECT_EQ(result, 1234);
}

TEST_F(ThreadTest, ThreadSuspendsItselfUntilResumed)
{
	Trace trace;
	thread_id thread = spawn_thread(suspend_self, "pauser", B_NORMAL_PRIORITY, &trace);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(reaches_state(thread, B_THREAD_SUSPENDED));
	EXPECT_EQ(trace.step, 1);

	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(trace.step, 2);
}

// The pause handshake: the owner may resume the thread after it decided to
// suspend itself but before it got there. That resume must not be lost.
TEST_F(ThreadTest, ResumeArrivingBeforeTheSelfSuspensionIsKept)
{
	struct Gate {
		std::promise<void> open;
		std::shared_future<void> opened;
		Trace trace;
	} gate;
	gate.opened = gate.open.get_future().share();
	thread_id thread = spawn_thread([](void* data) -> status_t {
		Gate* gate = static_cast<Gate*>(data);
		gate->trace.step = 1;
		gate->opened.wait();
		suspend_thread(find_thread(NULL));
		gate->trace.step = 2;
		return B_OK;
	}, "handshake", B_NORMAL_PRIORITY, &gate);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(eventually([&] { return gate.trace.step == 1; }));

	EXPECT_EQ(resume_thread(thread), B_OK);
	gate.open.set_value();
	ASSERT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(gate.trace.step, 2);
}

// A killed sleeper must not come back to its body: a play loop that sleeps
// and then sends would otherwise send the rest of a song at once.
struct SleepCase {
	const char* name;
	bool stepped;
};

class KillSleeperTest : public ::testing::TestWithParam<SleepCase> {
protected:
	Watchdog fWatchdog;
};

status_t sleep_then_step(void* data)
{
	Trace* trace = static_cast<Trace*>(data);
	UnwindMarker marker(trace);
	trace->step = 1;
	snooze_until(system_time() + 3600000000LL, B_SYSTEM_TIMEBASE);
	trace->step = 2;
	return B_OK;
}

TEST_P(KillSleeperTest, BodyAfterTheSleepNeverRuns)
{
	BSteppedClock stepped(1000);
	BClock* previous = GetParam().stepped ? set_current_clock(&stepped) : current_clock();

	Trace trace;
	thread_id thread = spawn_thread(sleep_then_step, "sleeper", B_URGENT_PRIORITY, &trace);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(reaches_state(thread, B_THREAD_ASLEEP));
	EXPECT_EQ(resume_thread(thread), B_BAD_THREAD_STATE);

	EXPECT_EQ(kill_thread(thread), B_OK);
	EXPECT_EQ(trace.step, 1);
	EXPECT_TRUE(trace.destructorRan);
	EXPECT_EQ(state_of(thread), 0);
	EXPECT_EQ(stepped.CountSleepers(), 0);
	EXPECT_EQ(kill_thread(thread), B_BAD_THREAD_ID);

	set_current_clock(previous);
}

INSTANTIATE_TEST_SUITE_P(Clocks, KillSleeperTest,
	::testing::Values(SleepCase{"RealClock", false}, SleepCase{"SteppedClock", true}),
	[](const ::testing::TestParamInfo<SleepCase>& info) { return info.param.name; });

TEST_F(ThreadTest, KillingANeverStartedThreadSkipsItsBody)
{
	Trace trace;
	thread_id thread = spawn_thread(count_and_return, "unstarted", B_NORMAL_PRIORITY, &trace);
	EXPECT_EQ(kill_thread(thread), B_OK);
	EXPECT_EQ(trace.step, 0);
	EXPECT_EQ(wait_for_thread(thread, NULL), B_BAD_THREAD_ID);
}

TEST_F(ThreadTest, KillingASelfSuspendedThreadEndsIt)
{
	Trace trace;
	thread_id thread = spawn_thread(suspend_self, "paused", B_NORMAL_PRIORITY, &trace);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(reaches_state(thread, B_THREAD_SUSPENDED));

	EXPECT_EQ(kill_thread(thread), B_OK);
	EXPECT_EQ(trace.step, 1);
}

// A thread busy outside the layer's waits ends at its next one; kill_thread
// returns only then.
TEST_F(ThreadTest, KillingARunningThreadEndsItAtItsNextWait)
{
	struct Busy {
		std::promise<void> release;
		std::shared_future<void> released;
		Trace trace;
	} busy;
	busy.released = busy.release.get_future().share();
	thread_id thread = spawn_thread([](void* data) -> status_t {
		Busy* busy = static_cast<Busy*>(data);
		busy->trace.step = 1;
		busy->released.wait();
		snooze(0);
		busy->trace.step = 2;
		return B_OK;
	}, "busy", B_NORMAL_PRIORITY, &busy);
	ASSERT_EQ(resume_thread(thread), B_OK);
	ASSERT_TRUE(eventually([&] { return busy.trace.step == 1; }));

	std::future<status_t> killed = std::async(std::launch::async,
		[thread] { return kill_thread(thread); });
	EXPECT_EQ(killed.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
	busy.release.set_value();
	EXPECT_EQ(killed.get(), B_OK);
	EXPECT_EQ(busy.trace.step, 1);
}

TEST_F(ThreadTest, KillingItselfEndsTheThreadAtItsNextWait)
{
	Trace trace;
	thread_id thread = spawn_thread([](void* data) -> status_t {
		Trace* trace = static_cast<Trace*>(data);
		if (kill_thread(find_thread(NULL)) != B_OK)
			return B_ERROR;
		trace->step = 1;
		snooze(1000);
		trace->step = 2;
		return B_OK;
	}, "suicidal", B_NORMAL_PRIORITY, &trace);
	status_t result = B_OK;
	ASSERT_EQ(wait_for_thread(thread, &result), B_OK);
	EXPECT_EQ(trace.step, 1);
	EXPECT_EQ(result, B_INTERRUPTED);
}

TEST_F(ThreadTest, InfoNamesAndIdsDescribeTheThread)
{
	std::string longName(B_OS_NAME_LENGTH + 10, 'n');
	Trace trace;
	thread_id thread = spawn_thread(count_and_return, longName.c_str(), 42, &trace);
	thread_info info;
	ASSERT_EQ(get_thread_info(thread, &info), B_OK);
	EXPECT_EQ(info.thread, thread);
	EXPECT_EQ(info.team, getpid());
	EXPECT_EQ(std::string(info.name), longName.substr(0, B_OS_NAME_LENGTH - 1));
	EXPECT_EQ(info.priority, 42);
	EXPECT_EQ(info.state, B_THREAD_SUSPENDED);

	ASSERT_EQ(rename_thread(thread, "renamed"), B_OK);
	ASSERT_EQ(get_thread_info(thread, &info), B_OK);
	EXPECT_STREQ(info.name, "renamed");
	EXPECT_EQ(find_thread("renamed"), thread);
	EXPECT_EQ(find_thread("no such thread"), B_NAME_NOT_FOUND);
	EXPECT_EQ(rename_thread(thread, NULL), B_BAD_VALUE);

	ASSERT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(get_thread_info(thread, &info), B_BAD_THREAD_ID);
	EXPECT_EQ(rename_thread(thread, "late"), B_BAD_THREAD_ID);

	thread_id self = find_thread(NULL);
	EXPECT_GT(self, 0);
	EXPECT_EQ(find_thread(NULL), self);
	EXPECT_EQ(kill_thread(self), B_NOT_ALLOWED);
}

// The kernel keeps 15 bytes of a name; the cut falls before a multi-byte
// character rather than inside it.
TEST_F(ThreadTest, KernelNameIsCutAtACharacterBoundary)
{
	struct Names {
		std::string given;
		std::string kernel;
	};
	for (const Names& names : {
			Names{"PlayThread", "PlayThread"},
			Names{"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO"},
			Names{"ABCDEFGHIJKLMN\xc3\xa9", "ABCDEFGHIJKLMN"}}) {
		char kernelName[32] = {};
		thread_id thread = spawn_thread([](void* data) -> status_t {
			pthread_getname_np(pthread_self(), static_cast<char*>(data), 32);
			return B_OK;
		}, "placeholder", B_NORMAL_PRIORITY, kernelName);
		ASSERT_EQ(rename_thread(thread, names.given.c_str()), B_OK);
		ASSERT_EQ(wait_for_thread(thread, NULL), B_OK);
		EXPECT_EQ(std::string(kernelName), names.kernel) << names.given;
	}
}

// Real-time priorities need privileges this process may lack; the call
// still succeeds and reports the previous priority.
TEST_F(ThreadTest, PriorityChangesNeverFail)
{
	struct PriorityCase {
		int32 requested;
		int32 recorded;
	};
	Trace trace;
	thread_id thread = spawn_thread(count_and_return, "priorities", B_NORMAL_PRIORITY, &trace);
	int32 previous = B_NORMAL_PRIORITY;
	for (const PriorityCase& priority : {
			PriorityCase{B_LOW_PRIORITY, 5}, PriorityCase{B_DISPLAY_PRIORITY, 15},
			PriorityCase{B_URGENT_PRIORITY, 110}, PriorityCase{B_REAL_TIME_PRIORITY, 120},
			PriorityCase{500, 120}, PriorityCase{0, 1}, PriorityCase{-3, 1},
			PriorityCase{B_NORMAL_PRIORITY, 10}}) {
		EXPECT_EQ(set_thread_priority(thread, priority.requested), previous);
		thread_info info;
		ASSERT_EQ(get_thread_info(thread, &info), B_OK);
		EXPECT_EQ(info.priority, priority.recorded);
		previous = priority.recorded;
	}

	thread_id running = spawn_thread([](void*) -> status_t {
		thread_id self = find_thread(NULL);
		if (set_thread_priority(self, B_URGENT_PRIORITY) != B_NORMAL_PRIORITY)
			return B_ERROR;
		if (set_thread_priority(self, B_LOW_PRIORITY) != B_URGENT_PRIORITY)
			return B_ERROR;
		return B_OK;
	}, "self priority", B_NORMAL_PRIORITY, NULL);
	status_t result = B_ERROR;
	ASSERT_EQ(wait_for_thread(running, &result), B_OK);
	EXPECT_EQ(result, B_OK);
	EXPECT_EQ(wait_for_thread(thread, NULL), B_OK);
	EXPECT_EQ(set_thread_priority(thread, 10), B_BAD_THREAD_ID);
}

TEST_F(ThreadTest, BadArgumentsAreRefused)
{
	EXPECT_EQ(spawn_thread(NULL, "none", B_NORMAL_PRIORITY, NULL), B_BAD_VALUE);
	for (thread_id bad : {0, -1, 1 << 30}) {
		EXPECT_EQ(resume_thread(bad), B_BAD_THREAD_ID);
		EXPECT_EQ(suspend_thread(bad), B_BAD_THREAD_ID);
		EXPECT_EQ(kill_thread(bad), B_BAD_THREAD_ID);
		EXPECT_EQ(wait_for_thread(bad, NULL), B_BAD_THREAD_ID);
	}
	EXPECT_EQ(wait_for_thread(find_thread(NULL), NULL), B_NOT_ALLOWED);

	Trace trace;
	thread_id running = spawn_thread(suspend_self, "target", B_NORMAL_PRIORITY, &trace);
	ASSERT_EQ(resume_thread(running), B_OK);
	ASSERT_TRUE(reaches_state(running, B_THREAD_SUSPENDED));
	EXPECT_EQ(suspend_thread(running), B_OK);
	EXPECT_EQ(resume_thread(running), B_OK);
	EXPECT_EQ(wait_for_thread(running, NULL), B_OK);
}

}	// namespace

TEST_F(ThreadTest, RecordedPriorityIsReportedButNotApplied)
{
	thread_id self = find_thread(NULL);
	int before = getpriority(PRIO_PROCESS, 0);
	ASSERT_EQ(B_OK, BPrivate::keep_thread_priority_recorded(self));
	set_thread_priority(self, B_LOW_PRIORITY);

	thread_info info;
	ASSERT_EQ(B_OK, get_thread_info(self, &info));
	EXPECT_EQ(B_LOW_PRIORITY, info.priority);
	EXPECT_EQ(before, getpriority(PRIO_PROCESS, 0));
	EXPECT_EQ(B_BAD_THREAD_ID, BPrivate::keep_thread_priority_recorded(-5));
}
