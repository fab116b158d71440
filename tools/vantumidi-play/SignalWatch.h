#ifndef SIGNAL_WATCH_H
#define SIGNAL_WATCH_H

#include <signal.h>

// Turns SIGINT, SIGTERM and SIGHUP into a readable file descriptor, so the
// main thread notices them in its poll and can silence the devices in
// peace instead of in a signal handler. Construct it before any thread
// starts: the threads inherit the blocked mask, so the signals wait for
// the descriptor instead of interrupting some thread. The signals stay
// blocked for the rest of the run: a second Ctrl-C must not cut the
// silencing short.
class TSignalWatch {
public:
	TSignalWatch();
	~TSignalWatch();

	TSignalWatch(const TSignalWatch&) = delete;
	TSignalWatch& operator=(const TSignalWatch&) = delete;

	// -1 when the system refused.
	int FileDescriptor() const { return fDescriptor; }
	// The signal that arrived, 0 if none; it stays the answer afterwards.
	int Received();

private:
	int fDescriptor;
	int fReceived;
};

#endif
