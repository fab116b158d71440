#ifndef _LOOPER_H
#define _LOOPER_H

#include <memory>
#include <vector>

#include <Handler.h>
#include <OS.h>

class BMessage;
class BMessageFilter;

namespace BPrivate {
class LooperDispatcher;
class LooperPort;
struct MessageEnvelope;
}

// The queue has no limit; the capacity is accepted for compatibility.
#define B_LOOPER_PORT_DEFAULT_CAPACITY 200

// A message loop: messages posted from any thread are dispatched one at a
// time, in the order they were posted, to the looper's handlers.
//
// A looper normally runs its own thread, named after it. The application and
// the windows instead run on the process's main thread, inside its event
// loop (see LooperDispatcher.h); nothing here depends on which.
//
// The looper is locked by the thread that constructs it until Run(). While it
// runs, its thread holds the lock for each message it dispatches, so Lock()
// from elsewhere waits for the message in progress. Lock() is recursive and
// fails on a looper that is gone.
//
// A looper is created with new and ends through Quit(), which deletes it.
class BLooper : public BHandler {
public:
	BLooper(const char* name = NULL, int32 priority = B_NORMAL_PRIORITY,
		int32 portCapacity = B_LOOPER_PORT_DEFAULT_CAPACITY);
	virtual ~BLooper();

	// Queue a copy of the message; safe from any thread, never waits for the
	// looper. Without a handler argument the looper itself receives the
	// message; with a NULL handler its preferred handler does (the looper
	// when it has none). Messages posted before Run() wait for it.
	status_t PostMessage(uint32 command);
	status_t PostMessage(BMessage* message);
	status_t PostMessage(uint32 command, BHandler* handler,
		BHandler* replyTo = NULL);
	status_t PostMessage(BMessage* message, BHandler* handler,
		BHandler* replyTo = NULL);

	// Hands the message to the handler; a looper receiving B_QUIT_REQUESTED
	// asks QuitRequested() and quits when it agrees.
	virtual void DispatchMessage(BMessage* message, BHandler* handler);

	// The message being dispatched; NULL while the looper is idle and for any
	// thread that does not hold the looper's lock.
	BMessage* CurrentMessage() const;
	// Takes the current message over; the caller deletes it.
	BMessage* DetachCurrentMessage();
	bool IsMessageWaiting() const;

	// The looper is always its own first handler. The handler list and the
	// preferred handler are changed with the looper locked.
	void AddHandler(BHandler* handler);
	bool RemoveHandler(BHandler* handler);
	int32 CountHandlers() const;
	BHandler* HandlerAt(int32 index) const;
	int32 IndexOf(BHandler* handler) const;

	BHandler* PreferredHandler() const;
	void SetPreferredHandler(BHandler* handler);

	// Starts dispatching and unlocks the looper; returns the thread the
	// messages run on. Call it once, from the thread that constructed the
	// looper.
	virtual thread_id Run();
	// Ends the looper and deletes it. Called while dispatching one of its
	// messages, the loop ends after that message; from another thread
	// (which must hold the lock) the looper's thread is stopped and joined
	// first; a looper never run is deleted at once.
	virtual void Quit();
	virtual bool QuitRequested();

	bool Lock();
	void Unlock();
	status_t LockWithTimeout(bigtime_t timeout);
	// True when the calling thread holds the lock.
	bool IsLocked() const;
	// The threads that hold or wait for the lock, as a snapshot.
	int32 CountLockRequests() const;
	// Where the original platform required the caller to hold the lock, a
	// debug build stops the program with a message when it does not; other
	// builds check nothing.
	void AssertLocked() const;

	thread_id Thread() const;
	team_id Team() const;

	// Filters every dispatched message runs through before its handler's own
	// filters. The looper owns the filters it holds.
	virtual void AddCommonFilter(BMessageFilter* filter);
	virtual bool RemoveCommonFilter(BMessageFilter* filter);
	int32 CountCommonFilters() const;
	BMessageFilter* CommonFilterAt(int32 index) const;

	class Private;

private:
	friend class Private;
	friend class BApplication;

	static status_t _LockLooper(const BLooper* looper, bigtime_t timeout);
	static status_t _LoopThread(void* data);
	static void _Loop(const std::shared_ptr<BPrivate::LooperPort>& port);
	static bool _DispatchPending(
		const std::shared_ptr<BPrivate::LooperPort>& port);

	status_t _PostMessage(BMessage* message, int32 handlerToken,
		BHandler* replyTo);
	bool _DispatchEnvelope(BPrivate::MessageEnvelope& envelope);
	BHandler* _ApplyFilters(BMessage* message, BHandler* target);
	void _StopDispatching();
	void _EndFromLoop();

	std::shared_ptr<BPrivate::LooperPort> fPort;
	BPrivate::LooperDispatcher* fDispatcher;
	std::vector<BHandler*> fHandlers;
	std::vector<BMessageFilter*> fCommonFilters;
	BHandler* fPreferred;
	BMessage* fCurrentMessage;
	thread_id fThread;
	int32 fPriority;
	bool fRunCalled;
	bool fStopped;
	bool fTerminating;
	// The application's loop is owned by main(), which deletes it.
	bool fDeleteOnQuit;
};

#endif
