#include <Invoker.h>

#include <thread>

#include <gtest/gtest.h>

#include <Looper.h>
#include <Message.h>

#include "MessageRecorder.h"

namespace {

TEST(InvokerTest, InvokeFromAThreadWithoutALooper)
{
	Watchdog watchdog;
	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	looper->Run();

	BInvoker invoker(new BMessage('plse'), looper);
	EXPECT_EQ(invoker.Command(), (uint32)'plse');
	EXPECT_TRUE(invoker.IsTargetLocal());
	std::thread player([&] {
		for (int32 i = 0; i < 3; i++) {
			// The owner may change its own message between invocations;
			// each send carries a copy.
			invoker.Message()->RemoveName("beat");
			invoker.Message()->AddInt32("beat", i);
			EXPECT_EQ(invoker.Invoke(), B_OK);
		}
	});
	player.join();

	ASSERT_TRUE(log.WaitForCount(3));
	std::vector<MessageLog::Entry> entries = log.Entries();
	for (int32 i = 0; i < 3; i++)
		EXPECT_EQ(entries[i].message.FindInt32("beat"), i);
	quit_looper(looper);
}


TEST(InvokerTest, InvokeNeedsAMessageAndALiveTarget)
{
	Watchdog watchdog;
	BInvoker invoker;
	EXPECT_EQ(invoker.Invoke(), B_BAD_VALUE);
	EXPECT_EQ(invoker.Command(), 0u);

	MessageLog log;
	BLooper* looper = new RecordingLooper(log);
	looper->Run();
	ASSERT_EQ(invoker.SetTarget(looper), B_OK);
	BMessage explicitMessage('expl');
	EXPECT_EQ(invoker.Invoke(&explicitMessage), B_OK);
	ASSERT_GE(log.WaitFor('expl'), 0);

	// Replacing the message deletes the old one (checked by the leak
	// sanitizer).
	invoker.SetMessage(new BMessage('frst'));
	invoker.SetMessage(new BMessage('scnd'));
	EXPECT_EQ(invoker.Command(), (uint32)'scnd');

	quit_looper(looper);
	EXPECT_EQ(invoker.Invoke(), B_BAD_HANDLER);

	BHandler loose;
	EXPECT_EQ(invoker.SetTarget(&loose), B_MISMATCHED_VALUES);
}

}
