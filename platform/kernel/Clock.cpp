#include <Clock.h>

#include <atomic>

#include <OS.h>
#include <RealClock.h>

namespace {

// Never destroyed, so that threads still running at exit keep their clock.
BClock& real_clock()
{
	static BRealClock* clock = new BRealClock;
	return *clock;
}

// NULL stands for the real clock, so nothing needs constructing before the
// first call (static constructors already ask for the time).
std::atomic<BClock*> sCurrentClock(nullptr);

}	// namespace

BClock::~BClock() = default;

BClock* current_clock()
{
	BClock* clock = sCurrentClock.load();
	return clock != nullptr ? clock : &real_clock();
}

BClock* set_current_clock(BClock* clock)
{
	BClock* previous = sCurrentClock.exchange(clock == &real_clock() ? nullptr : clock);
	return previous != nullptr ? previous : &real_clock();
}

bigtime_t system_time()
{
	return current_clock()->Now();
}

status_t snooze(bigtime_t microseconds)
{
	BClock* clock = current_clock();
	bigtime_t deadline;
	if (__builtin_add_overflow(clock->Now(), microseconds, &deadline))
		deadline = microseconds > 0 ? B_INFINITE_TIMEOUT : 0;
	clock->SleepUntil(deadline);
	return B_OK;
}

status_t snooze_until(bigtime_t time, int timeBase)
{
	if (timeBase != B_SYSTEM_TIMEBASE)
		return B_BAD_VALUE;
	current_clock()->SleepUntil(time);
	return B_OK;
}
