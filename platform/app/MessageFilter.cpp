#include <MessageFilter.h>

#include <Handler.h>
#include <Message.h>

BMessageFilter::BMessageFilter(uint32 what, filter_hook hook)
	:
	fCommand(what),
	fFiltersAny(false),
	fDelivery(B_ANY_DELIVERY),
	fSource(B_ANY_SOURCE),
	fHook(hook),
	fLooper(NULL),
	fHandler(NULL)
{
}


BMessageFilter::BMessageFilter(message_delivery delivery,
	message_source source, filter_hook hook)
	:
	fCommand(0),
	fFiltersAny(true),
	fDelivery(delivery),
	fSource(source),
	fHook(hook),
	fLooper(NULL),
	fHandler(NULL)
{
}


BMessageFilter::BMessageFilter(message_delivery delivery,
	message_source source, uint32 what, filter_hook hook)
	:
	fCommand(what),
	fFiltersAny(false),
	fDelivery(delivery),
	fSource(source),
	fHook(hook),
	fLooper(NULL),
	fHandler(NULL)
{
}


// A copy matches the same messages but belongs to nobody yet.
BMessageFilter::BMessageFilter(const BMessageFilter& other)
	:
	fCommand(other.fCommand),
	fFiltersAny(other.fFiltersAny),
	fDelivery(other.fDelivery),
	fSource(other.fSource),
	fHook(other.fHook),
	fLooper(NULL),
	fHandler(NULL)
{
}


BMessageFilter&
BMessageFilter::operator=(const BMessageFilter& other)
{
	fCommand = other.fCommand;
	fFiltersAny = other.fFiltersAny;
	fDelivery = other.fDelivery;
	fSource = other.fSource;
	fHook = other.fHook;
	return *this;
}


BMessageFilter::~BMessageFilter()
{
}


filter_result
BMessageFilter::Filter(BMessage* message, BHandler** target)
{
	if (fHook != NULL)
		return fHook(message, target, this);
	return B_DISPATCH_MESSAGE;
}


BLooper*
BMessageFilter::Looper() const
{
	if (fLooper != NULL)
		return fLooper;
	return fHandler != NULL ? fHandler->Looper() : NULL;
}


bool
BMessageFilter::_Matches(const BMessage* message) const
{
	if (!fFiltersAny && message->what != fCommand)
		return false;

	const bool dropped = message->WasDropped();
	if ((fDelivery == B_DROPPED_DELIVERY && !dropped)
		|| (fDelivery == B_PROGRAMMED_DELIVERY && dropped)) {
		return false;
	}

	// Every message posted inside this process is local; only a drop that
	// began in another program comes from a remote source.
	const bool remote = dropped && message->IsSourceRemote();
	return fSource == B_ANY_SOURCE
		|| (fSource == B_REMOTE_SOURCE) == remote;
}
