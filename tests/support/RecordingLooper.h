#ifndef TESTS_SUPPORT_RECORDING_LOOPER_H
#define TESTS_SUPPORT_RECORDING_LOOPER_H

#include <vector>

#include <gtest/gtest.h>

#include <Looper.h>
#include <Message.h>
#include <OS.h>

#include "MessageLog.h"

// A looper that records every message reaching it, for a test on another
// thread to wait for (bounded, see MessageLog). It keeps its own log unless
// given one shared with other receivers; when it is destroyed it adds a
// 'gone' entry naming its thread.
class RecordingLooper : public BLooper {
public:
	static constexpr uint32 kMarker = 'mark';

	explicit RecordingLooper(const char* name = "recorder")
		:
		RecordingLooper(fOwnLog, name)
	{
	}

	RecordingLooper(MessageLog& log, const char* name = "recorder")
		:
		BLooper(name),
		fLog(log)
	{
	}

	~RecordingLooper() override
	{
		BMessage gone('gone');
		gone.AddInt32("thread", find_thread(NULL));
		fLog.Add(gone, Name());
	}

	void MessageReceived(BMessage* message) override
	{
		fLog.Add(*message, Name());
	}

	MessageLog& Log() { return fLog; }

	// What arrived before a marker posted now, once the marker has come; the
	// log is emptied up to the marker. The looper must be running.
	std::vector<BMessage> Drain()
	{
		PostMessage(kMarker);
		EXPECT_GE(fLog.WaitFor(kMarker), 0) << Name() << " did not answer";
		return fLog.TakeBefore(kMarker);
	}

	// Ends the running looper from another thread (it deletes itself).
	void Finish()
	{
		if (Lock())
			Quit();
	}

private:
	MessageLog fOwnLog;
	MessageLog& fLog;
};

#endif
