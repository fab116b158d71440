#include <Messenger.h>

#include <atomic>
#include <thread>
#include <type_traits>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>

#include "MessageRecorder.h"

namespace {

// The messenger is stored as 24 raw bytes in B_MESSENGER_TYPE fields.
static_assert(sizeof(BMessenger) == 24);
static_assert(std::is_trivially_copyable_v<BMessenger>);


// Answers 'ask ' with the doubled "value", ignores 'mute', blocks on 'wait'
// until released, and sends itself a message synchronously on 'self'.
class AnsweringLooper : public RecordingLooper {
public:
	AnsweringLooper(MessageLog& log)
		:
		RecordingLooper(log, "answering")
	{
	}

	void MessageReceived(BMessage* message) override
	{
		RecordingLooper::MessageReceived(message);
		switch (message->what) {
			case 'ask ':
			{
				EXPECT_TRUE(message->IsSourceWaiting());
				BMessage reply(B_REPLY);
				reply.AddInt32("value", message->FindInt32("value") * 2);
				EXPECT_EQ(message->SendReply(&reply), B_OK);
				EXPECT_EQ(message->SendReply(&reply), B_DUPLICATE_REPLY);
				EXPECT_FALSE(message->IsSourceWaiting());
				break;
			}
			case 'wait':
				release.Wait();
				break;
			case 'self':
			{
				BMessage reply;
				selfStatus = BMessenger(this).SendMessage('ask ', &reply);
				break;
			}
			case 'echo':
				message->SendReply('back');
				break;
		}
	}

	Gate release;
	status_t selfStatus = B_OK;
};


class MessengerTest : public testing::Test {
protected:
	void SetUp() override
	{
		looper = new AnsweringLooper(log);
		looper->Run();
		messenger = BMessenger(looper);
	}

	void TearDown() override
	{
		if (looper != NULL)
			quit_looper(looper);
	}

	Watchdog watchdog;
	MessageLog log;
	AnsweringLooper* looper;
	BMessenger messenger;
};


TEST_F(MessengerTest, SynchronousSendReturnsTheAnswer)
{
	BMessage question('ask ');
	question.AddInt32("value", 21);
	BMessage reply;
	ASSERT_EQ(messenger.SendMessage(&question, &reply), B_OK);
	EXPECT_EQ(reply.what, (uint32)B_REPLY);
	EXPECT_EQ(reply.FindInt32("value"), 42);
}


TEST_F(MessengerTest, UnansweredMessageGivesNoReply)
{
	BMessage reply;
	ASSERT_EQ(messenger.SendMessage('mute', &reply), B_OK);
	EXPECT_EQ(reply.what, (uint32)B_NO_REPLY);
}


TEST_F(MessengerTest, HandlerAtTheEndOfTheChainDoesNotUnderstand)
{
	BHandler* plain = new BHandler("plain");
	ASSERT_TRUE(looper->Lock());
	looper->AddHandler(plain);
	plain->SetNextHandler(NULL);
	looper->Unlock();

	BMessage reply;
	ASSERT_EQ(BMessenger(plain).SendMessage('what', &reply), B_OK);
	EXPECT_EQ(reply.what, (uint32)B_MESSAGE_NOT_UNDERSTOOD);
	delete plain;
}


TEST_F(MessengerTest, WaitingSenderIsReleasedWhenTheLooperGoes)
{
	// With the lock held the question stays queued until the looper is
	// deleted.
	ASSERT_TRUE(looper->Lock());
	std::atomic<status_t> status{B_ERROR};
	BMessage reply;
	std::thread sender([&] {
		status = messenger.SendMessage('ask ', &reply);
	});
	ASSERT_TRUE(eventually([&] { return looper->IsMessageWaiting(); }));
	looper->Quit();
	looper = NULL;
	sender.join();
	EXPECT_EQ(status.load(), B_OK);
	EXPECT_EQ(reply.what, (uint32)B_NO_REPLY);
}


TEST_F(MessengerTest, ReplyTimeoutEndsTheWait)
{
	looper->PostMessage('wait');
	BMessage question('ask ');
	BMessage reply;
	EXPECT_EQ(messenger.SendMessage(&question, &reply, B_INFINITE_TIMEOUT,
		1000), B_TIMED_OUT);
	looper->release.Open();
}


TEST_F(MessengerTest, SynchronousSendToItsOwnThreadIsRefused)
{
	looper->PostMessage('self');
	looper->PostMessage('mark');
	ASSERT_GE(log.WaitFor('mark'), 0);
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->selfStatus, B_MESSAGE_TO_SELF);
	looper->Unlock();
}


TEST_F(MessengerTest, AnswerGoesToTheNamedReplyHandler)
{
	MessageLog replies;
	BLooper* other = new RecordingLooper(replies, "other");
	other->Run();
	ASSERT_EQ(messenger.SendMessage('echo', other), B_OK);
	ASSERT_GE(replies.WaitFor('back'), 0);
	quit_looper(other);
}


TEST_F(MessengerTest, MessengerToAGoneTargetFailsCleanly)
{
	quit_looper(looper);
	looper = NULL;

	EXPECT_FALSE(messenger.IsValid());
	EXPECT_EQ(messenger.SendMessage('late'), B_BAD_HANDLER);
	BMessage reply;
	EXPECT_EQ(messenger.SendMessage('late', &reply), B_BAD_HANDLER);
	EXPECT_FALSE(messenger.LockTarget());
	BLooper* target = reinterpret_cast<BLooper*>(1);
	EXPECT_EQ(messenger.Target(&target), nullptr);
	EXPECT_EQ(target, nullptr);
	// Tokens are never reused, so a new looper is not mistaken for it.
	MessageLog otherLog;
	BLooper* newcomer = new RecordingLooper(otherLog);
	EXPECT_FALSE(messenger.IsValid());
	newcomer->Quit();
}


TEST_F(MessengerTest, TargetAndComparison)
{
	BLooper* found = NULL;
	EXPECT_EQ(messenger.Target(&found), looper);
	EXPECT_EQ(found, looper);
	EXPECT_TRUE(messenger.IsTargetLocal());

	BMessenger preferred(NULL, looper);
	EXPECT_TRUE(preferred.IsValid());
	EXPECT_EQ(preferred.Target(&found), nullptr);
	EXPECT_EQ(found, looper);
	EXPECT_NE(preferred, messenger);
	EXPECT_EQ(BMessenger(looper), messenger);
	EXPECT_TRUE(preferred < messenger || messenger < preferred);

	status_t status;
	BHandler loose;
	BMessenger toLoose(&loose, NULL, &status);
	EXPECT_EQ(status, B_MISMATCHED_VALUES);
	EXPECT_FALSE(toLoose.IsValid());
	EXPECT_FALSE(BMessenger().IsValid());
}

}
