#ifndef TESTS_PLATFORM_APP_MESSAGE_RECORDER_H
#define TESTS_PLATFORM_APP_MESSAGE_RECORDER_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <Handler.h>
#include <Looper.h>
#include <Message.h>

#include "../kernel/Watchdog.h"
#include "../../support/MessageLog.h"
#include "../../support/RecordingLooper.h"

// Records every message whose code it does not pass on.
class RecordingHandler : public BHandler {
public:
	RecordingHandler(MessageLog& log, const char* name, uint32 passOn = 0)
		:
		BHandler(name),
		fLog(log),
		fPassOn(passOn)
	{
	}

	void MessageReceived(BMessage* message) override
	{
		if (fPassOn != 0 && message->what == fPassOn)
			BHandler::MessageReceived(message);
		else
			fLog.Add(*message, Name());
	}

private:
	MessageLog& fLog;
	uint32 fPassOn;
};


// A one-way gate: threads wait at it (bounded) until a test opens it.
class Gate {
public:
	void Open()
	{
		std::lock_guard<std::mutex> guard(fLock);
		fOpen = true;
		fOpened.notify_all();
	}

	bool Wait(std::chrono::milliseconds limit = std::chrono::seconds(10))
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fOpened.wait_for(lock, limit, [this] { return fOpen; });
	}

private:
	std::mutex fLock;
	std::condition_variable fOpened;
	bool fOpen = false;
};


// Ends a running looper from a thread that is not its own.
inline void
quit_looper(BLooper* looper)
{
	if (looper->Lock())
		looper->Quit();
}


// Lock() on a looper that may have been deleted. Calling a member of a
// deleted object is exactly the case under test, so the dynamic-type check
// of the sanitizer, which would read the freed object, is off here; Lock()
// itself never touches it.
__attribute__((no_sanitize("vptr"))) inline bool
lock_possibly_deleted(BLooper* looper)
{
	return looper->Lock();
}

#endif
