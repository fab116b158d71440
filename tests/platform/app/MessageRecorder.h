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

// What the handlers of a test received, in order, from whatever thread.
class MessageLog {
public:
	struct Entry {
		BMessage message;
		std::string receiver;
	};

	// Notifies under the lock: a test may destroy the log as soon as it
	// sees the entry, while this thread would still be inside notify_all().
	void Add(const BMessage& message, const char* receiver)
	{
		std::lock_guard<std::mutex> guard(fLock);
		fEntries.push_back({message, receiver != NULL ? receiver : ""});
		fChanged.notify_all();
	}

	// Bounded: a message that never comes fails the test instead of
	// hanging it.
	bool WaitForCount(size_t count,
		std::chrono::milliseconds limit = std::chrono::seconds(10))
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, limit,
			[&] { return fEntries.size() >= count; });
	}

	// Waits for a message with this code and returns how many entries came
	// before it (-1 when it never came).
	int32 WaitFor(uint32 what,
		std::chrono::milliseconds limit = std::chrono::seconds(10))
	{
		std::unique_lock<std::mutex> lock(fLock);
		int32 index = -1;
		fChanged.wait_for(lock, limit, [&] {
			for (size_t i = 0; i < fEntries.size(); i++) {
				if (fEntries[i].message.what == what) {
					index = (int32)i;
					return true;
				}
			}
			return false;
		});
		return index;
	}

	// Waits until `count` messages with this code have arrived.
	bool WaitForCountOf(uint32 what, size_t count,
		std::chrono::milliseconds limit = std::chrono::seconds(10))
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, limit, [&] {
			size_t found = 0;
			for (const Entry& entry : fEntries)
				found += entry.message.what == what;
			return found >= count;
		});
	}

	std::vector<Entry> Entries()
	{
		std::lock_guard<std::mutex> guard(fLock);
		return fEntries;
	}

	std::vector<uint32> Whats()
	{
		std::lock_guard<std::mutex> guard(fLock);
		std::vector<uint32> whats;
		for (const Entry& entry : fEntries)
			whats.push_back(entry.message.what);
		return whats;
	}

	size_t Count()
	{
		std::lock_guard<std::mutex> guard(fLock);
		return fEntries.size();
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	std::vector<Entry> fEntries;
};


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


// A looper that records what reaches it and tells when it is destroyed.
class RecordingLooper : public BLooper {
public:
	RecordingLooper(MessageLog& log, const char* name = "recorder")
		:
		BLooper(name),
		fLog(log)
	{
	}

	~RecordingLooper() override
	{
		BMessage gone('gone');
		gone.AddInt32("thread", find_thread(NULL));
		fLog.Add(gone, Name());
	}

	void MessageReceived(BMessage* message) override
	{
		fLog.Add(*message, Name());
	}

private:
	MessageLog& fLog;
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
