#include <Looper.h>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Message.h>
#include <Messenger.h>
#include <OS.h>

#include "MessageRecorder.h"

namespace {

// Blocks in its handler on 'blok' until released, telling when it got there.
class BlockingLooper : public RecordingLooper {
public:
	BlockingLooper(MessageLog& log)
		:
		RecordingLooper(log, "blocking")
	{
	}

	void MessageReceived(BMessage* message) override
	{
		if (message->what == 'blok') {
			currentWhat = CurrentMessage() != NULL ? CurrentMessage()->what : 0;
			entered.Open();
			release.Wait();
		}
		RecordingLooper::MessageReceived(message);
	}

	Gate entered;
	Gate release;
	uint32 currentWhat = 0;
};


TEST(LooperTest, PostedMessagesArriveInOrderAsCopies)
{
	Watchdog watchdog;
	MessageLog firstLog;
	MessageLog secondLog;
	BLooper* first = new RecordingLooper(firstLog, "first");
	BLooper* second = new RecordingLooper(secondLog, "second");
	first->Run();
	second->Run();

	const int32 kCount = 50;
	BMessage message('data');
	for (int32 i = 0; i < kCount; i++) {
		message.what = 'data';
		message.AddInt32("index", i);
		ASSERT_EQ(first->PostMessage(&message), B_OK);
		ASSERT_EQ(second->PostMessage(&message), B_OK);
		// Changing the original after the post must not reach the copies.
		message.what = 'chgd';
		message.RemoveName("index");
	}

	for (MessageLog* log : {&firstLog, &secondLog}) {
		ASSERT_TRUE(log->WaitForCount(kCount));
		std::vector<MessageLog::Entry> entries = log->Entries();
		for (int32 i = 0; i < kCount; i++) {
			EXPECT_EQ(entries[i].message.what, (uint32)'data');
			EXPECT_EQ(entries[i].message.FindInt32("index"), i);
		}
	}
	quit_looper(first);
	quit_looper(second);
}


TEST(LooperTest, PostsFromManyThreadsKeepEachThreadsOrder)
{
	Watchdog watchdog;
	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	looper->Run();

	const int32 kThreads = 8;
	const int32 kPerThread = 200;
	std::vector<std::thread> posters;
	for (int32 t = 0; t < kThreads; t++) {
		posters.emplace_back([looper, t] {
			for (int32 i = 0; i < kPerThread; i++) {
				BMessage message('seq ');
				message.AddInt32("thread", t);
				message.AddInt32("index", i);
				looper->PostMessage(&message);
			}
		});
	}
	for (std::thread& poster : posters)
		poster.join();

	ASSERT_TRUE(log.WaitForCount(kThreads * kPerThread));
	std::vector<int32> next(kThreads, 0);
	for (const MessageLog::Entry& entry : log.Entries()) {
		int32 thread = entry.message.FindInt32("thread");
		EXPECT_EQ(entry.message.FindInt32("index"), next[thread]);
		next[thread]++;
	}
	quit_looper(looper);
}


TEST(LooperTest, MessagesPostedBeforeRunWaitForIt)
{
	Watchdog watchdog;
	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	looper->PostMessage('one ');
	looper->PostMessage('two ');
	EXPECT_TRUE(looper->IsMessageWaiting());
	EXPECT_EQ(log.Count(), 0u);

	looper->Run();
	ASSERT_TRUE(log.WaitForCount(2));
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'one ', 'two '}));
	quit_looper(looper);
}


TEST(LooperTest, LockFromAnotherThreadWaitsForTheMessageInProgress)
{
	Watchdog watchdog;
	MessageLog log;
	BlockingLooper* looper = new BlockingLooper(log);
	looper->Run();
	looper->PostMessage('blok');
	ASSERT_TRUE(looper->entered.Wait());

	// The looper's thread holds its lock for the whole dispatch, and the
	// message in progress is its business only.
	EXPECT_EQ(looper->LockWithTimeout(0), B_TIMED_OUT);
	EXPECT_FALSE(looper->IsLocked());
	EXPECT_EQ(looper->CurrentMessage(), nullptr);
	EXPECT_EQ(looper->currentWhat, (uint32)'blok');

	looper->release.Open();
	ASSERT_TRUE(looper->Lock());
	EXPECT_TRUE(looper->IsLocked());
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'blok'}));
	// Idle: no current message, also for the lock holder.
	EXPECT_EQ(looper->CurrentMessage(), nullptr);
	// Recursive for the holder.
	ASSERT_TRUE(looper->Lock());
	looper->Unlock();
	EXPECT_TRUE(looper->IsLocked());
	looper->Quit();
}


