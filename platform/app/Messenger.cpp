#include <Messenger.h>

#include <strings.h>
#include <unistd.h>

#include <Application.h>
#include <Handler.h>
#include <Looper.h>
#include <Message.h>

#include "HandlerPrivate.h"
#include "HandlerRegistry.h"
#include "LooperPort.h"
#include "ReplyRoute.h"

using BPrivate::HandlerRegistry;
using BPrivate::LooperPort;



BMessenger::BMessenger(const char* signature, team_id team, status_t* result)
	:
	BMessenger()
{
	status_t status = SetTo(signature, team);
	if (result != NULL)
		*result = status;
}


BMessenger::BMessenger(const BHandler* handler, const BLooper* looper,
	status_t* result)
	:
	BMessenger()
{
	status_t status = SetTo(handler, looper);
	if (result != NULL)
		*result = status;
}


bool
BMessenger::IsTargetLocal() const
{
	return IsValid();
}


BHandler*
BMessenger::Target(BLooper** looper) const
{
	HandlerRegistry& registry = HandlerRegistry::Default();
	std::shared_ptr<LooperPort> port = registry.PortForTarget(fPort,
		fHandlerToken);
	if (looper != NULL)
		*looper = port != nullptr ? port->Looper() : NULL;
	if (port == nullptr || fHandlerToken == BPrivate::B_PREFERRED_TOKEN)
		return NULL;
	return registry.HandlerIn(fHandlerToken, fPort);
}


bool
BMessenger::LockTarget() const
{
	return LockTargetWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}


status_t
BMessenger::LockTargetWithTimeout(bigtime_t timeout) const
{
	std::shared_ptr<LooperPort> port
		= HandlerRegistry::Default().PortForTarget(fPort, fHandlerToken);
	if (port == nullptr)
		return B_BAD_VALUE;
	return port->Lock(timeout);
}


status_t
BMessenger::SendMessage(uint32 command, BHandler* replyTo) const
{
	BMessage message(command);
	return SendMessage(&message, replyTo);
}


status_t
BMessenger::SendMessage(BMessage* message, BHandler* replyTo,
	bigtime_t /*timeout*/) const
{
	return _Deliver(message, replyTo != NULL ? BMessenger(replyTo) : BMessenger());
}


status_t
BMessenger::SendMessage(BMessage* message, BMessenger replyTo,
	bigtime_t /*timeout*/) const
{
	return _Deliver(message, replyTo);
}


status_t
BMessenger::SendMessage(uint32 command, BMessage* reply) const
{
	BMessage message(command);
	return SendMessage(&message, reply);
}


status_t
BMessenger::SendMessage(BMessage* message, BMessage* reply,
	bigtime_t /*deliveryTimeout*/, bigtime_t replyTimeout) const
{
	if (message == NULL || reply == NULL)
		return B_BAD_VALUE;
	std::shared_ptr<LooperPort> port
		= HandlerRegistry::Default().PortForTarget(fPort, fHandlerToken);
	if (port == nullptr)
		return B_BAD_HANDLER;
	// The answer could only come from the thread that would wait for it.
	if (port->Thread() == find_thread(NULL))
		return B_MESSAGE_TO_SELF;

	auto waiter = std::make_shared<BPrivate::ReplyWaiter>();
	status_t status = port->Post(*message, fHandlerToken, BMessenger(),
		BPrivate::ReplyPromise(waiter));
	if (status != B_OK)
		return status;
	return waiter->Wait(replyTimeout, reply);
}


status_t
BMessenger::SetTo(const char* signature, team_id team)
{
	*this = BMessenger();
	if (signature == NULL)
		return B_BAD_VALUE;
	if (be_app == NULL || strcasecmp(signature, be_app->Signature()) != 0
		|| (team >= 0 && team != getpid())) {
		return B_BAD_VALUE;
	}
	*this = be_app_messenger;
	return IsValid() ? B_OK : B_BAD_VALUE;
}


status_t
BMessenger::SetTo(const BHandler* handler, const BLooper* looper)
{
	*this = BMessenger();
	HandlerRegistry& registry = HandlerRegistry::Default();
	std::shared_ptr<LooperPort> port;
	int32 handlerToken;
	if (handler != NULL) {
		handlerToken = BHandler::Private::Token(handler);
		port = registry.PortOfHandler(handlerToken);
		if (port == nullptr
			|| (looper != NULL && registry.PortFor(looper) != port)) {
			return B_MISMATCHED_VALUES;
		}
	} else if (looper != NULL) {
		handlerToken = BPrivate::B_PREFERRED_TOKEN;
		port = registry.PortFor(looper);
		if (port == nullptr)
			return B_BAD_VALUE;
	} else {
		return B_BAD_VALUE;
	}

	fPort = port->Token();
	fHandlerToken = handlerToken;
	fTeam = getpid();
	return B_OK;
}


bool
BMessenger::operator==(const BMessenger& other) const
{
	return fPort == other.fPort && fHandlerToken == other.fHandlerToken
		&& fTeam == other.fTeam;
}


bool
BMessenger::operator!=(const BMessenger& other) const
{
	return !(*this == other);
}


bool
BMessenger::operator<(const BMessenger& other) const
{
	if (fTeam != other.fTeam)
		return fTeam < other.fTeam;
	if (fPort != other.fPort)
		return fPort < other.fPort;
	return fHandlerToken < other.fHandlerToken;
}


bool
BMessenger::IsValid() const
{
	std::shared_ptr<LooperPort> port
		= HandlerRegistry::Default().PortForTarget(fPort, fHandlerToken);
	return port != nullptr;
}


team_id
BMessenger::Team() const
{
	return fTeam;
}


status_t
BMessenger::_Deliver(BMessage* message, const BMessenger& replyTo) const
{
	if (message == NULL)
		return B_BAD_VALUE;
	std::shared_ptr<LooperPort> port
		= HandlerRegistry::Default().PortForTarget(fPort, fHandlerToken);
	if (port == nullptr)
		return B_BAD_HANDLER;
	return port->Post(*message, fHandlerToken, replyTo);
}
