#ifndef _RECORDED_PRIORITY_H
#define _RECORDED_PRIORITY_H

#include <SupportDefs.h>

namespace BPrivate {

// A thread shared by several loopers (the GUI thread that runs every window)
// must not take the priority one of them asks for: from now on
// set_thread_priority() on it only remembers the value, which
// get_thread_info() reports. B_BAD_THREAD_ID for an unknown or finished
// thread.
status_t keep_thread_priority_recorded(thread_id thread);

}	// namespace BPrivate

#endif
