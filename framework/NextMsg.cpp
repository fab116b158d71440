#include "NextMsg.h"

#include <Message.h>

void
pelkan::add_next_msg(BMessage* message, const BMessage& next,
	const BHandler* target)
{
	message->AddMessage("_NxMsg", &next);
	message->AddPointer("_NxMsgTgt", target);
}
