#ifndef _QT_DISPATCHER_H
#define _QT_DISPATCHER_H

#include <atomic>

#include "LooperDispatcher.h"

class QEventLoop;

namespace BPrivate {

// Runs the application's and the windows' messages on the GUI thread,
// inside Qt's event loop: a wake from any thread queues a call of
// DispatchPending() to the GUI thread. The GUI thread is also the serving
// thread (ServingThread.h) that runs the Qt work of window and view methods
// called from other threads.
class QtDispatcher : public LooperDispatcher {
public:
	QtDispatcher();
	virtual ~QtDispatcher();

	virtual thread_id Attach(int32 looperToken);
	virtual void Wake(int32 looperToken);
	virtual void Detach(int32 looperToken);
	virtual void RunUntilQuit(int32 looperToken);

	// The thread the GUI runs on (where the application object was made).
	thread_id GuiThread() const { return fGuiThread; }

private:
	void _Dispatch(int32 looperToken);

	thread_id fGuiThread;
	std::atomic<int32> fRunningToken;
	QEventLoop* fRunLoop;
};

}

#endif
