#include "SCFilter.h"

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Looper.h>
#include <Message.h>

namespace pelkan {

TSCFilter::TSCFilter(BHandler* handler)
	:
	BMessageFilter(B_KEY_DOWN),
	fHandler(handler)
{
}


filter_result
TSCFilter::Filter(BMessage* message, BHandler** target)
{
	int32 modifiers = 0;
	int32 rawChar = 0;
	message->FindInt32("modifiers", &modifiers);
	message->FindInt32("raw_char", &rawChar);
	const bool dialogKey = (modifiers & B_CONTROL_KEY) != 0 || rawChar == B_ESCAPE
		|| rawChar == B_ENTER || rawChar == B_FUNCTION_KEY;
	if (dialogKey) {
		BHandler* handler = fHandler != NULL ? fHandler : Looper();
		if (handler != NULL)
			*target = handler;
	}
	return B_DISPATCH_MESSAGE;
}

}
