#ifndef _PLAY_THREAD_H
#define _PLAY_THREAD_H

#include <atomic>
#include <mutex>

#include <Thread.h>

class TSMFProducer;

// Plays a song: sends each tick's events, then sleeps to the next absolute
// deadline, and posts the song's end message when nothing is left.
//
// The platform's sleeps can only be cut short by ending the thread, so a
// pause ends it at its sleep (see Halt) and a new thread continues from the
// tick and the part of the gap this one left.
class TPlayThread : public pelkan::TThread {
public:
	TPlayThread(TSMFProducer* song, uint32 startTick = 0,
		bigtime_t startGap = 0);
	~TPlayThread() override;

	status_t Execute() override;

	// Written under the song's cursor lock.
	void SetCurrentTick(uint32 tick) { fCurrentTick = tick; }
	uint32 CurrentTick() const { return fCurrentTick; }

	// Ends the thread before it sends anything more, and without the end
	// message; returns when it has ended. False, doing nothing, once the
	// thread has left its loop: it then ends on its own and posts.
	bool Halt();
	// After Halt: how much of the gap it was sleeping was still left at `now`.
	bigtime_t RemainingGap(bigtime_t now);

private:
	std::atomic<uint32> fCurrentTick;
	TSMFProducer* fSong;
	const bigtime_t fStartGap;

	std::mutex fLock;
	bool fStarted;
	bool fHalted;
	bool fLeftLoop;
	bigtime_t fDeadline;
};

#endif
