#ifndef _REPLY_ROUTE_H
#define _REPLY_ROUTE_H

#include <condition_variable>
#include <memory>
#include <mutex>

#include <Messenger.h>

class BHandler;
class BMessage;

namespace BPrivate {

// A synchronous sender waiting for the answer to its message.
class ReplyWaiter {
public:
	ReplyWaiter();
	~ReplyWaiter();

	// The first answer counts; a later one gets B_DUPLICATE_REPLY.
	status_t Deliver(const BMessage& reply);
	// B_NO_REPLY, if nobody answered when the message was dropped.
	void Abandon();
	bool IsAnswered();

	// B_TIMED_OUT after `timeout` µs of real time.
	status_t Wait(bigtime_t timeout, BMessage* reply);

private:
	std::mutex fMutex;
	std::condition_variable fAnswered;
	std::unique_ptr<BMessage> fReply;
};

// Travels with a message whose sender waits: when the message is gone
// unanswered (handled without a reply, dropped, or its looper deleted), the
// sender is released with B_NO_REPLY instead of waiting forever.
class ReplyPromise {
public:
	ReplyPromise() = default;
	explicit ReplyPromise(std::shared_ptr<ReplyWaiter> waiter);
	ReplyPromise(ReplyPromise&& other) noexcept = default;
	ReplyPromise& operator=(ReplyPromise&& other) noexcept;
	~ReplyPromise();

	bool HasWaiter() const { return fWaiter != nullptr; }
	// A waiter not answered yet.
	bool IsWaiting() const;
	status_t Keep(const BMessage& reply);

private:
	std::shared_ptr<ReplyWaiter> fWaiter;
};

// How to answer a message while its looper dispatches it. The route lives
// from the start of the dispatch to its end (also for a detached message:
// after the dispatch it can no longer be answered).
struct ReplyRoute {
	BMessenger replyTo;
	ReplyPromise promise;
};

void open_reply_route(const BMessage* message, ReplyRoute&& route);
void close_reply_route(const BMessage* message);

// What BMessage::SendReply and friends do. Without a route the answer goes
// to the application, as on the original platform; B_BAD_REPLY without one.
status_t send_reply(const BMessage* message, const BMessage* reply,
	BHandler* replyTo, bigtime_t timeout);
bool is_source_waiting(const BMessage* message);
BMessenger return_address(const BMessage* message);

}

#endif
