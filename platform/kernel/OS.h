#ifndef _OS_H
#define _OS_H

#include <SupportDefs.h>

#define B_OS_NAME_LENGTH 32

// Priorities of the original platform. 100 and above ask for real-time
// scheduling, which Linux grants only to privileged processes; elsewhere
// they fall back to the strongest ordinary priority the process may use.
enum {
	B_LOW_PRIORITY = 5,
	B_NORMAL_PRIORITY = 10,
	B_DISPLAY_PRIORITY = 15,
	B_URGENT_DISPLAY_PRIORITY = 20,
	B_REAL_TIME_DISPLAY_PRIORITY = 100,
	B_URGENT_PRIORITY = 110,
	B_REAL_TIME_PRIORITY = 120
};

// Timebases of snooze_until; only the system clock exists here.
enum {
	B_SYSTEM_TIMEBASE = 0
};

typedef enum {
	B_THREAD_RUNNING = 1,
	B_THREAD_READY,
	B_THREAD_RECEIVING,
	B_THREAD_ASLEEP,
	B_THREAD_SUSPENDED,
	B_THREAD_WAITING
} thread_state;

typedef struct {
	thread_id thread;
	team_id team;
	char name[B_OS_NAME_LENGTH];
	thread_state state;
	int32 priority;
} thread_info;

typedef status_t (*thread_func)(void* data);

// Threads are real POSIX threads. A spawned thread starts suspended and runs
// its function once resume_thread (or wait_for_thread) lets it go.
//
// Ending a thread from outside is cooperative: kill_thread asks the thread to
// end, wakes it from any wait of this layer (snooze, snooze_until, suspension,
// a sleep on a test clock) and waits until it has ended. The woken thread
// does not return to its function: its stack is unwound from the wait, so
// destructors run, and the thread ends. A thread that is running elsewhere
// ends at its next such wait, or when its function returns.
thread_id spawn_thread(thread_func function, const char* name, int32 priority,
	void* data);
status_t resume_thread(thread_id thread);
// Only the calling thread can suspend itself (pass find_thread(NULL)); a
// resume that arrives while it is still on its way into suspend_thread is
// kept, and suspend_thread then returns at once.
status_t suspend_thread(thread_id thread);
// From the thread itself, the end is only requested: the thread ends at its
// next wait or when its function returns.
status_t kill_thread(thread_id thread);
// Joins the thread and reports its function's result; a suspended thread is
// resumed first. The result can be collected once.
status_t wait_for_thread(thread_id thread, status_t* exitValue);
status_t rename_thread(thread_id thread, const char* newName);
// Returns the previous priority. A priority the system refuses is recorded
// but not an error.
status_t set_thread_priority(thread_id thread, int32 newPriority);
// NULL names the calling thread; any thread, also one not spawned here,
// gets an id when it first asks.
thread_id find_thread(const char* name);
status_t get_thread_info(thread_id thread, thread_info* info);

// Microseconds of the current clock (see Clock.h); on the real clock,
// CLOCK_MONOTONIC.
bigtime_t system_time();
status_t snooze(bigtime_t microseconds);
status_t snooze_until(bigtime_t time, int timeBase);

#endif
