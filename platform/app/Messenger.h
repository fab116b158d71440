#ifndef _MESSENGER_H
#define _MESSENGER_H

#include <SupportDefs.h>

class BHandler;
class BLooper;
class BMessage;

// The address of a handler: a small value that stays safe to use after its
// target is gone (sending then fails with B_BAD_HANDLER). Its 24 bytes are
// what a B_MESSENGER_TYPE field stores.
//
// Only targets inside this process exist; a messenger made from an
// application signature is valid for this application's own signature.
class BMessenger {
public:
	constexpr BMessenger()
		:
		fPort(-1),
		fHandlerToken(-1),
		fTeam(-1),
		fReserved{}
	{
	}
	BMessenger(const char* signature, team_id team = -1,
		status_t* result = NULL);
	BMessenger(const BHandler* handler, const BLooper* looper = NULL,
		status_t* result = NULL);
	BMessenger(const BMessenger& other) = default;
	BMessenger& operator=(const BMessenger& other) = default;
	~BMessenger() = default;

	bool IsTargetLocal() const;
	// The target handler (NULL when the looper's preferred handler is
	// targeted) and its looper. The pointers are only safe to use while the
	// looper cannot go away, e.g. with it locked.
	BHandler* Target(BLooper** looper) const;
	bool LockTarget() const;
	status_t LockTargetWithTimeout(bigtime_t timeout) const;

	// Waits only until the message is queued (never for the receiver, whose
	// queue has no limit), so `timeout` is never reached.
	status_t SendMessage(uint32 command, BHandler* replyTo = NULL) const;
	status_t SendMessage(BMessage* message, BHandler* replyTo = NULL,
		bigtime_t timeout = B_INFINITE_TIMEOUT) const;
	status_t SendMessage(BMessage* message, BMessenger replyTo,
		bigtime_t timeout = B_INFINITE_TIMEOUT) const;
	// Synchronous: waits for the handler's answer (BMessage::SendReply). A
	// handler that returns without answering answers B_NO_REPLY. Sending to
	// a looper that dispatches on the calling thread fails with
	// B_MESSAGE_TO_SELF instead of waiting forever.
	status_t SendMessage(uint32 command, BMessage* reply) const;
	status_t SendMessage(BMessage* message, BMessage* reply,
		bigtime_t deliveryTimeout = B_INFINITE_TIMEOUT,
		bigtime_t replyTimeout = B_INFINITE_TIMEOUT) const;

	status_t SetTo(const char* signature, team_id team = -1);
	status_t SetTo(const BHandler* handler, const BLooper* looper = NULL);

	bool operator==(const BMessenger& other) const;
	bool operator!=(const BMessenger& other) const;
	// An arbitrary but stable order, for sorted containers.
	bool operator<(const BMessenger& other) const;

	bool IsValid() const;
	team_id Team() const;

private:
	status_t _Deliver(BMessage* message, const BMessenger& replyTo) const;

	int32 fPort;
	int32 fHandlerToken;
	team_id fTeam;
	int32 fReserved[3];
};

#endif
