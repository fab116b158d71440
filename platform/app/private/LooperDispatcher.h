#ifndef _LOOPER_DISPATCHER_H
#define _LOOPER_DISPATCHER_H

#include <OS.h>

class BLooper;

namespace BPrivate {

// Decides where a looper's messages run when that is not the looper's own
// thread: the interface layer installs one that dispatches the application
// and every window on the main thread, inside the GUI event loop.
//
// Loopers are named by token, never by pointer: a looper may be deleted by
// another thread at any moment, and DispatchPending() then simply reports
// that it is gone.
class LooperDispatcher {
public:
	virtual ~LooperDispatcher();

	// The looper's Run(): from now on its messages are dispatched through
	// this object. Returns the thread they run on.
	virtual thread_id Attach(int32 looperToken) = 0;
	// Messages wait for the looper: call DispatchPending(looperToken) soon
	// on the dispatching thread. Called from any thread, with no lock of
	// the layer held; several wakes may come for one pending batch.
	virtual void Wake(int32 looperToken) = 0;
	// The looper has quit (it may already be deleted): no dispatch of it may
	// begin any more.
	virtual void Detach(int32 looperToken) = 0;
	// The application's Run(): runs the event loop on the calling thread
	// until DispatchPending(looperToken) has returned false.
	virtual void RunUntilQuit(int32 looperToken) = 0;

	// Dispatches the messages that wait for the looper now, on the calling
	// thread: one batch, the messages that were queued when it started.
	// Returns false once the looper has quit or is gone. A looper that is
	// already dispatching on this thread (the event loop pumped from one of
	// its handlers) is not re-entered; its messages wait, and a new Wake()
	// follows when the outer dispatch ends.
	static bool DispatchPending(int32 looperToken);
};

// Where loopers that belong on the main thread run: NULL (the default)
// means the application runs its loop on the thread that calls its Run().
LooperDispatcher* main_thread_dispatcher();
void set_main_thread_dispatcher(LooperDispatcher* dispatcher);

// Makes a looper that is not running yet dispatch through `dispatcher`
// instead of its own thread; a window's constructor calls it with
// main_thread_dispatcher().
void set_looper_dispatcher(BLooper* looper, LooperDispatcher* dispatcher);

}

#endif
