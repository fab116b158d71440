#ifndef MESSAGE_INBOX_H
#define MESSAGE_INBOX_H

#include <deque>
#include <mutex>

#include <Looper.h>
#include <Message.h>

// Hands the messages posted to it (the song's end, the roster's changes) to
// a thread that runs no looper: that thread polls FileDescriptor() along
// with its other inputs and takes the messages with Take().
//
// Run() it once; end it with Lock() and Quit().
class TMessageInbox : public BLooper {
public:
	TMessageInbox();
	~TMessageInbox() override;

	// Readable while a message is waiting.
	int FileDescriptor() const { return fEvent; }
	// Moves the oldest waiting message into *message; false when none waits.
	bool Take(BMessage* message);

	void MessageReceived(BMessage* message) override;

private:
	std::mutex fLock;
	std::deque<BMessage> fMessages;
	const int fEvent;
};

#endif
