#ifndef _INTERRUPT_SLEEP_H
#define _INTERRUPT_SLEEP_H

#include <SupportDefs.h>

namespace BPrivate {

// Ends a sleep of `thread` in this layer (snooze, snooze_until, on any
// clock) before its deadline, without ending the thread; the sleep returns
// as usual and the thread looks again at what it was waiting for. An
// interrupt that comes while the thread is not asleep is kept for its next
// sleep, which then returns at once: one given after the thread last looked
// at its work is never lost. Interrupts do not add up. An interrupted sleep
// on the virtual clock leaves the time as it was.
//
// Returns once the thread has left a sleep it was in, so that a stepped
// clock counts it as a sleeper again only when it sleeps anew.
// B_BAD_THREAD_ID for an unknown or finished thread.
status_t interrupt_sleep(thread_id thread);

}	// namespace BPrivate

#endif
