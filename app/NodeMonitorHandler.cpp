#include "NodeMonitorHandler.h"

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <MessageRunner.h>
#include <NodeMonitor.h>

namespace {

// Sent by the runner to the handler itself when the quiet time has passed.
const uint32 kMsgQuietTimePassed = 'nmqt';

}	// namespace


TNodeMonitorHandler::TNodeMonitorHandler(uint32 code)
	:
	fCode(code)
{
}


TNodeMonitorHandler::~TNodeMonitorHandler()
{
}


void
TNodeMonitorHandler::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case B_NODE_MONITOR:
		{
			int32 opcode = 0;
			if (message->FindInt32("opcode", &opcode) == B_OK
				&& opcode == B_ATTR_CHANGED) {
				break;
			}
			_RestartQuietTime();
			break;
		}
		case kMsgQuietTimePassed:
			fRunner.reset();
			if (Looper() != NULL)
				Looper()->PostMessage(fCode);
			break;
		default:
			BHandler::MessageReceived(message);
	}
}


void
TNodeMonitorHandler::_RestartQuietTime()
{
	// A runner that has sent its message refuses the new interval; its
	// message is then on its way and ends the quiet time, so a new one starts.
	if (fRunner != nullptr && fRunner->SetInterval(kQuietTime) == B_OK)
		return;
	const BMessage passed(kMsgQuietTimePassed);
	fRunner = std::make_unique<BMessageRunner>(BMessenger(this), &passed, kQuietTime, 1);
}
