#ifndef _LOOPER_PORT_H
#define _LOOPER_PORT_H

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include <Messenger.h>

#include "ReplyRoute.h"

class BLooper;
class BMessage;

namespace BPrivate {

class LooperDispatcher;

// A message on its way to a looper, with what the sender attached to it.
struct MessageEnvelope {
	std::unique_ptr<BMessage> message;
	int32 handlerToken;
	BMessenger replyTo;
	ReplyPromise promise;
};

// The part of a looper that outlives it: its message queue and its lock.
// Senders and lockers hold the port, not the looper, so a looper deleted
// while they wait is noticed instead of touched.
//
// One mutex guards both; it is held only for bookkeeping, never while a
// message is dispatched, so posting never waits for a handler.
class LooperPort {
public:
	LooperPort(BLooper* looper, int32 token);

	int32 Token() const { return fToken; }
	// Valid only while the port is open and the caller holds the lock.
	BLooper* Looper() const { return fLooper; }

	// Queues a copy of `message`; fails with B_BAD_HANDLER once the port is
	// closed.
	status_t Post(const BMessage& message, int32 handlerToken,
		const BMessenger& replyTo, ReplyPromise&& promise = ReplyPromise());
	// Queued or taken into the running pass and not dispatched yet.
	bool HasMessages();

	// Takes the pending messages for one dispatch pass; false (and nothing
	// taken) while a pass is already running, so a looper pumped from inside
	// its own handler never re-enters itself.
	bool BeginDispatch(std::deque<MessageEnvelope>& batch);
	// The pass is about to dispatch its next message.
	void TakeFromBatch() { fBatchLeft.fetch_sub(1); }
	// Ends the pass; true when messages arrived meanwhile.
	bool EndDispatch();
	bool IsDispatchingOnCaller();

	// Waits for messages; false once the looper quits or is gone.
	bool WaitForMessages();

	// Recursive lock. Fails once the port is closed (B_BAD_VALUE) or after
	// `timeout` µs (B_TIMED_OUT; real time, not the replaceable clock).
	status_t Lock(bigtime_t timeout);
	// The dispatching thread's lock: gives up as soon as the looper quits.
	bool LockForDispatch();
	void Unlock();
	bool IsLockedByCaller();
	// The holder, if any, and every thread waiting for the lock.
	int32 CountLockRequests();

	// The looper stops dispatching: waiters for messages and the dispatching
	// thread's lock give up.
	void SetQuitting();
	bool IsQuitting();

	// The looper is gone: every waiter gives up, later posts and locks fail.
	// Returns the messages still queued.
	std::deque<MessageEnvelope> Close();

	// An outside dispatcher to wake when the queue stops being empty.
	void SetDispatcher(LooperDispatcher* dispatcher);
	// Wakes the outside dispatcher, if any, when messages wait.
	void WakeDispatcher();

	// The thread the looper's messages run on, once it runs.
	void SetThread(thread_id thread) { fThread.store(thread); }
	thread_id Thread() const { return fThread.load(); }

private:
	BLooper* const fLooper;
	const int32 fToken;

	std::mutex fMutex;
	std::condition_variable fMessageArrived;
	std::condition_variable fLockReleased;
	std::deque<MessageEnvelope> fQueue;
	LooperDispatcher* fDispatcher;
	std::atomic<thread_id> fThread;

	std::thread::id fOwner;
	int32 fLockCount;
	int32 fLockWaiters;

	std::atomic<int32> fBatchLeft;
	std::thread::id fDispatchingThread;
	bool fDispatching;
	bool fQuitting;
	bool fClosed;
};

}

#endif
