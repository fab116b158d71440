#include "private/ThreadRecord.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <exception>

#include <linux/futex.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <BlockingWait.h>

namespace BPrivate {

namespace {

// Linux keeps 15 bytes of a thread's name; the cut never splits a UTF-8
// character.
const size_t kKernelNameLength = 15;

// Beyond this, a deadline cannot be expressed in the nanoseconds of the
// kernel's timers; such a sleep has no deadline at all.
const bigtime_t kLongestDeadline = INT64_MAX / 1000 - 1;

// Announces thread state changes to wait_until_at_rest. Never destroyed, so
// threads still running at exit can use it.
struct StateChanges {
	std::mutex lock;
	std::condition_variable changed;
};

StateChanges& state_changes()
{
	static StateChanges* changes = new StateChanges;
	return *changes;
}

std::string kernel_name(const std::string& name)
{
	if (name.size() <= kKernelNameLength)
		return name;
	size_t length = kKernelNameLength;
	while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xc0) == 0x80)
		length--;
	return name.substr(0, length);
}

int nice_for(int32 priority)
{
	return std::clamp(B_NORMAL_PRIORITY - priority, -20, 19);
}

// The real-time range 100..120 spreads over SCHED_FIFO's whole range.
int fifo_priority_for(int32 priority)
{
	int lowest = sched_get_priority_min(SCHED_FIFO);
	int highest = sched_get_priority_max(SCHED_FIFO);
	return lowest + (priority - B_REAL_TIME_DISPLAY_PRIORITY) * (highest - lowest)
		/ (B_REAL_TIME_PRIORITY - B_REAL_TIME_DISPLAY_PRIORITY);
}

// FUTEX_WAIT_BITSET takes an absolute deadline, on CLOCK_MONOTONIC unless
// FUTEX_CLOCK_REALTIME is given. Returns false when the word changed, a wake
// came or a signal cut the wait short; a failure other than these ends the
// wait rather than spinning.
bool wait_on_word(std::atomic<uint32>& word, uint32 expected,
	bigtime_t monotonicDeadline)
{
	timespec deadline;
	timespec* timeout = NULL;
	if (monotonicDeadline <= kLongestDeadline) {
		deadline.tv_sec = monotonicDeadline / 1000000;
		deadline.tv_nsec = monotonicDeadline % 1000000 * 1000;
		timeout = &deadline;
	}
	static_assert(sizeof(word) == sizeof(uint32)
		&& std::atomic<uint32>::is_always_lock_free);
	long result = syscall(SYS_futex, reinterpret_cast<uint32*>(&word),
		FUTEX_WAIT_BITSET | FUTEX_PRIVATE_FLAG, expected, timeout, NULL,
		FUTEX_BITSET_MATCH_ANY);
	return result != 0 && errno != EAGAIN && errno != EINTR;
}

}	// namespace

ThreadRecord::ThreadRecord(thread_id id, bool spawned, const char* name,
	int32 priority, thread_func function, void* data)
	:
	fID(id),
	fSpawned(spawned),
	fFunction(function),
	fData(data),
	fState(spawned ? ThreadState::kSuspended : ThreadState::kRunning),
	fStarted(false),
	fThread(),
	fKernelID(0),
	fName(name, strnlen(name, B_OS_NAME_LENGTH - 1)),
	fPriority(priority),
	fPriorityRecordedOnly(false),
	fEndRequested(false),
	fWakePending(false),
	fInterruptPending(false),
	fSleepWord(0),
	fInSleep(false),
	fSleepsEnded(0),
	fResumePending(false),
	fResult(B_OK)
{
}

void ThreadRecord::SetState(ThreadState state)
{
	fState.store(state);
	StateChanges& changes = state_changes();
	{
		std::lock_guard<std::mutex> lock(changes.lock);
	}
	changes.changed.notify_all();
}

void ThreadRecord::Start()
{
	std::lock_guard<std::mutex> lock(fLock);
	fThread = pthread_self();
	fKernelID = gettid();
	fStarted = true;
	if (fSpawned) {
		_ApplyName();
		_ApplyPriority();
	}
}

void ThreadRecord::Finish(status_t result)
{
	std::lock_guard<std::mutex> lock(fLock);
	fResult = result;
	SetState(ThreadState::kFinished);
	fCondition.notify_all();
}

status_t ThreadRecord::WaitForFinish()
{
	BlockingWait blocked;
	std::unique_lock<std::mutex> lock(fLock);
	fCondition.wait(lock, [this] { return State() == ThreadState::kFinished; });
	return fResult;
}

bool ThreadRecord::BeginSleep()
{
	std::lock_guard<std::mutex> lock(fLock);
	if (fInterruptPending) {
		fInterruptPending = false;
		return false;
	}
	fWakePending = false;
	fInSleep = true;
	return true;
}

void ThreadRecord::EndSleep()
{
	std::lock_guard<std::mutex> lock(fLock);
	fInterruptPending = false;
	fInSleep = false;
	fSleepsEnded++;
	fSleepEnded.notify_all();
}

void ThreadRecord::WaitForWake(bigtime_t monotonicDeadline)
{
	while (true) {
		uint32 word;
		{
			std::lock_guard<std::mutex> lock(fLock);
			word = fSleepWord.load();
			if (fWakePending || fInterruptPending || fEndRequested)
				return;
		}
		if (wait_on_word(fSleepWord, word, monotonicDeadline))
			return;
	}
}

void ThreadRecord::Wake()
{
	std::lock_guard<std::mutex> lock(fLock);
	fWakePending = true;
	_WakeSleeper();
}

