#ifndef _HANDLER_H
#define _HANDLER_H

#include <atomic>
#include <string>
#include <vector>

#include <Archivable.h>
#include <SupportDefs.h>

class BLooper;
class BMessage;
class BMessageFilter;

// Receives the messages its looper dispatches to it.
//
// A handler belongs to at most one looper. It is addressed from other threads
// through a BMessenger, which names it by a token: a handler deleted while
// messages for it wait makes those messages be dropped, not delivered.
class BHandler : public BArchivable {
public:
	BHandler(const char* name = NULL);
	// From an archive: takes the name stored in "_name".
	BHandler(BMessage* archive);
	// Leaves its looper first, when it is still in one.
	virtual ~BHandler();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* into, bool deep = true) const;

	// The default passes the message to the next handler. At the end of the
	// chain a sender waiting for an answer gets B_MESSAGE_NOT_UNDERSTOOD;
	// anything else is dropped.
	virtual void MessageReceived(BMessage* message);

	BLooper* Looper() const;
	void SetName(const char* name);
	const char* Name() const;
	virtual void SetNextHandler(BHandler* handler);
	BHandler* NextHandler() const;

	// Locks the looper the handler belongs to; false when it belongs to none,
	// the looper is gone, or the handler left it meanwhile.
	bool LockLooper();
	status_t LockLooperWithTimeout(bigtime_t timeout);
	void UnlockLooper();

	// Filters run for messages dispatched to this handler, after the
	// looper's common filters. The handler owns the filters it holds.
	virtual void AddFilter(BMessageFilter* filter);
	virtual bool RemoveFilter(BMessageFilter* filter);
	int32 CountFilters() const;
	BMessageFilter* FilterAt(int32 index) const;

	class Private;

private:
	friend class Private;

	BHandler(const BHandler&) = delete;
	BHandler& operator=(const BHandler&) = delete;

	const int32 fToken;
	std::string fName;
	bool fHasName;
	std::atomic<BLooper*> fLooper;
	BHandler* fNextHandler;
	std::vector<BMessageFilter*> fFilters;
};

#endif
