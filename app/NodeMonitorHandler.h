#ifndef NODE_MONITOR_HANDLER_H
#define NODE_MONITOR_HANDLER_H

#include <memory>

#include <Handler.h>

class BMessageRunner;

// Turns the node-monitor notices of the folders and files it watches into
// one message of its code to its looper. Saving or copying a file makes a
// burst of notices; each notice restarts a short quiet time, and only when
// it passes does the code go out, once. Attribute-only changes are ignored.
//
// Runs on its looper's thread.
class TNodeMonitorHandler : public BHandler {
public:
	explicit TNodeMonitorHandler(uint32 code);
	virtual ~TNodeMonitorHandler();

	virtual void MessageReceived(BMessage* message);

	// How long the watched nodes must stay quiet before the code goes out.
	static constexpr bigtime_t kQuietTime = 200000;

private:
	void _RestartQuietTime();

	uint32 fCode;
	std::unique_ptr<BMessageRunner> fRunner;
};

#endif
