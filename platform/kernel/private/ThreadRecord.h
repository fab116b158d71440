#ifndef _KERNEL_PRIVATE_THREAD_RECORD_H
#define _KERNEL_PRIVATE_THREAD_RECORD_H

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include <pthread.h>

#include <OS.h>

namespace BPrivate {

// How kill_thread unwinds a thread (see OS.h). Thrown by the waits of this
// layer in a thread whose end was requested and caught at the thread's
// entry, so every destructor on the way runs. It deliberately does not
// derive from std::exception: a body's `catch (const std::exception&)` lets
// it pass. A body that swallows it with `catch (...)` only delays the end to
// its next wait. A killed thread must not sleep inside a noexcept function
// (a destructor, say) unless the stack is already unwinding: the exception
// would end the process there.
//
// pthread cancellation would unwind the same way but also fires at every
// cancellation point of the C library (write, printf, ...), not only in our
// waits; an own exception type keeps the end to the places we choose.
struct ThreadEndRequest {
};

enum class ThreadState {
	kRunning,
	kSuspended,
	kAsleep,
	// Blocked in a wait of the layer other than a sleep (see BlockingWait.h).
	kWaiting,
	kFinished
};

// Everything the layer knows about one thread. Every thread that uses the
// layer has one: spawned threads from spawn_thread, others from their first
// call that needs it.
class ThreadRecord : public std::enable_shared_from_this<ThreadRecord> {
public:
	ThreadRecord(thread_id id, bool spawned, const char* name, int32 priority,
		thread_func function, void* data);

	// The calling thread's record.
	static std::shared_ptr<ThreadRecord> Current();

	thread_id ID() const { return fID; }
	bool IsSpawned() const { return fSpawned; }
	ThreadState State() const { return fState.load(); }
	// Every change is announced to wait_until_at_rest.
	void SetState(ThreadState state);

	// Called on the thread itself before anything else: takes over the name
	// and priority that were set while it had not run yet.
	void Start();
	thread_func Function() const { return fFunction; }
	void* Data() const { return fData; }
	void Finish(status_t result);
	// Blocks until the thread has finished, then returns its result.
	status_t WaitForFinish();

	// The waits below run on the thread that owns the record. They return
	// early when the end is requested; the caller cleans up, then calls
	// ThrowIfEndRequested.
	//
	// A clock's sleep runs between BeginSleep and EndSleep. BeginSleep
	// returns false, and the sleep is to return at once, when an interrupt
	// came before it; otherwise it readies the wait for a new Wake().
	bool BeginSleep();
	// Consumes an interrupt that came during the sleep.
	void EndSleep();
	// Waits for Wake(), Interrupt() or the CLOCK_MONOTONIC deadline,
	// whichever is first.
	void WaitForWake(bigtime_t monotonicDeadline);
	void Wake();
	// Ends the thread's sleep, or its next one. Returns once the thread has
	// left a sleep it was in, so that a stepped clock lists it no more.
	void Interrupt();
	// Blocks while the thread is suspended.
	void AwaitResume();
	void ThrowIfEndRequested();

	// Self-suspension: consumes a resume that arrived early, else suspends.
	void Suspend();
	status_t Resume();
	// False when the thread has already finished.
	bool RequestEnd();

	status_t GetInfo(thread_info* info);
	status_t Rename(const char* name);
	// The previous priority, or B_BAD_THREAD_ID for a finished thread.
	status_t SetPriority(int32 priority);
	// From now on priorities are remembered and reported, never applied.
	void KeepPriorityRecorded();
	bool HasName(const char* name);

private:
	void _ApplyName();
	void _ApplyPriority();
	// Called with fLock held after a change that ends a sleep.
	void _WakeSleeper();

	const thread_id fID;
	const bool fSpawned;
	const thread_func fFunction;
	void* const fData;
	std::atomic<ThreadState> fState;

	std::mutex fLock;
	std::condition_variable fCondition;
	bool fStarted;
	pthread_t fThread;
	pid_t fKernelID;
	std::string fName;
	int32 fPriority;
	bool fPriorityRecordedOnly;
	bool fEndRequested;
	bool fWakePending;
	bool fInterruptPending;
	// A sleep waits on this futex word rather than on fCondition, so the
	// notifications meant for joiners and suspended threads never wake it
	// and its timeout is as precise as clock_nanosleep's. Changed only with
	// fLock held; a sleeper reads it there before its last look at the
	// flags, so no wake between that look and the wait is lost.
	std::atomic<uint32> fSleepWord;
	bool fInSleep;
	uint64 fSleepsEnded;
	// Only Interrupt() waits for a sleep to end; a notify on fCondition
	// would also wake every joiner at the end of every sleep.
	std::condition_variable fSleepEnded;
	bool fResumePending;
	status_t fResult;
};

// Waits at most `timeout` microseconds of real time until the thread of
// `record` is no longer running: asleep, suspended, waiting or finished.
bool wait_until_at_rest(const ThreadRecord& record, bigtime_t timeout);

}	// namespace BPrivate

#endif