// Kept until a sleep consumes it, so that a thread between deciding to
// sleep and going to sleep cannot miss it. Waiting for the count of ended
// sleeps rather than for fInSleep to clear: the thread may already be in
// its next sleep when the interrupter looks again.
void ThreadRecord::Interrupt()
{
	std::unique_lock<std::mutex> lock(fLock);
	fInterruptPending = true;
	_WakeSleeper();
	if (!fInSleep)
		return;
	const uint64 sleep = fSleepsEnded;
	fSleepEnded.wait(lock, [&] { return fSleepsEnded != sleep; });
}

void ThreadRecord::AwaitResume()
{
	std::unique_lock<std::mutex> lock(fLock);
	fCondition.wait(lock, [this] {
		return State() != ThreadState::kSuspended || fEndRequested;
	});
}

// While the stack is already unwinding (a destructor that sleeps), a second
// exception would end the process; the wait then just returns early.
void ThreadRecord::ThrowIfEndRequested()
{
	std::lock_guard<std::mutex> lock(fLock);
	if (fEndRequested && std::uncaught_exceptions() == 0)
		throw ThreadEndRequest();
}

void ThreadRecord::Suspend()
{
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (fResumePending) {
			fResumePending = false;
			return;
		}
		if (!fEndRequested)
			SetState(ThreadState::kSuspended);
	}
	AwaitResume();
	ThrowIfEndRequested();
}

// A resume for a thread that is running or blocked is kept for its next
// self-suspension: a thread that has decided to suspend itself is still
// running until it gets there, and a resume sent in that moment must not be
// lost (the thread would then stay suspended for good). A sleeping thread is
// not on its way to suspend, so resuming it is the original's error.
status_t ThreadRecord::Resume()
{
	std::lock_guard<std::mutex> lock(fLock);
	switch (State()) {
		case ThreadState::kSuspended:
			SetState(ThreadState::kRunning);
			fCondition.notify_all();
			return B_OK;
		case ThreadState::kRunning:
		case ThreadState::kWaiting:
			fResumePending = true;
			return B_OK;
		case ThreadState::kAsleep:
			return B_BAD_THREAD_STATE;
		case ThreadState::kFinished:
			break;
	}
	return B_BAD_THREAD_ID;
}

bool ThreadRecord::RequestEnd()
{
	std::lock_guard<std::mutex> lock(fLock);
	if (State() == ThreadState::kFinished)
		return false;
	fEndRequested = true;
	_WakeSleeper();
	fCondition.notify_all();
	return true;
}

status_t ThreadRecord::GetInfo(thread_info* info)
{
	std::lock_guard<std::mutex> lock(fLock);
	thread_state state;
	switch (State()) {
		case ThreadState::kRunning:
			state = B_THREAD_RUNNING;
			break;
		case ThreadState::kSuspended:
			state = B_THREAD_SUSPENDED;
			break;
		case ThreadState::kAsleep:
			state = B_THREAD_ASLEEP;
			break;
		case ThreadState::kWaiting:
			state = B_THREAD_WAITING;
			break;
		default:
			return B_BAD_THREAD_ID;
	}
	info->thread = fID;
	info->team = getpid();
	memset(info->name, 0, sizeof(info->name));
	memcpy(info->name, fName.data(), fName.size());
	info->state = state;
	info->priority = fPriority;
	return B_OK;
}

status_t ThreadRecord::Rename(const char* name)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (State() == ThreadState::kFinished)
		return B_BAD_THREAD_ID;
	fName.assign(name, strnlen(name, B_OS_NAME_LENGTH - 1));
	if (fStarted)
		_ApplyName();
	return B_OK;
}

status_t ThreadRecord::SetPriority(int32 priority)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (State() == ThreadState::kFinished)
		return B_BAD_THREAD_ID;
	int32 previous = fPriority;
	fPriority = priority;
	if (fStarted && !fPriorityRecordedOnly)
		_ApplyPriority();
	return previous;
}

void ThreadRecord::KeepPriorityRecorded()
{
	std::lock_guard<std::mutex> lock(fLock);
	fPriorityRecordedOnly = true;
}

bool ThreadRecord::HasName(const char* name)
{
	std::lock_guard<std::mutex> lock(fLock);
	return fName == name;
}

// Called with fLock held while the thread has not finished, so fThread still
// names a live thread.
void ThreadRecord::_ApplyName()
{
	pthread_setname_np(fThread, kernel_name(fName).c_str());
}

// Refusals are expected (real-time scheduling and negative nice values need
// privileges) and leave the thread as it was.
void ThreadRecord::_ApplyPriority()
{
	if (fPriority >= B_REAL_TIME_DISPLAY_PRIORITY) {
		sched_param parameters = {};
		parameters.sched_priority = fifo_priority_for(fPriority);
		if (sched_setscheduler(fKernelID, SCHED_FIFO, &parameters) == 0)
			return;
	}
	sched_param parameters = {};
	sched_setscheduler(fKernelID, SCHED_OTHER, &parameters);
	setpriority(PRIO_PROCESS, static_cast<id_t>(fKernelID), nice_for(fPriority));
}

void ThreadRecord::_WakeSleeper()
{
	fSleepWord.fetch_add(1);
	syscall(SYS_futex, reinterpret_cast<uint32*>(&fSleepWord),
		FUTEX_WAKE | FUTEX_PRIVATE_FLAG, 1, NULL, NULL, 0);
}

bool wait_until_at_rest(const ThreadRecord& record, bigtime_t timeout)
{
	StateChanges& changes = state_changes();
	std::unique_lock<std::mutex> lock(changes.lock);
	return changes.changed.wait_for(lock, std::chrono::microseconds(timeout),
		[&record] { return record.State() != ThreadState::kRunning; });
}

}	// namespace BPrivate
