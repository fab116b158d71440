#ifndef POINTER_PROBE_H
#define POINTER_PROBE_H

#include <Point.h>
#include <SupportDefs.h>

// Where a view that follows a press reads the pointer: the window's input,
// or a script in a test.
class TPointerProbe {
public:
	virtual ~TPointerProbe();

	// The pointer in the view's coordinates and the buttons held.
	virtual void GetMouse(BPoint* where, uint32* buttons) = 0;
	// Waits before the next reading.
	virtual void Wait() = 0;
};

#endif
