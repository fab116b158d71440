#include "MessageInbox.h"

#include <cerrno>
#include <cstdint>

#include <sys/eventfd.h>
#include <unistd.h>


TMessageInbox::TMessageInbox()
	:
	BLooper("message inbox"),
	fEvent(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}


TMessageInbox::~TMessageInbox()
{
	if (fEvent >= 0)
		close(fEvent);
}


bool
TMessageInbox::Take(BMessage* message)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (fMessages.empty()) {
		uint64_t count;
		while (read(fEvent, &count, sizeof(count)) > 0) {
		}
		return false;
	}
	*message = fMessages.front();
	fMessages.pop_front();
	return true;
}


void
TMessageInbox::MessageReceived(BMessage* message)
{
	{
		std::lock_guard<std::mutex> lock(fLock);
		fMessages.push_back(*message);
	}
	uint64_t one = 1;
	while (write(fEvent, &one, sizeof(one)) < 0 && errno == EINTR) {
	}
}
