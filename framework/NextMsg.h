#ifndef NEXT_MSG_H
#define NEXT_MSG_H

class BHandler;
class BMessage;

namespace pelkan {

// Chains a follow-up to a request: "_NxMsg" holds `next`, "_NxMsgTgt" the
// handler that receives it once the request is done (posted through that
// handler's looper), so an action interrupted by a save resumes after it.
void add_next_msg(BMessage* message, const BMessage& next, const BHandler* target);

}

#endif
