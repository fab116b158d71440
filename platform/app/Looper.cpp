#include <Looper.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include <unistd.h>

#include <AppDefs.h>
#include <Message.h>
#include <MessageFilter.h>

#include "HandlerPrivate.h"
#include "HandlerRegistry.h"
#include "LooperDispatcher.h"
#include "LooperPort.h"
#include "MessageFilterPrivate.h"
#include "ReplyRoute.h"

using BPrivate::HandlerRegistry;
using BPrivate::LooperDispatcher;
using BPrivate::LooperPort;
using BPrivate::MessageEnvelope;

// What the dispatcher hooks of LooperDispatcher.h need of a looper.
class BLooper::Private {
public:
	static void SetDispatcher(BLooper* looper, LooperDispatcher* dispatcher)
	{
		if (!looper->fRunCalled)
			looper->fDispatcher = dispatcher;
	}

	static bool DispatchPending(int32 looperToken)
	{
		std::shared_ptr<LooperPort> port
			= HandlerRegistry::Default().PortFor(looperToken);
		return port != nullptr && BLooper::_DispatchPending(port);
	}
};


BLooper::BLooper(const char* name, int32 priority, int32 /*portCapacity*/)
	:
	BHandler(name),
	fPort(std::make_shared<LooperPort>(this, BHandler::Private::Token(this))),
	fDispatcher(NULL),
	fPreferred(NULL),
	fCurrentMessage(NULL),
	fThread(-1),
	fPriority(priority),
	fRunCalled(false),
	fStopped(false),
	fTerminating(false),
	fDeleteOnQuit(true)
{
	HandlerRegistry::Default().AddLooper(this, fPort);
	fPort->Lock(B_INFINITE_TIMEOUT);
	AddHandler(this);
}


BLooper::~BLooper()
{
	// Deleted without Quit() while its thread waits for messages: stop the
	// thread before the object goes.
	if (fRunCalled && !fStopped && !fTerminating
		&& !fPort->IsDispatchingOnCaller()) {
		fPort->SetQuitting();
		_StopDispatching();
	}

	HandlerRegistry::Default().RemoveLooper(this);
	// Releases everyone waiting for the lock or for an answer from here.
	std::deque<MessageEnvelope> leftover = fPort->Close();

	for (BMessageFilter* filter : fCommonFilters)
		delete filter;
	for (BHandler* handler : fHandlers) {
		BHandler::Private::SetLooper(handler, NULL);
		if (handler != this)
			handler->SetNextHandler(NULL);
	}
}


status_t
BLooper::PostMessage(uint32 command)
{
	BMessage message(command);
	return _PostMessage(&message, BHandler::Private::Token(this), NULL);
}


status_t
BLooper::PostMessage(BMessage* message)
{
	return _PostMessage(message, BHandler::Private::Token(this), NULL);
}


status_t
BLooper::PostMessage(uint32 command, BHandler* handler, BHandler* replyTo)
{
	BMessage message(command);
	return PostMessage(&message, handler, replyTo);
}


status_t
BLooper::PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo)
{
	if (handler == NULL)
		return _PostMessage(message, BPrivate::B_PREFERRED_TOKEN, replyTo);
	if (handler->Looper() != this)
		return B_MISMATCHED_VALUES;
	return _PostMessage(message, BHandler::Private::Token(handler), replyTo);
}


void
BLooper::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (message->what == B_QUIT_REQUESTED && handler == this) {
		const bool quit = QuitRequested();
		if (message->IsSourceWaiting()) {
			BMessage reply(B_REPLY);
			reply.AddBool("result", quit);
			message->SendReply(&reply);
		}
		if (quit)
			Quit();
		return;
	}
	handler->MessageReceived(message);
}


BMessage*
BLooper::CurrentMessage() const
{
	return fPort->IsLockedByCaller() ? fCurrentMessage : NULL;
}


BMessage*
BLooper::DetachCurrentMessage()
{
	BMessage* message = CurrentMessage();
	fCurrentMessage = NULL;
	return message;
}


bool
BLooper::IsMessageWaiting() const
{
	return fPort->HasMessages();
}


void
BLooper::AddHandler(BHandler* handler)
{
	AssertLocked();
	if (handler == NULL || handler->Looper() != NULL)
		return;
	fHandlers.push_back(handler);
	BHandler::Private::SetLooper(handler, this);
	if (handler != this)
		handler->SetNextHandler(this);
}


bool
BLooper::RemoveHandler(BHandler* handler)
{
	AssertLocked();
	if (handler == NULL || handler == this || handler->Looper() != this)
		return false;
	fHandlers.erase(std::find(fHandlers.begin(), fHandlers.end(), handler));
	BHandler::Private::SetLooper(handler, NULL);
	handler->SetNextHandler(NULL);
	if (fPreferred == handler)
		fPreferred = NULL;
	return true;
}


