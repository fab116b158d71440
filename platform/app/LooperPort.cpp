#include "LooperPort.h"

#include <Message.h>

#include "LooperDispatcher.h"
#include "ServingThread.h"

namespace BPrivate {

namespace {

// The lock's holder, or the serving thread running a call of the holder's
// (see ServingThread.h).
bool
is_caller(std::thread::id owner)
{
	const std::thread::id actingFor = ServingThread::ActingFor();
	return owner == std::this_thread::get_id()
		|| (actingFor != std::thread::id() && owner == actingFor);
}

}

LooperPort::LooperPort(BLooper* looper, int32 token)
	:
	fLooper(looper),
	fToken(token),
	fDispatcher(NULL),
	fThread(-1),
	fLockCount(0),
	fLockWaiters(0),
	fBatchLeft(0),
	fDispatching(false),
	fQuitting(false),
	fClosed(false)
{
}


status_t
LooperPort::Post(const BMessage& message, int32 handlerToken,
	const BMessenger& replyTo, ReplyPromise&& promise)
{
	MessageEnvelope envelope{std::make_unique<BMessage>(message), handlerToken,
		replyTo, std::move(promise)};
	LooperDispatcher* wake = NULL;
	{
		std::lock_guard<std::mutex> guard(fMutex);
		if (fClosed)
			return B_BAD_HANDLER;
		if (fQueue.empty() && !fDispatching)
			wake = fDispatcher;
		fQueue.push_back(std::move(envelope));
	}
	fMessageArrived.notify_one();
	if (wake != NULL)
		wake->Wake(fToken);
	return B_OK;
}


bool
LooperPort::HasMessages()
{
	std::lock_guard<std::mutex> guard(fMutex);
	return !fQueue.empty() || fBatchLeft.load() > 0;
}


bool
LooperPort::BeginDispatch(std::deque<MessageEnvelope>& batch)
{
	std::lock_guard<std::mutex> guard(fMutex);
	if (fDispatching)
		return false;
	fDispatching = true;
	fDispatchingThread = std::this_thread::get_id();
	batch.swap(fQueue);
	fBatchLeft.store((int32)batch.size());
	return true;
}


bool
LooperPort::EndDispatch()
{
	std::lock_guard<std::mutex> guard(fMutex);
	fDispatching = false;
	fDispatchingThread = std::thread::id();
	fBatchLeft.store(0);
	return !fQueue.empty() && !fQuitting && !fClosed;
}


bool
LooperPort::IsDispatchingOnCaller()
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fDispatching && fDispatchingThread == std::this_thread::get_id();
}


bool
LooperPort::WaitForMessages()
{
	std::unique_lock<std::mutex> lock(fMutex);
	ServingThread::Default().Wait(fMessageArrived, lock, B_INFINITE_TIMEOUT,
		[this] { return !fQueue.empty() || fQuitting || fClosed; });
	return !fQuitting && !fClosed;
}


status_t
LooperPort::Lock(bigtime_t timeout)
{
	std::unique_lock<std::mutex> lock(fMutex);
	if (fClosed)
		return B_BAD_VALUE;
	if (fLockCount > 0 && is_caller(fOwner)) {
		fLockCount++;
		return B_OK;
	}

	fLockWaiters++;
	const bool released = ServingThread::Default().Wait(fLockReleased, lock, timeout,
		[this] { return fLockCount == 0 || fClosed; });
	fLockWaiters--;
	if (!released)
		return B_TIMED_OUT;
	if (fClosed)
		return B_BAD_VALUE;
	fOwner = std::this_thread::get_id();
	fLockCount = 1;
	return B_OK;
}


bool
LooperPort::LockForDispatch()
{
	std::unique_lock<std::mutex> lock(fMutex);
	fLockWaiters++;
	ServingThread::Default().Wait(fLockReleased, lock, B_INFINITE_TIMEOUT, [this] {
		return fLockCount == 0 || is_caller(fOwner) || fQuitting || fClosed;
	});
	fLockWaiters--;
	if (fQuitting || fClosed)
		return false;
	if (fLockCount == 0)
		fOwner = std::this_thread::get_id();
	fLockCount++;
	return true;
}


void
LooperPort::Unlock()
{
	{
		std::lock_guard<std::mutex> guard(fMutex);
		if (fLockCount == 0 || !is_caller(fOwner))
			return;
		if (--fLockCount > 0)
			return;
		fOwner = std::thread::id();
	}
	fLockReleased.notify_all();
}


bool
LooperPort::IsLockedByCaller()
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fLockCount > 0 && is_caller(fOwner);
}


int32
LooperPort::CountLockRequests()
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fLockWaiters + (fLockCount > 0 ? 1 : 0);
}


void
LooperPort::SetQuitting()
{
	{
		std::lock_guard<std::mutex> guard(fMutex);
		fQuitting = true;
	}
	fMessageArrived.notify_all();
	fLockReleased.notify_all();
}


bool
LooperPort::IsQuitting()
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fQuitting || fClosed;
}


std::deque<MessageEnvelope>
LooperPort::Close()
{
	std::deque<MessageEnvelope> leftover;
	{
		std::lock_guard<std::mutex> guard(fMutex);
		fClosed = true;
		fLockCount = 0;
		fOwner = std::thread::id();
		leftover.swap(fQueue);
	}
	fMessageArrived.notify_all();
	fLockReleased.notify_all();
	return leftover;
}


void
LooperPort::SetDispatcher(LooperDispatcher* dispatcher)
{
	std::lock_guard<std::mutex> guard(fMutex);
	fDispatcher = dispatcher;
}


void
LooperPort::WakeDispatcher()
{
	LooperDispatcher* dispatcher;
	{
		std::lock_guard<std::mutex> guard(fMutex);
		if (fQueue.empty() || fClosed)
			return;
		dispatcher = fDispatcher;
	}
	if (dispatcher != NULL)
		dispatcher->Wake(fToken);
}

}
