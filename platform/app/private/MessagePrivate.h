#ifndef _MESSAGE_PRIVATE_H
#define _MESSAGE_PRIVATE_H

#include <Message.h>

// What other parts of the layer may change in a message beyond its public API.
class BMessage::Private {
public:
	// Marks `message` as delivered by drag and drop at `dropPoint` (screen
	// coordinates); `offset` is where the pointer held the dragged image.
	// `sourceRemote` tells that the drag started in another program.
	static void SetDropInfo(BMessage& message, BPoint dropPoint, BPoint offset,
		bool sourceRemote);
};

#endif