TEST(LooperTest, LockFailsOnceTheLooperIsGone)
{
	Watchdog watchdog;
	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	looper->Run();
	ASSERT_TRUE(looper->Lock());

	// A thread waiting for the lock is released with "gone", not left
	// waiting or handed a deleted looper.
	std::atomic<thread_id> waiterThread{-1};
	std::thread waiter([&] {
		waiterThread = find_thread(NULL);
		EXPECT_FALSE(looper->Lock());
	});
	ASSERT_TRUE(eventually([&] {
		thread_info info;
		return waiterThread >= 0
			&& get_thread_info(waiterThread, &info) == B_OK
			&& info.state == B_THREAD_WAITING;
	}));
	looper->Quit();
	waiter.join();

	EXPECT_FALSE(lock_possibly_deleted(looper));
}


TEST(LooperTest, DetachedMessageOutlivesItsDispatch)
{
	Watchdog watchdog;
	class DetachingLooper : public BLooper {
	public:
		void MessageReceived(BMessage*) override
		{
			kept = DetachCurrentMessage();
			EXPECT_EQ(CurrentMessage(), nullptr);
			done.Open();
		}
		BMessage* kept = NULL;
		Gate done;
	};

	DetachingLooper* looper = new DetachingLooper;
	looper->Run();
	BMessage message('keep');
	message.AddString("text", "still here");
	looper->PostMessage(&message);
	ASSERT_TRUE(looper->done.Wait());

	ASSERT_TRUE(looper->Lock());
	BMessage* kept = looper->kept;
	looper->Quit();
	ASSERT_NE(kept, nullptr);
	EXPECT_STREQ(kept->FindString("text"), "still here");
	delete kept;
}


// Each way a looper ends: from its own dispatch, from another thread, never
// run, and a refusal that keeps it running.
class QuittingLooper : public RecordingLooper {
public:
	QuittingLooper(MessageLog& log)
		:
		RecordingLooper(log, "quitting")
	{
	}

	bool QuitRequested() override
	{
		return mayQuit;
	}

	void MessageReceived(BMessage* message) override
	{
		RecordingLooper::MessageReceived(message);
		if (message->what == 'quit')
			Quit();
	}

	bool mayQuit = true;
};


TEST(LooperTest, QuitFromItsOwnDispatchEndsAfterThatMessage)
{
	Watchdog watchdog;
	MessageLog log;
	QuittingLooper* looper = new QuittingLooper(log);
	// Queued behind 'quit' in the same batch: never dispatched.
	looper->PostMessage('quit');
	looper->PostMessage('late');
	thread_id thread = looper->Run();

	ASSERT_GE(log.WaitFor('gone'), 0);
	std::vector<MessageLog::Entry> entries = log.Entries();
	ASSERT_EQ(entries.size(), 2u);
	EXPECT_EQ(entries[0].message.what, (uint32)'quit');
	// Deleted on its own thread, once the handler had returned.
	EXPECT_EQ(entries[1].message.FindInt32("thread"), thread);
}


TEST(LooperTest, QuitRequestedDecidesWhetherQuitRequestEndsTheLooper)
{
	Watchdog watchdog;
	MessageLog log;
	QuittingLooper* looper = new QuittingLooper(log);
	looper->mayQuit = false;
	looper->Run();
	BMessenger messenger(looper);

	looper->PostMessage(B_QUIT_REQUESTED);
	looper->PostMessage('mark');
	ASSERT_GE(log.WaitFor('mark'), 0);
	ASSERT_TRUE(looper->Lock());
	looper->mayQuit = true;
	looper->Unlock();

	looper->PostMessage(B_QUIT_REQUESTED);
	ASSERT_GE(log.WaitFor('gone'), 0);
	// 'gone' is logged by the subclass's destructor, just before the base
	// class unregisters the looper.
	EXPECT_TRUE(eventually([&] { return !messenger.IsValid(); }));
	// The looper handles the request itself; its MessageReceived never saw
	// one.
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'mark', 'gone'}));
}


TEST(LooperTest, QuitFromAnotherThreadDeletesBeforeReturning)
{
	Watchdog watchdog;
	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	thread_id thread = looper->Run();
	looper->PostMessage('busy');
	ASSERT_TRUE(log.WaitForCount(1));

	quit_looper(looper);
	std::vector<MessageLog::Entry> entries = log.Entries();
	ASSERT_EQ(entries.size(), 2u);
	EXPECT_EQ(entries[1].message.what, (uint32)'gone');
	EXPECT_EQ(entries[1].message.FindInt32("thread"), find_thread(NULL));
	// The looper's thread has been joined.
	EXPECT_EQ(wait_for_thread(thread, NULL), B_BAD_THREAD_ID);
}


TEST(LooperTest, NeverRunLooperIsDeletedByQuit)
{
	Watchdog watchdog;
	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	looper->PostMessage('nevr');
	// The constructing thread holds the lock until Run().
	EXPECT_TRUE(looper->IsLocked());
	looper->Quit();
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'gone'}));
}

}