int32
BLooper::CountHandlers() const
{
	AssertLocked();
	return (int32)fHandlers.size();
}


BHandler*
BLooper::HandlerAt(int32 index) const
{
	AssertLocked();
	if (index < 0 || index >= CountHandlers())
		return NULL;
	return fHandlers[index];
}


int32
BLooper::IndexOf(BHandler* handler) const
{
	AssertLocked();
	auto found = std::find(fHandlers.begin(), fHandlers.end(), handler);
	return found != fHandlers.end() ? (int32)(found - fHandlers.begin()) : -1;
}


BHandler*
BLooper::PreferredHandler() const
{
	return fPreferred;
}


void
BLooper::SetPreferredHandler(BHandler* handler)
{
	AssertLocked();
	fPreferred = handler != NULL && handler->Looper() == this ? handler : NULL;
}


thread_id
BLooper::Run()
{
	if (fRunCalled)
		return B_BAD_VALUE;

	if (fDispatcher != NULL) {
		fThread = fDispatcher->Attach(fPort->Token());
	} else {
		fThread = spawn_thread(_LoopThread, Name() != NULL ? Name() : "looper",
			fPriority, this);
	}
	if (fThread < B_OK)
		return fThread;
	fRunCalled = true;
	fPort->SetThread(fThread);
	fPort->SetDispatcher(fDispatcher);

	// Once unlocked the looper may quit and be deleted at any moment.
	const thread_id thread = fThread;
	const std::shared_ptr<LooperPort> port = fPort;
	const bool ownThread = fDispatcher == NULL;
	Unlock();

	if (ownThread)
		resume_thread(thread);
	else
		port->WakeDispatcher();
	return thread;
}


void
BLooper::Quit()
{
	if (!Lock())
		return;

	if (!fRunCalled) {
		delete this;
	} else if (fPort->IsDispatchingOnCaller()) {
		fTerminating = true;
		fPort->SetQuitting();
		Unlock();
	} else {
		fPort->SetQuitting();
		_StopDispatching();
		delete this;
	}
}


bool
BLooper::QuitRequested()
{
	return true;
}


bool
BLooper::Lock()
{
	return _LockLooper(this, B_INFINITE_TIMEOUT) == B_OK;
}


void
BLooper::Unlock()
{
	std::shared_ptr<LooperPort> port = HandlerRegistry::Default().PortFor(this);
	if (port != nullptr)
		port->Unlock();
}


status_t
BLooper::LockWithTimeout(bigtime_t timeout)
{
	return _LockLooper(this, timeout);
}


bool
BLooper::IsLocked() const
{
	std::shared_ptr<LooperPort> port = HandlerRegistry::Default().PortFor(this);
	return port != nullptr && port->IsLockedByCaller();
}


int32
BLooper::CountLockRequests() const
{
	std::shared_ptr<LooperPort> port = HandlerRegistry::Default().PortFor(this);
	return port != nullptr ? port->CountLockRequests() : 0;
}


thread_id
BLooper::Thread() const
{
	return fThread;
}


void
BLooper::AssertLocked() const
{
#ifndef NDEBUG
	if (!IsLocked()) {
		fprintf(stderr, "looper \"%s\" must be locked by the calling thread\n",
			Name() != NULL ? Name() : "");
		abort();
	}
#endif
}


team_id
BLooper::Team() const
{
	return getpid();
}


void
BLooper::AddCommonFilter(BMessageFilter* filter)
{
	if (filter == NULL || BMessageFilter::Private::IsOwned(filter))
		return;
	AssertLocked();
	BMessageFilter::Private::SetOwner(filter, this, NULL);
	fCommonFilters.push_back(filter);
}


bool
BLooper::RemoveCommonFilter(BMessageFilter* filter)
{
	AssertLocked();
	auto found = std::find(fCommonFilters.begin(), fCommonFilters.end(),
		filter);
	if (found == fCommonFilters.end())
		return false;
	fCommonFilters.erase(found);
	BMessageFilter::Private::SetOwner(filter, NULL, NULL);
	return true;
}


int32
BLooper::CountCommonFilters() const
{
	return (int32)fCommonFilters.size();
}


BMessageFilter*
BLooper::CommonFilterAt(int32 index) const
{
	if (index < 0 || index >= CountCommonFilters())
		return NULL;
	return fCommonFilters[index];
}


// Static, and the pointer is only a key: Lock() must answer false for a
// looper that has been deleted, without touching it.
status_t
BLooper::_LockLooper(const BLooper* looper, bigtime_t timeout)
{
	std::shared_ptr<LooperPort> port
		= HandlerRegistry::Default().PortFor(looper);
	if (port == nullptr)
		return B_BAD_VALUE;
	return port->Lock(timeout);
}


status_t
BLooper::_LoopThread(void* data)
{
	_Loop(static_cast<BLooper*>(data)->fPort);
	return B_OK;
}


