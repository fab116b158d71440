#include <Handler.h>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <Messenger.h>

#include "MessageRecorder.h"

namespace {

class HandlerTest : public testing::Test {
protected:
	void SetUp() override
	{
		looper = new RecordingLooper(log, "looper");
		first = new RecordingHandler(log, "first");
		// Passes 'pass' on to its next handler.
		second = new RecordingHandler(log, "second", 'pass');
		looper->AddHandler(first);
		looper->AddHandler(second);
		looper->Run();
	}

	void TearDown() override
	{
		quit_looper(looper);
		delete first;
		delete second;
	}

	std::string ReceiverOf(uint32 what)
	{
		int32 index = log.WaitFor(what);
		return index >= 0 ? log.Entries()[index].receiver : "(none)";
	}

	Watchdog watchdog;
	MessageLog log;
	BLooper* looper;
	RecordingHandler* first;
	RecordingHandler* second;
};


TEST_F(HandlerTest, MessagesReachTheNamedThePreferredOrTheLooper)
{
	BMessage message('anon');
	looper->PostMessage(&message);
	EXPECT_EQ(ReceiverOf('anon'), "looper");

	message.what = 'nopr';
	looper->PostMessage(&message, NULL);
	EXPECT_EQ(ReceiverOf('nopr'), "looper");

	ASSERT_TRUE(looper->Lock());
	looper->SetPreferredHandler(first);
	looper->Unlock();
	message.what = 'pref';
	looper->PostMessage(&message, NULL);
	EXPECT_EQ(ReceiverOf('pref'), "first");
	// Only a handler without a target goes to the preferred one.
	message.what = 'self';
	looper->PostMessage(&message);
	EXPECT_EQ(ReceiverOf('self'), "looper");

	message.what = 'name';
	looper->PostMessage(&message, second);
	EXPECT_EQ(ReceiverOf('name'), "second");
}


TEST_F(HandlerTest, UnhandledMessagesFollowTheNextHandlerChain)
{
	// A handler added to a looper hands on to the looper by default.
	EXPECT_EQ(second->NextHandler(), looper);
	looper->PostMessage('pass', second);
	EXPECT_EQ(ReceiverOf('pass'), "looper");

	ASSERT_TRUE(looper->Lock());
	second->SetNextHandler(first);
	looper->Unlock();
	BMessage message('pass');
	message.AddInt32("round", 2);
	looper->PostMessage(&message, second);
	ASSERT_TRUE(log.WaitForCount(2));
	EXPECT_EQ(log.Entries()[1].receiver, "first");
}


TEST_F(HandlerTest, MessageForAHandlerThatLeftIsDropped)
{
	// Holding the lock keeps the message queued while the handler leaves.
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->PostMessage('lost', second), B_OK);
	EXPECT_TRUE(looper->RemoveHandler(second));
	EXPECT_EQ(second->Looper(), nullptr);
	looper->PostMessage('mark');
	looper->Unlock();

	ASSERT_GE(log.WaitFor('mark'), 0);
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'mark'}));
	EXPECT_EQ(looper->PostMessage('lost', second), B_MISMATCHED_VALUES);
}


TEST_F(HandlerTest, DeletedHandlerLeavesItsLooper)
{
	ASSERT_TRUE(looper->Lock());
	BMessenger messenger(first);
	EXPECT_TRUE(messenger.IsValid());
	looper->SetPreferredHandler(first);
	EXPECT_EQ(looper->CountHandlers(), 3);
	looper->Unlock();

	delete first;
	first = NULL;
	EXPECT_FALSE(messenger.IsValid());
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->CountHandlers(), 2);
	EXPECT_EQ(looper->PreferredHandler(), nullptr);
	looper->Unlock();
}


TEST_F(HandlerTest, LockLooperFollowsTheHandlersMembership)
{
	ASSERT_TRUE(first->LockLooper());
	EXPECT_TRUE(looper->IsLocked());
	first->UnlockLooper();
	EXPECT_FALSE(looper->IsLocked());

	BHandler loose("loose");
	EXPECT_FALSE(loose.LockLooper());
	EXPECT_EQ(loose.Looper(), nullptr);
}


TEST(HandlerArchiveTest, NameSurvivesArchiving)
{
	BHandler named("keeper");
	BMessage archive;
	ASSERT_EQ(named.Archive(&archive), B_OK);
	EXPECT_STREQ(archive.FindString("_name"), "keeper");

	BArchivable* object = instantiate_object(&archive);
	BHandler* copy = dynamic_cast<BHandler*>(object);
	ASSERT_NE(copy, nullptr);
	EXPECT_STREQ(copy->Name(), "keeper");
	delete copy;

	BMessage unnamedArchive;
	ASSERT_EQ(BHandler().Archive(&unnamedArchive), B_OK);
	EXPECT_EQ(BHandler(&unnamedArchive).Name(), nullptr);
}


TEST(HandlerNameTest, NameMayBeNull)
{
	BHandler unnamed;
	EXPECT_EQ(unnamed.Name(), nullptr);
	unnamed.SetName("named");
	EXPECT_STREQ(unnamed.Name(), "named");
	unnamed.SetName(NULL);
	EXPECT_EQ(unnamed.Name(), nullptr);
}

}
