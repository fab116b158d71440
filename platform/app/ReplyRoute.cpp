#include "ReplyRoute.h"

#include <unordered_map>

#include <AppDefs.h>
#include <Application.h>
#include <Message.h>

#include "TimedWait.h"

namespace BPrivate {

ReplyWaiter::ReplyWaiter() = default;
ReplyWaiter::~ReplyWaiter() = default;


status_t
ReplyWaiter::Deliver(const BMessage& reply)
{
	{
		std::lock_guard<std::mutex> guard(fMutex);
		if (fReply != nullptr)
			return B_DUPLICATE_REPLY;
		fReply = std::make_unique<BMessage>(reply);
	}
	fAnswered.notify_all();
	return B_OK;
}


void
ReplyWaiter::Abandon()
{
	Deliver(BMessage(B_NO_REPLY));
}


bool
ReplyWaiter::IsAnswered()
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fReply != nullptr;
}


status_t
ReplyWaiter::Wait(bigtime_t timeout, BMessage* reply)
{
	std::unique_lock<std::mutex> lock(fMutex);
	if (!timed_wait(fAnswered, lock, timeout,
			[this] { return fReply != nullptr; })) {
		return B_TIMED_OUT;
	}
	*reply = *fReply;
	return B_OK;
}


ReplyPromise::ReplyPromise(std::shared_ptr<ReplyWaiter> waiter)
	:
	fWaiter(std::move(waiter))
{
}


ReplyPromise&
ReplyPromise::operator=(ReplyPromise&& other) noexcept
{
	if (this != &other) {
		if (fWaiter != nullptr)
			fWaiter->Abandon();
		fWaiter = std::move(other.fWaiter);
	}
	return *this;
}


ReplyPromise::~ReplyPromise()
{
	if (fWaiter != nullptr)
		fWaiter->Abandon();
}


bool
ReplyPromise::IsWaiting() const
{
	return fWaiter != nullptr && !fWaiter->IsAnswered();
}


status_t
ReplyPromise::Keep(const BMessage& reply)
{
	if (fWaiter == nullptr)
		return B_BAD_REPLY;
	return fWaiter->Deliver(reply);
}


namespace {

struct RouteTable {
	std::mutex mutex;
	std::unordered_map<const BMessage*, ReplyRoute> routes;
};


RouteTable&
route_table()
{
	// Never destroyed: loopers may still dispatch while statics go away.
	static RouteTable* table = new RouteTable;
	return *table;
}

}


void
open_reply_route(const BMessage* message, ReplyRoute&& route)
{
	RouteTable& table = route_table();
	std::lock_guard<std::mutex> guard(table.mutex);
	table.routes.insert_or_assign(message, std::move(route));
}


void
close_reply_route(const BMessage* message)
{
	RouteTable& table = route_table();
	ReplyRoute closed;
	{
		std::lock_guard<std::mutex> guard(table.mutex);
		auto found = table.routes.find(message);
		if (found == table.routes.end())
			return;
		closed = std::move(found->second);
		table.routes.erase(found);
	}
	// `closed` releases an unanswered sender here, outside the table lock.
}


status_t
send_reply(const BMessage* message, const BMessage* reply, BHandler* replyTo,
	bigtime_t timeout)
{
	if (message == NULL || reply == NULL)
		return B_BAD_VALUE;

	BMessenger target;
	{
		RouteTable& table = route_table();
		std::lock_guard<std::mutex> guard(table.mutex);
		auto found = table.routes.find(message);
		if (found != table.routes.end()) {
			if (found->second.promise.HasWaiter())
				return found->second.promise.Keep(*reply);
			target = found->second.replyTo;
		}
	}
	if (!target.IsValid())
		target = be_app_messenger;
	if (!target.IsValid())
		return B_BAD_REPLY;
	return target.SendMessage(const_cast<BMessage*>(reply), replyTo, timeout);
}


bool
is_source_waiting(const BMessage* message)
{
	RouteTable& table = route_table();
	std::lock_guard<std::mutex> guard(table.mutex);
	auto found = table.routes.find(message);
	return found != table.routes.end() && found->second.promise.IsWaiting();
}


BMessenger
return_address(const BMessage* message)
{
	RouteTable& table = route_table();
	std::lock_guard<std::mutex> guard(table.mutex);
	auto found = table.routes.find(message);
	return found != table.routes.end() ? found->second.replyTo : BMessenger();
}

}
