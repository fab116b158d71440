#include <Handler.h>

#include <algorithm>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <MessageFilter.h>

#include "HandlerPrivate.h"
#include "HandlerRegistry.h"
#include "LooperPort.h"
#include "MessageFilterPrivate.h"

using BPrivate::HandlerRegistry;

B_REGISTER_ARCHIVABLE_CLASS(BHandler);

BHandler::BHandler(const char* name)
	:
	fToken(HandlerRegistry::Default().AddHandler(this)),
	fName(name != NULL ? name : ""),
	fHasName(name != NULL),
	fLooper(NULL),
	fNextHandler(NULL)
{
}


BHandler::BHandler(BMessage* archive)
	:
	BHandler(archive != NULL ? archive->FindString("_name") : NULL)
{
}


BArchivable*
BHandler::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "BHandler"))
		return NULL;
	return new BHandler(archive);
}


status_t
BHandler::Archive(BMessage* into, bool deep) const
{
	status_t status = BArchivable::Archive(into, deep);
	if (status != B_OK || !fHasName)
		return status;
	return into->AddString("_name", fName.c_str());
}


BHandler::~BHandler()
{
	if (LockLooper()) {
		BLooper* looper = Looper();
		looper->RemoveHandler(this);
		looper->Unlock();
	}
	for (BMessageFilter* filter : fFilters)
		delete filter;
	HandlerRegistry::Default().RemoveHandler(fToken);
}


void
BHandler::MessageReceived(BMessage* message)
{
	if (fNextHandler != NULL) {
		fNextHandler->MessageReceived(message);
		return;
	}
	if (message->IsSourceWaiting())
		message->SendReply(B_MESSAGE_NOT_UNDERSTOOD);
}


BLooper*
BHandler::Looper() const
{
	return fLooper.load();
}


void
BHandler::SetName(const char* name)
{
	fName = name != NULL ? name : "";
	fHasName = name != NULL;
}


const char*
BHandler::Name() const
{
	return fHasName ? fName.c_str() : NULL;
}


void
BHandler::SetNextHandler(BHandler* handler)
{
	fNextHandler = handler;
}


BHandler*
BHandler::NextHandler() const
{
	return fNextHandler;
}


bool
BHandler::LockLooper()
{
	return LockLooperWithTimeout(B_INFINITE_TIMEOUT) == B_OK;
}


status_t
BHandler::LockLooperWithTimeout(bigtime_t timeout)
{
	HandlerRegistry& registry = HandlerRegistry::Default();
	std::shared_ptr<BPrivate::LooperPort> port = registry.PortOfHandler(fToken);
	if (port == nullptr)
		return B_BAD_VALUE;
	status_t status = port->Lock(timeout);
	if (status != B_OK)
		return status;
	// The handler may have moved to another looper while we waited.
	if (registry.HandlerIn(fToken, port->Token()) != this) {
		port->Unlock();
		return B_MISMATCHED_VALUES;
	}
	return B_OK;
}


void
BHandler::UnlockLooper()
{
	BLooper* looper = Looper();
	if (looper != NULL)
		looper->Unlock();
}


void
BHandler::AddFilter(BMessageFilter* filter)
{
	if (filter == NULL || BMessageFilter::Private::IsOwned(filter))
		return;
	BMessageFilter::Private::SetOwner(filter, NULL, this);
	fFilters.push_back(filter);
}


bool
BHandler::RemoveFilter(BMessageFilter* filter)
{
	auto found = std::find(fFilters.begin(), fFilters.end(), filter);
	if (found == fFilters.end())
		return false;
	fFilters.erase(found);
	BMessageFilter::Private::SetOwner(filter, NULL, NULL);
	return true;
}


int32
BHandler::CountFilters() const
{
	return (int32)fFilters.size();
}


BMessageFilter*
BHandler::FilterAt(int32 index) const
{
	if (index < 0 || index >= CountFilters())
		return NULL;
	return fFilters[index];
}


void
BHandler::Private::SetLooper(BHandler* handler, BLooper* looper)
{
	handler->fLooper.store(looper);
	HandlerRegistry::Default().SetHandlerLooper(handler->fToken,
		looper != NULL ? Token(looper) : BPrivate::B_NULL_TOKEN);
}
