#ifndef _MESSENGER_PRIVATE_H
#define _MESSENGER_PRIVATE_H

#include <Messenger.h>

// A messenger's tokens, for the parts of the layer that route messages.
class BMessenger::Private {
public:
	static int32 LooperToken(const BMessenger& messenger)
		{ return messenger.fPort; }
	static int32 HandlerToken(const BMessenger& messenger)
		{ return messenger.fHandlerToken; }
};

#endif
