#ifndef _MESSAGE_RUNNER_H
#define _MESSAGE_RUNNER_H

#include <Messenger.h>

class BMessage;

// Sends copies of a message to a target at a fixed interval, `count` times
// (-1: until deleted). The first message goes one interval after creation.
// Time is that of system_time(), so a test clock drives runners too.
//
// Deleting the runner cancels it: no message is sent after the destructor
// has returned. A runner whose target is gone stops.
class BMessageRunner {
public:
	BMessageRunner(BMessenger target, const BMessage* message,
		bigtime_t interval, int32 count = -1);
	BMessageRunner(BMessenger target, const BMessage* message,
		bigtime_t interval, int32 count, BMessenger replyTo);
	virtual ~BMessageRunner();

	// B_BAD_VALUE for a missing message, a count that is neither positive
	// nor -1, or an interval that is not positive.
	status_t InitCheck() const;

	// Re-arms the runner: the next message comes one new interval from now.
	status_t SetInterval(bigtime_t interval);
	// The messages still to send (-1: unlimited).
	status_t SetCount(int32 count);
	// B_BAD_VALUE once the runner has sent its last message.
	status_t GetInfo(bigtime_t* interval, int32* count) const;

private:
	BMessageRunner(const BMessageRunner&) = delete;
	BMessageRunner& operator=(const BMessageRunner&) = delete;

	void _Init(BMessenger target, const BMessage* message, bigtime_t interval,
		int32 count, BMessenger replyTo);

	int32 fToken;
	status_t fInitStatus;
};

#endif
