#ifndef TESTS_SUPPORT_MESSAGE_LOG_H
#define TESTS_SUPPORT_MESSAGE_LOG_H

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <Message.h>

// What the handlers of a test received, in order, from whatever thread.
//
// Every wait is bounded: a message that never comes fails the test (the
// wait answers false) instead of hanging it. The bound is a watchdog, not a
// timing expectation.
class MessageLog {
public:
	static constexpr std::chrono::milliseconds kWatchdog = std::chrono::seconds(10);

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

	bool WaitForCount(size_t count, std::chrono::milliseconds limit = kWatchdog)
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, limit,
			[&] { return fEntries.size() >= count; });
	}

	// Waits for a message with this code and returns how many entries came
	// before it (-1 when it never came).
	int32 WaitFor(uint32 what, std::chrono::milliseconds limit = kWatchdog)
	{
		std::unique_lock<std::mutex> lock(fLock);
		int32 index = -1;
		fChanged.wait_for(lock, limit, [&] {
			index = _IndexOf(what);
			return index >= 0;
		});
		return index;
	}

	// Waits until `count` messages with this code have arrived.
	bool WaitForCountOf(uint32 what, size_t count,
		std::chrono::milliseconds limit = kWatchdog)
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, limit, [&] {
			return (size_t)std::count_if(fEntries.begin(), fEntries.end(),
				[what](const Entry& entry) { return entry.message.what == what; })
				>= count;
		});
	}

	// Waits for the first message with code `marker`, then removes it and
	// every entry before it from the log and returns those entries' messages
	// (all entries when the marker never came).
	std::vector<BMessage> TakeBefore(uint32 marker,
		std::chrono::milliseconds limit = kWatchdog)
	{
		std::unique_lock<std::mutex> lock(fLock);
		int32 index = -1;
		fChanged.wait_for(lock, limit, [&] {
			index = _IndexOf(marker);
			return index >= 0;
		});
		size_t end = index >= 0 ? (size_t)index : fEntries.size();
		std::vector<BMessage> messages;
		for (size_t i = 0; i < end; i++)
			messages.push_back(fEntries[i].message);
		fEntries.erase(fEntries.begin(),
			fEntries.begin() + std::min(end + 1, fEntries.size()));
		return messages;
	}

	std::vector<Entry> Entries()
	{
		std::lock_guard<std::mutex> guard(fLock);
		return fEntries;
	}

	std::vector<BMessage> Messages()
	{
		std::lock_guard<std::mutex> guard(fLock);
		std::vector<BMessage> messages;
		for (const Entry& entry : fEntries)
			messages.push_back(entry.message);
		return messages;
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
	int32 _IndexOf(uint32 what) const
	{
		for (size_t i = 0; i < fEntries.size(); i++) {
			if (fEntries[i].message.what == what)
				return (int32)i;
		}
		return -1;
	}

	std::mutex fLock;
	std::condition_variable fChanged;
	std::vector<Entry> fEntries;
};

#endif
