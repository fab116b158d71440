#ifndef CONTROLS_TEST_SUPPORT_H
#define CONTROLS_TEST_SUPPORT_H

// Shared by the tests of the controls, menus, lists, alerts and file panels.

#include <vector>

#include <Looper.h>
#include <Message.h>
#include <Messenger.h>

#include "../../support/RecordingLooper.h"
#include "InterfaceTestSupport.h"

namespace controls_test {

using interface_test::pump_until;
using interface_test::settle;


// The GUI application the native controls need.
inline void
init_gui()
{
	BPrivate::ensure_interface_kit();
}


// A field of a received message; -1 when it is missing.
inline int32
int32_of(const BMessage& message, const char* name, int32 index = 0)
{
	int32 value = -1;
	message.FindInt32(name, index, &value);
	return value;
}


// The shared recording looper, running on its own thread: a message target
// that needs no GUI. Its waits run the GUI loop, which the controls sending
// the messages need.
class Recorder : public RecordingLooper {
public:
	Recorder() { Run(); }

	size_t Count() { return Log().Count(); }
	std::vector<BMessage> Messages() { return Log().Messages(); }

	// Runs the GUI loop until `count` messages have come; false when the
	// watchdog runs out first.
	bool WaitFor(size_t count) { return pump_until([this, count]() { return Count() >= count; }); }

	// Nothing more arrives while the GUI runs a little longer.
	bool StaysAt(size_t count)
	{
		for (int i = 0; i < 4; i++)
			settle();
		return Count() == count;
	}

	BMessenger Messenger() const { return BMessenger(this); }
};

}

#endif
