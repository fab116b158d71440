#ifndef _MESSAGE_FILTER_H
#define _MESSAGE_FILTER_H

#include <SupportDefs.h>

class BHandler;
class BLooper;
class BMessage;
class BMessageFilter;

enum filter_result {
	B_SKIP_MESSAGE,
	B_DISPATCH_MESSAGE
};

typedef filter_result (*filter_hook)(BMessage* message, BHandler** target,
	BMessageFilter* filter);

enum message_delivery {
	B_ANY_DELIVERY,
	B_DROPPED_DELIVERY,
	B_PROGRAMMED_DELIVERY
};

enum message_source {
	B_ANY_SOURCE,
	B_REMOTE_SOURCE,
	B_LOCAL_SOURCE
};

// Looks at a message before its handler does: a looper's common filters see
// every message it dispatches, a handler's filters those for that handler.
// A filter may redirect the message (rewrite *target) or drop it
// (B_SKIP_MESSAGE). Filter() runs only for messages that match the command,
// delivery and source given at construction.
class BMessageFilter {
public:
	BMessageFilter(uint32 what, filter_hook hook = NULL);
	BMessageFilter(message_delivery delivery, message_source source,
		filter_hook hook = NULL);
	BMessageFilter(message_delivery delivery, message_source source,
		uint32 what, filter_hook hook = NULL);
	BMessageFilter(const BMessageFilter& other);
	BMessageFilter& operator=(const BMessageFilter& other);
	virtual ~BMessageFilter();

	// The default calls the hook given at construction, if any, else
	// dispatches.
	virtual filter_result Filter(BMessage* message, BHandler** target);

	message_delivery MessageDelivery() const { return fDelivery; }
	message_source MessageSource() const { return fSource; }
	uint32 Command() const { return fCommand; }
	bool FiltersAnyCommand() const { return fFiltersAny; }
	// The looper whose messages the filter sees: the one it was added to, or
	// that of the handler it was added to.
	BLooper* Looper() const;

	class Private;

private:
	friend class Private;

	bool _Matches(const BMessage* message) const;

	uint32 fCommand;
	bool fFiltersAny;
	message_delivery fDelivery;
	message_source fSource;
	filter_hook fHook;
	BLooper* fLooper;
	BHandler* fHandler;
};

#endif
