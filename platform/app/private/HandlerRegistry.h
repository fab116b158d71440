#ifndef _HANDLER_REGISTRY_H
#define _HANDLER_REGISTRY_H

#include <memory>
#include <mutex>
#include <unordered_map>

#include <SupportDefs.h>

class BHandler;
class BLooper;

namespace BPrivate {

class LooperPort;

// Messengers name handlers by token, never by pointer.
constexpr int32 B_NULL_TOKEN = -1;
// "Whatever handler the looper prefers when the message arrives."
constexpr int32 B_PREFERRED_TOKEN = -2;

// The process-wide directory of live handlers and loopers. A messenger or a
// lock on a looper resolves its target here, so a target that is gone fails
// cleanly instead of being touched.
class HandlerRegistry {
public:
	static HandlerRegistry& Default();

	int32 AddHandler(BHandler* handler);
	void RemoveHandler(int32 token);
	// Records which looper a handler belongs to (B_NULL_TOKEN for none).
	void SetHandlerLooper(int32 handlerToken, int32 looperToken);

	void AddLooper(const BLooper* looper, std::shared_ptr<LooperPort> port);
	void RemoveLooper(const BLooper* looper);

	// NULL for a looper that is gone; the pointer itself is not touched.
	std::shared_ptr<LooperPort> PortFor(const BLooper* looper);
	std::shared_ptr<LooperPort> PortFor(int32 looperToken);
	// The port of `looperToken` if `handlerToken` is (still) a handler of it
	// or the preferred-handler token.
	std::shared_ptr<LooperPort> PortForTarget(int32 looperToken,
		int32 handlerToken);
	// The port of the looper the handler belongs to, if any.
	std::shared_ptr<LooperPort> PortOfHandler(int32 handlerToken);

	// The handler, if it still belongs to that looper.
	BHandler* HandlerIn(int32 handlerToken, int32 looperToken);

private:
	HandlerRegistry();

	struct Entry {
		BHandler* handler;
		int32 looperToken;
	};

	std::mutex fMutex;
	int32 fNextToken;
	std::unordered_map<int32, Entry> fHandlers;
	std::unordered_map<int32, std::shared_ptr<LooperPort>> fPorts;
	std::unordered_map<const BLooper*, std::shared_ptr<LooperPort>> fLoopers;
};

}

#endif
