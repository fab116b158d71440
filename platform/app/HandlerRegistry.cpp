#include "HandlerRegistry.h"

#include "LooperPort.h"

namespace BPrivate {

HandlerRegistry&
HandlerRegistry::Default()
{
	// Never destroyed: a looper thread may outlive the static destructors.
	static HandlerRegistry* registry = new HandlerRegistry;
	return *registry;
}


HandlerRegistry::HandlerRegistry()
	:
	fNextToken(1)
{
}


int32
HandlerRegistry::AddHandler(BHandler* handler)
{
	std::lock_guard<std::mutex> guard(fMutex);
	// Tokens are not reused, so a messenger kept past its target's death can
	// never reach a newcomer. After 2^31 handlers they would wrap; a
	// still-live token is skipped then.
	int32 token;
	do {
		token = fNextToken;
		fNextToken = fNextToken == INT32_MAX ? 1 : fNextToken + 1;
	} while (fHandlers.count(token) != 0);
	fHandlers[token] = Entry{handler, B_NULL_TOKEN};
	return token;
}


void
HandlerRegistry::RemoveHandler(int32 token)
{
	std::lock_guard<std::mutex> guard(fMutex);
	fHandlers.erase(token);
}


void
HandlerRegistry::SetHandlerLooper(int32 handlerToken, int32 looperToken)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fHandlers.find(handlerToken);
	if (found != fHandlers.end())
		found->second.looperToken = looperToken;
}


void
HandlerRegistry::AddLooper(const BLooper* looper,
	std::shared_ptr<LooperPort> port)
{
	std::lock_guard<std::mutex> guard(fMutex);
	fPorts[port->Token()] = port;
	fLoopers[looper] = std::move(port);
}


void
HandlerRegistry::RemoveLooper(const BLooper* looper)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fLoopers.find(looper);
	if (found == fLoopers.end())
		return;
	fPorts.erase(found->second->Token());
	fLoopers.erase(found);
}


std::shared_ptr<LooperPort>
HandlerRegistry::PortFor(const BLooper* looper)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fLoopers.find(looper);
	return found != fLoopers.end() ? found->second : nullptr;
}


std::shared_ptr<LooperPort>
HandlerRegistry::PortFor(int32 looperToken)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fPorts.find(looperToken);
	return found != fPorts.end() ? found->second : nullptr;
}


std::shared_ptr<LooperPort>
HandlerRegistry::PortForTarget(int32 looperToken, int32 handlerToken)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto port = fPorts.find(looperToken);
	if (port == fPorts.end())
		return nullptr;
	if (handlerToken != B_PREFERRED_TOKEN) {
		auto handler = fHandlers.find(handlerToken);
		if (handler == fHandlers.end()
			|| handler->second.looperToken != looperToken) {
			return nullptr;
		}
	}
	return port->second;
}


std::shared_ptr<LooperPort>
HandlerRegistry::PortOfHandler(int32 handlerToken)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto handler = fHandlers.find(handlerToken);
	if (handler == fHandlers.end())
		return nullptr;
	auto port = fPorts.find(handler->second.looperToken);
	return port != fPorts.end() ? port->second : nullptr;
}


BHandler*
HandlerRegistry::HandlerIn(int32 handlerToken, int32 looperToken)
{
	std::lock_guard<std::mutex> guard(fMutex);
	auto found = fHandlers.find(handlerToken);
	if (found == fHandlers.end() || found->second.looperToken != looperToken)
		return NULL;
	return found->second.handler;
}

}
