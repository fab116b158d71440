#ifndef _STEPPED_CLOCK_H
#define _STEPPED_CLOCK_H

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include <Clock.h>

namespace BPrivate {
class ThreadRecord;
}

// Time that moves only when a test moves it. Sleepers wake when Advance or
// AdvanceTo passes their deadline, one at a time in deadline order (equal
// deadlines in the order they went to sleep). Now() reads each sleeper's
// deadline at the moment it wakes, and the next sleeper is woken only once
// the previous one has come to rest: asleep again, suspended, waiting in a
// blocking call of the layer, or ended. A sequencer stepped this way behaves
// exactly as on real time with an ideal scheduler, and a test that returns
// from Advance can look at the results without waiting.
class BSteppedClock : public BClock {
public:
	explicit BSteppedClock(bigtime_t start = 0);
	// Wakes every remaining sleeper (as if its deadline had come) and waits
	// until they have left the clock.
	~BSteppedClock() override;

	bigtime_t Now() override;
	void SleepUntil(bigtime_t deadline) override;

	// B_BAD_VALUE for a time before Now(). B_TIMED_OUT when a woken thread
	// did not come to rest within a few seconds (a test fault: it then runs
	// on while the clock goes on waking the others).
	status_t AdvanceTo(bigtime_t time);
	status_t Advance(bigtime_t microseconds);

	int32 CountSleepers();
	// B_INFINITE_TIMEOUT when nobody sleeps.
	bigtime_t NextDeadline();
	// Waits, at most `timeout` microseconds of real time, until at least
	// `count` threads sleep on this clock.
	bool WaitForSleepers(int32 count, bigtime_t timeout);

private:
	typedef std::pair<bigtime_t, uint64> SleeperKey;

	// Called with fLock held.
	std::shared_ptr<BPrivate::ThreadRecord> _WakeFirst();

	std::mutex fAdvanceLock;
	std::mutex fLock;
	std::condition_variable fCondition;
	bigtime_t fNow;
	uint64 fNextSequence;
	int32 fThreadsInside;
	std::map<SleeperKey, std::shared_ptr<BPrivate::ThreadRecord>> fSleepers;
};

#endif
