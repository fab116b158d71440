#ifndef _PLAY_THREAD_H
#define _PLAY_THREAD_H

#include <atomic>
#include <condition_variable>
#include <mutex>

#include <Thread.h>

class TSMFProducer;

// Plays a song: sends each tick's events, then sleeps to the next absolute
// deadline, and posts the song's end message when nothing is left.
//
// It lives from the first Play to Stop: a pause suspends it in place of the
// sleep it was in, and Play resumes it. A seek makes the next step due at
// once; the deadlines then count from it.
class TPlayThread : public pelkan::TThread {
public:
	explicit TPlayThread(TSMFProducer* song);
	~TPlayThread() override;

	status_t Execute() override;

	// Written under the song's cursor lock.
	void SetCurrentTick(uint32 tick) { fCurrentTick = tick; }
	uint32 CurrentTick() const { return fCurrentTick; }

	// Stops the thread before it sends anything more; it keeps what was left
	// of the gap it was waiting out and waits that much once resumed. Returns
	// once the thread has suspended itself, at once when it already is
	// suspended or has left its loop (it then ends on its own and posts).
	void Hold();
	// Cuts the thread's sleep short so that it looks at the song again; one
	// that comes while it is awake or suspended is kept for its next sleep.
	void Wake();

private:
	// Sleeps to `deadline`, standing still meanwhile whenever Hold asks;
	// returns the deadline that then applies.
	bigtime_t _SleepUntil(bigtime_t deadline);
	bool _HoldRequested();
	bigtime_t _Suspend(bigtime_t deadline);

	std::atomic<uint32> fCurrentTick;
	TSMFProducer* fSong;

	std::mutex fLock;
	std::condition_variable fCondition;
	bool fHoldRequest;
	bool fLeftLoop;
};

#endif
