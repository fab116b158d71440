#ifndef SONG_END_WAITER_H
#define SONG_END_WAITER_H

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <Looper.h>
#include <Message.h>

#include "SongEndCode.h"

// Counts the end-of-song messages a sequencer posts, for the programs that
// play songs to their end (benchmarks, fuzz targets).
class SongEndWaiter : public BLooper {
public:
	SongEndWaiter() : BLooper("song end") {}

	void MessageReceived(BMessage* message) override
	{
		if (message->what != kMsgSongEnded)
			return BLooper::MessageReceived(message);
		std::lock_guard<std::mutex> lock(fLock);
		fEnds++;
		fChanged.notify_all();
	}

	// Takes the next end; false when none came within `limit`.
	bool WaitForEnd(std::chrono::seconds limit = std::chrono::hours(24))
	{
		std::unique_lock<std::mutex> lock(fLock);
		if (!fChanged.wait_for(lock, limit, [this] { return fEnds > 0; }))
			return false;
		fEnds--;
		return true;
	}

	bool Ended()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fEnds > 0;
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	int fEnds = 0;
};

#endif
