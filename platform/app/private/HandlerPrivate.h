#ifndef _HANDLER_PRIVATE_H
#define _HANDLER_PRIVATE_H

#include <Handler.h>

// What the looper and messengers need of a handler beyond its public API.
class BHandler::Private {
public:
	static int32 Token(const BHandler* handler) { return handler->fToken; }
	// Only the looper the handler joins or leaves calls this, holding its
	// lock.
	static void SetLooper(BHandler* handler, BLooper* looper);
};

#endif
