#ifndef _INVOKER_H
#define _INVOKER_H

#include <AppDefs.h>
#include <Messenger.h>

class BHandler;
class BLooper;
class BMessage;

// Sends a model message to a target. Invoke() only queues a copy, so it is
// safe from any thread, also threads that run no looper.
class BInvoker {
public:
	BInvoker();
	// Takes ownership of `message`.
	BInvoker(BMessage* message, const BHandler* handler,
		const BLooper* looper = NULL);
	BInvoker(BMessage* message, BMessenger target);
	virtual ~BInvoker();

	// Takes ownership of `message` (NULL: none) and deletes the previous one.
	virtual status_t SetMessage(BMessage* message);
	BMessage* Message() const;
	uint32 Command() const;

	// The handler must already belong to a looper (or name only the looper,
	// whose preferred handler then receives the messages).
	virtual status_t SetTarget(const BHandler* handler,
		const BLooper* looper = NULL);
	virtual status_t SetTarget(BMessenger messenger);
	bool IsTargetLocal() const;
	BHandler* Target(BLooper** looper = NULL) const;
	BMessenger Messenger() const;

	virtual status_t SetHandlerForReply(BHandler* handler);
	BHandler* HandlerForReply() const;

	// Sends `message`, or the invoker's own message when NULL; B_BAD_VALUE
	// when there is neither.
	virtual status_t Invoke(BMessage* message = NULL);
	// As Invoke(), with InvokeKind() telling `kind` meanwhile.
	status_t InvokeNotify(BMessage* message,
		uint32 kind = B_CONTROL_INVOKED);
	status_t SetTimeout(bigtime_t timeout);
	bigtime_t Timeout() const;

protected:
	// The kind of the InvokeNotify() in progress; B_CONTROL_INVOKED outside
	// of one. `notify` tells whether one is in progress.
	uint32 InvokeKind(bool* notify = NULL);
	void BeginInvokeNotify(uint32 kind = B_CONTROL_INVOKED);
	void EndInvokeNotify();

private:
	BInvoker(const BInvoker&) = delete;
	BInvoker& operator=(const BInvoker&) = delete;

	BMessage* fMessage;
	BMessenger fMessenger;
	BHandler* fReplyTo;
	bigtime_t fTimeout;
	uint32 fNotifyKind;
	bool fNotifyCalled;
};

#endif