void
BLooper::_Loop(const std::shared_ptr<LooperPort>& port)
{
	// The looper may be deleted at any point of the loop, so only the port
	// is used here.
	while (port->WaitForMessages()) {
		if (!_DispatchPending(port))
			break;
	}
}


bool
BLooper::_DispatchPending(const std::shared_ptr<LooperPort>& port)
{
	std::deque<MessageEnvelope> batch;
	if (!port->BeginDispatch(batch))
		return true;

	for (MessageEnvelope& envelope : batch) {
		if (!port->LockForDispatch())
			break;
		port->TakeFromBatch();
		BLooper* looper = port->Looper();
		if (!looper->_DispatchEnvelope(envelope)) {
			port->EndDispatch();
			looper->_EndFromLoop();
			return false;
		}
		port->Unlock();
	}

	if (port->EndDispatch())
		port->WakeDispatcher();
	return !port->IsQuitting();
}


status_t
BLooper::_PostMessage(BMessage* message, int32 handlerToken,
	BHandler* replyTo)
{
	if (message == NULL)
		return B_BAD_VALUE;
	return fPort->Post(*message, handlerToken,
		replyTo != NULL ? BMessenger(replyTo) : BMessenger());
}


// Runs with the looper locked by the dispatching thread. Returns false when
// the looper quit during the message.
bool
BLooper::_DispatchEnvelope(MessageEnvelope& envelope)
{
	BHandler* handler;
	if (envelope.handlerToken == BPrivate::B_PREFERRED_TOKEN) {
		handler = fPreferred != NULL ? fPreferred : this;
	} else {
		// A handler removed or deleted since the post: the message is
		// dropped (and a waiting sender released with B_NO_REPLY).
		handler = HandlerRegistry::Default().HandlerIn(envelope.handlerToken,
			fPort->Token());
		if (handler == NULL)
			return true;
	}

	BMessage* message = envelope.message.get();
	const bool routed = envelope.promise.HasWaiter()
		|| envelope.replyTo.IsValid();
	if (routed) {
		BPrivate::open_reply_route(message,
			BPrivate::ReplyRoute{envelope.replyTo, std::move(envelope.promise)});
	}

	fCurrentMessage = message;
	handler = _ApplyFilters(message, handler);
	if (handler != NULL)
		DispatchMessage(message, handler);
	if (fCurrentMessage == NULL)
		envelope.message.release();
	fCurrentMessage = NULL;

	if (routed)
		BPrivate::close_reply_route(message);
	return !fTerminating;
}


BHandler*
BLooper::_ApplyFilters(BMessage* message, BHandler* target)
{
	for (size_t i = 0; i < fCommonFilters.size() && target != NULL; i++) {
		if (BMessageFilter::Private::Apply(fCommonFilters[i], message, &target)
				== B_SKIP_MESSAGE) {
			return NULL;
		}
	}

	// A handler filter may redirect to another handler, whose own filters
	// run next. Each handler is visited at most once, so filters that pass
	// the message back and forth cannot loop.
	std::vector<BHandler*> visited;
	while (target != NULL
		&& std::find(visited.begin(), visited.end(), target) == visited.end()) {
		BHandler* current = target;
		visited.push_back(current);
		for (int32 i = 0; i < current->CountFilters() && target != NULL; i++) {
			if (BMessageFilter::Private::Apply(current->FilterAt(i), message,
					&target) == B_SKIP_MESSAGE) {
				return NULL;
			}
		}
	}

	return target != NULL && target->Looper() == this ? target : NULL;
}


// With the looper quitting and locked by the caller: after this, no message
// of it is dispatched any more.
void
BLooper::_StopDispatching()
{
	fStopped = true;
	if (fDispatcher != NULL)
		fDispatcher->Detach(fPort->Token());
	else
		wait_for_thread(fThread, NULL);
}


// The looper quit while dispatching; called on its dispatching thread with
// the lock held.
void
BLooper::_EndFromLoop()
{
	fStopped = true;
	if (fDispatcher != NULL)
		fDispatcher->Detach(fPort->Token());
	if (fDeleteOnQuit)
		delete this;
	else
		fPort->Unlock();
}


LooperDispatcher::~LooperDispatcher()
{
}


bool
LooperDispatcher::DispatchPending(int32 looperToken)
{
	return BLooper::Private::DispatchPending(looperToken);
}


namespace BPrivate {

namespace {
std::atomic<LooperDispatcher*> sMainThreadDispatcher{nullptr};
}


LooperDispatcher*
main_thread_dispatcher()
{
	return sMainThreadDispatcher.load();
}


void
set_main_thread_dispatcher(LooperDispatcher* dispatcher)
{
	sMainThreadDispatcher.store(dispatcher);
}


void
set_looper_dispatcher(BLooper* looper, LooperDispatcher* dispatcher)
{
	BLooper::Private::SetDispatcher(looper, dispatcher);
}

}
