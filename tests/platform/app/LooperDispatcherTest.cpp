#include "LooperDispatcher.h"

#include <deque>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Application.h>
#include <Looper.h>
#include <Message.h>

#include "MessageRecorder.h"

namespace {

using BPrivate::LooperDispatcher;

// A stand-in for the GUI event loop: wakes are queued, and whoever pumps
// dispatches them on its own thread.
class PumpDispatcher : public LooperDispatcher {
public:
	thread_id Attach(int32 looperToken) override
	{
		std::lock_guard<std::mutex> guard(fLock);
		attached.insert(looperToken);
		return find_thread(NULL);
	}

	void Wake(int32 looperToken) override
	{
		{
			std::lock_guard<std::mutex> guard(fLock);
			fWakes.push_back(looperToken);
		}
		fWoken.notify_all();
	}

	void Detach(int32 looperToken) override
	{
		std::lock_guard<std::mutex> guard(fLock);
		attached.erase(looperToken);
		detached.insert(looperToken);
	}

	void RunUntilQuit(int32 looperToken) override
	{
		while (true) {
			int32 token = NextWake();
			if (!DispatchPending(token) && token == looperToken)
				return;
		}
	}

	// Dispatches every wake that has come so far.
	void Pump()
	{
		while (true) {
			int32 token;
			{
				std::lock_guard<std::mutex> guard(fLock);
				if (fWakes.empty())
					return;
				token = fWakes.front();
				fWakes.pop_front();
			}
			DispatchPending(token);
		}
	}

	int32 NextWake()
	{
		std::unique_lock<std::mutex> lock(fLock);
		EXPECT_TRUE(fWoken.wait_for(lock, std::chrono::seconds(10),
			[this] { return !fWakes.empty(); }));
		if (fWakes.empty())
			return -1;
		int32 token = fWakes.front();
		fWakes.pop_front();
		return token;
	}

	size_t CountWakes()
	{
		std::lock_guard<std::mutex> guard(fLock);
		return fWakes.size();
	}

	std::set<int32> attached;
	std::set<int32> detached;

private:
	std::mutex fLock;
	std::condition_variable fWoken;
	std::deque<int32> fWakes;
};


// Records the thread each message ran on; on 'nest' pumps the event loop
// from inside its handler, as a modal alert does.
class PumpedLooper : public RecordingLooper {
public:
	PumpedLooper(MessageLog& log, PumpDispatcher& dispatcher)
		:
		RecordingLooper(log, "pumped"),
		fDispatcher(dispatcher)
	{
		BPrivate::set_looper_dispatcher(this, &dispatcher);
	}

	void MessageReceived(BMessage* message) override
	{
		BMessage record(*message);
		record.AddInt32("ran on", find_thread(NULL));
		RecordingLooper::MessageReceived(&record);
		if (message->what == 'nest') {
			PostMessage('innr');
			fDispatcher.Pump();
			BMessage done('ndon');
			RecordingLooper::MessageReceived(&done);
		} else if (message->what == 'quit') {
			Quit();
		}
	}

private:
	PumpDispatcher& fDispatcher;
};


TEST(LooperDispatcherTest, MessagesRunWhereTheDispatcherPumps)
{
	Watchdog watchdog;
	MessageLog log;
	PumpDispatcher dispatcher;
	BLooper* looper = new PumpedLooper(log, dispatcher);
	looper->PostMessage('befr');
	EXPECT_EQ(looper->Run(), find_thread(NULL));
	EXPECT_EQ(dispatcher.CountWakes(), 1u);

	std::thread([looper] { looper->PostMessage('othr'); }).join();
	dispatcher.Pump();
	std::vector<MessageLog::Entry> entries = log.Entries();
	ASSERT_EQ(entries.size(), 2u);
	for (const MessageLog::Entry& entry : entries)
		EXPECT_EQ(entry.message.FindInt32("ran on"), find_thread(NULL));
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'befr', 'othr'}));

	// The same thread runs other code between dispatches; for it the looper
	// is another looper, locked and quit from outside.
	quit_looper(looper);
	EXPECT_EQ(dispatcher.attached.size(), 0u);
	EXPECT_EQ(dispatcher.detached.size(), 1u);
	EXPECT_FALSE(LooperDispatcher::DispatchPending(*dispatcher.detached.begin()));
}


TEST(LooperDispatcherTest, PumpingFromAHandlerDoesNotReenterTheLooper)
{
	Watchdog watchdog;
	MessageLog log;
	PumpDispatcher dispatcher;
	BLooper* looper = new PumpedLooper(log, dispatcher);
	looper->Run();
	looper->PostMessage('nest');
	dispatcher.Pump();

	// 'innr' waited for 'nest' to finish, then was woken for again.
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'nest', 'ndon', 'innr'}));

	looper->PostMessage('quit');
	dispatcher.Pump();
	EXPECT_GE(log.WaitFor('gone'), 0);
	EXPECT_EQ(dispatcher.detached.size(), 1u);
}


TEST(LooperDispatcherTest, ApplicationRunsTheInstalledEventLoop)
{
	Watchdog watchdog;
	MessageLog log;
	PumpDispatcher dispatcher;
	BPrivate::set_main_thread_dispatcher(&dispatcher);

	{
		BApplication app("application/x-vnd.Vantu-DispatcherTest");
		// Waits for the lock the constructing thread holds until Run().
		std::thread quitter([&] { app.Quit(); });
		EXPECT_EQ(app.Run(), find_thread(NULL));
		quitter.join();
		EXPECT_EQ(dispatcher.attached.size(), 0u);
		EXPECT_EQ(dispatcher.detached.size(), 1u);
	}

	BPrivate::set_main_thread_dispatcher(NULL);
}

}
