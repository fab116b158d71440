#ifndef _MESSAGE_FILTER_PRIVATE_H
#define _MESSAGE_FILTER_PRIVATE_H

#include <MessageFilter.h>

// How loopers and handlers run the filters they own.
class BMessageFilter::Private {
public:
	// The filter belongs to a looper (common filter), to a handler, or, with
	// both NULL, to nobody.
	static void SetOwner(BMessageFilter* filter, BLooper* looper,
		BHandler* handler)
	{
		filter->fLooper = looper;
		filter->fHandler = handler;
	}

	static bool IsOwned(const BMessageFilter* filter)
		{ return filter->fLooper != NULL || filter->fHandler != NULL; }

	// Runs the filter if the message matches it.
	static filter_result Apply(BMessageFilter* filter, BMessage* message,
		BHandler** target)
	{
		if (!filter->_Matches(message))
			return B_DISPATCH_MESSAGE;
		return filter->Filter(message, target);
	}
};

#endif
