#include "ServingThread.h"

#include <algorithm>
#include <chrono>

#include "TimedWait.h"

namespace BPrivate {

namespace {

thread_local std::thread::id sActingFor;


// The serving thread runs a call as its caller would, for the caller's
// looper locks.
class ActingScope {
public:
	explicit ActingScope(std::thread::id caller)
		:
		fOuter(sActingFor)
	{
		sActingFor = caller;
	}

	~ActingScope() { sActingFor = fOuter; }

private:
	const std::thread::id fOuter;
};

}	// namespace


ServingThread&
ServingThread::Default()
{
	// Never destroyed: callers may run during static destruction.
	static ServingThread* instance = new ServingThread;
	return *instance;
}


void
ServingThread::Install(std::function<void()> wake)
{
	std::lock_guard<std::mutex> guard(fMutex);
	fWake = std::move(wake);
	fServer.store(std::this_thread::get_id());
}


void
ServingThread::Uninstall()
{
	if (!IsServingThread())
		return;
	{
		std::lock_guard<std::mutex> guard(fMutex);
		fServer.store(std::thread::id());
		fWake = nullptr;
	}
	_RunQueued();
}


void
ServingThread::Call(const std::function<void()>& call)
{
	const std::thread::id self = std::this_thread::get_id();
	std::unique_lock<std::mutex> lock(fMutex);
	const std::thread::id server = fServer.load();
	if (server == std::thread::id() || server == self) {
		lock.unlock();
		call();
		return;
	}

	Request request{&call, self};
	fQueue.push_back(&request);
	fWaiting.fetch_add(1);
	if (fWaitTarget.mutex != nullptr) {
		// The serving thread looks at fWaiting with this mutex held before
		// it sleeps, so the wake cannot fall between its look and its sleep.
		std::lock_guard<std::mutex> guard(*fWaitTarget.mutex);
		fWaitTarget.condition->notify_all();
	}
	const std::function<void()> wake = fWake;
	lock.unlock();
	wake();
	lock.lock();
	timed_wait(fCallDone, lock, B_INFINITE_TIMEOUT, [&request] { return request.done; });
}


void
ServingThread::RunPending()
{
	if (IsServingThread())
		_RunQueued();
}


bool
ServingThread::IsServingThread()
{
	return fServer.load() == std::this_thread::get_id();
}


std::thread::id
ServingThread::ActingFor()
{
	return sActingFor;
}


bool
ServingThread::Wait(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
	bigtime_t timeout, const std::function<bool()>& ready)
{
	if (ready())
		return true;
	if (!IsServingThread())
		return timed_wait(condition, lock, timeout, ready);

	constexpr bigtime_t kForever = (bigtime_t)1 << 52;
	const bool forever = timeout >= kForever;
	const auto deadline = std::chrono::steady_clock::now()
		+ std::chrono::microseconds(forever ? 0 : std::max<bigtime_t>(timeout, 0));
	const WaitTarget outer = _SetWaitTarget(WaitTarget{lock.mutex(), &condition}, lock);
	bool result;
	while (true) {
		bigtime_t left = timeout;
		if (!forever) {
			left = std::max<bigtime_t>(0, std::chrono::duration_cast<std::chrono::microseconds>(
				deadline - std::chrono::steady_clock::now()).count());
		}
		const bool woke = timed_wait(condition, lock, left,
			[this, &ready] { return ready() || fWaiting.load() > 0; });
		if (ready()) {
			result = true;
			break;
		}
		if (!woke) {
			result = false;
			break;
		}
		lock.unlock();
		_RunQueued();
		lock.lock();
	}
	_SetWaitTarget(outer, lock);
	return result;
}


void
ServingThread::_RunQueued()
{
	std::vector<Request*> batch;
	{
		std::lock_guard<std::mutex> guard(fMutex);
		batch.swap(fQueue);
		fWaiting.fetch_sub((int32)batch.size());
	}
	for (Request* request : batch) {
		{
			const ActingScope acting(request->caller);
			(*request->call)();
		}
		{
			// The caller may return and end `request` as soon as it sees it
			// done.
			std::lock_guard<std::mutex> guard(fMutex);
			request->done = true;
		}
		fCallDone.notify_all();
	}
}


ServingThread::WaitTarget
ServingThread::_SetWaitTarget(WaitTarget target, std::unique_lock<std::mutex>& held)
{
	held.unlock();
	WaitTarget previous;
	{
		std::lock_guard<std::mutex> guard(fMutex);
		previous = fWaitTarget;
		fWaitTarget = target;
	}
	held.lock();
	return previous;
}

}
