#ifndef _SERVING_THREAD_H
#define _SERVING_THREAD_H

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <SupportDefs.h>

namespace BPrivate {

// One thread that other threads hand calls to and wait for. The interface
// layer makes its GUI thread the serving thread: Qt may be touched there
// only, so a window or view method called from another thread runs its Qt
// work through Call().
//
// Such a caller usually holds the window's lock, and the serving thread may
// be waiting for that very lock (dispatching the window's next message, or
// a handler locking it); neither would ever go on. So:
// - the serving thread also runs the calls handed to it while it waits for
//   a looper's lock (LooperPort waits through Wait());
// - while it runs a call it counts as the caller for the looper locks the
//   caller holds (ActingFor()): the call may lock the caller's window again
//   (a paint event during a repaint does) without waiting for itself.
// A caller that holds some other lock the serving thread waits for (a
// BLocker) still deadlocks; no layer code does that.
//
// Calls run one at a time; each caller waits for its call, so the calls of
// one thread run in the order it made them.
class ServingThread {
public:
	static ServingThread& Default();

	// Makes the calling thread the serving thread. `wake` is called from any
	// thread, with no lock of this object held, and asks the serving
	// thread's event loop to call RunPending() soon.
	void Install(std::function<void()> wake);
	// On the serving thread: it stops serving, after running the calls
	// waiting now. Later calls run on their callers.
	void Uninstall();

	// Runs `call` on the serving thread and returns once it ran. On the
	// serving thread itself, or while none is installed, it runs at once.
	void Call(const std::function<void()>& call);
	// On the serving thread: runs the calls handed over so far.
	void RunPending();
	bool IsServingThread();

	// The thread whose call the calling thread is running now; a default id
	// when it runs none.
	static std::thread::id ActingFor();

	// Waits as timed_wait() does. On the serving thread the calls handed to
	// it meanwhile run too, with `lock` released while they do.
	bool Wait(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
		bigtime_t timeout, const std::function<bool()>& ready);

private:
	struct Request {
		const std::function<void()>* call;
		std::thread::id caller;
		bool done = false;
	};
	// What the serving thread waits on inside Wait(), so that a new call
	// wakes it.
	struct WaitTarget {
		std::mutex* mutex = nullptr;
		std::condition_variable* condition = nullptr;
	};

	ServingThread() = default;

	void _RunQueued();
	WaitTarget _SetWaitTarget(WaitTarget target, std::unique_lock<std::mutex>& held);

	// Order: fMutex, then a wait target's mutex; the serving thread never
	// takes fMutex while it holds the mutex it waits with.
	std::mutex fMutex;
	std::condition_variable fCallDone;
	// Read without fMutex by waits that hold another mutex.
	std::atomic<std::thread::id> fServer;
	std::function<void()> fWake;
	std::vector<Request*> fQueue;
	std::atomic<int32> fWaiting{0};
	WaitTarget fWaitTarget;
};

}

#endif
