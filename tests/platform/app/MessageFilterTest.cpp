#include <MessageFilter.h>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>

#include "MessagePrivate.h"
#include "MessageRecorder.h"

namespace {

// Counts the messages it is asked about (apart from the tests' markers)
// and answers as told.
class CountingFilter : public BMessageFilter {
public:
	using BMessageFilter::BMessageFilter;

	filter_result Filter(BMessage* message, BHandler** target) override
	{
		if (message->what == 'mark')
			return B_DISPATCH_MESSAGE;
		calls++;
		seenLooper = Looper();
		if (redirect != NULL)
			*target = redirect;
		return result;
	}

	int32 calls = 0;
	BLooper* seenLooper = NULL;
	BHandler* redirect = NULL;
	filter_result result = B_DISPATCH_MESSAGE;
};


class MessageFilterTest : public testing::Test {
protected:
	void SetUp() override
	{
		looper = new RecordingLooper(log, "looper");
		handler = new RecordingHandler(log, "handler");
		looper->AddHandler(handler);
		looper->Run();
	}

	void TearDown() override
	{
		quit_looper(looper);
		delete handler;
	}

	// Posts the message, then a marker, and returns once both have been
	// dispatched.
	void Deliver(BMessage& message, BHandler* target = NULL)
	{
		size_t before = log.Count();
		if (target != NULL)
			looper->PostMessage(&message, target);
		else
			looper->PostMessage(&message);
		looper->PostMessage('mark');
		ASSERT_TRUE(eventually([&] {
			std::vector<uint32> whats = log.Whats();
			return whats.size() > before && whats.back() == 'mark';
		}));
	}

	Watchdog watchdog;
	MessageLog log;
	BLooper* looper;
	RecordingHandler* handler;
};


TEST_F(MessageFilterTest, FilterRunsOnlyForMatchingMessages)
{
	struct Case {
		const char* name;
		CountingFilter* filter;
		uint32 what;
		bool dropped;
		bool remote;
		bool expected;
	};
	const Case cases[] = {
		{"command matches", new CountingFilter('keyd'), 'keyd', false, false,
			true},
		{"other command", new CountingFilter('keyd'), 'mous', false, false,
			false},
		{"any command", new CountingFilter(B_ANY_DELIVERY, B_ANY_SOURCE),
			'mous', true, true, true},
		{"dropped wanted, programmed sent",
			new CountingFilter(B_DROPPED_DELIVERY, B_ANY_SOURCE), 'data',
			false, false, false},
		{"dropped wanted, dropped sent",
			new CountingFilter(B_DROPPED_DELIVERY, B_ANY_SOURCE), 'data',
			true, false, true},
		{"programmed wanted, dropped sent",
			new CountingFilter(B_PROGRAMMED_DELIVERY, B_ANY_SOURCE), 'data',
			true, false, false},
		{"remote wanted, local drop",
			new CountingFilter(B_ANY_DELIVERY, B_REMOTE_SOURCE), 'data',
			true, false, false},
		{"remote wanted, remote drop",
			new CountingFilter(B_ANY_DELIVERY, B_REMOTE_SOURCE), 'data',
			true, true, true},
		{"local wanted, posted message",
			new CountingFilter(B_ANY_DELIVERY, B_LOCAL_SOURCE, 'data'), 'data',
			false, false, true},
		{"local wanted, remote drop",
			new CountingFilter(B_ANY_DELIVERY, B_LOCAL_SOURCE, 'data'), 'data',
			true, true, false},
	};

	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		ASSERT_TRUE(looper->Lock());
		looper->AddCommonFilter(test.filter);
		looper->Unlock();

		BMessage message(test.what);
		if (test.dropped) {
			BMessage::Private::SetDropInfo(message, BPoint(1, 2), BPoint(0, 0),
				test.remote);
		}
		Deliver(message);

		ASSERT_TRUE(looper->Lock());
		EXPECT_EQ(test.filter->calls > 0, test.expected);
		EXPECT_TRUE(looper->RemoveCommonFilter(test.filter));
		looper->Unlock();
		delete test.filter;
	}
}


TEST_F(MessageFilterTest, CommonFilterRedirectsToAHandler)
{
	CountingFilter* filter = new CountingFilter('redi');
	filter->redirect = handler;
	ASSERT_TRUE(looper->Lock());
	looper->AddCommonFilter(filter);
	looper->Unlock();

	BMessage message('redi');
	Deliver(message);
	std::vector<MessageLog::Entry> entries = log.Entries();
	ASSERT_EQ(entries.size(), 2u);
	EXPECT_EQ(entries[0].receiver, "handler");
	EXPECT_EQ(filter->seenLooper, looper);
}


TEST_F(MessageFilterTest, SkippedMessageReachesNobody)
{
	CountingFilter* common = new CountingFilter('skip');
	common->result = B_SKIP_MESSAGE;
	CountingFilter* own = new CountingFilter('hand');
	own->result = B_SKIP_MESSAGE;
	ASSERT_TRUE(looper->Lock());
	looper->AddCommonFilter(common);
	handler->AddFilter(own);
	looper->Unlock();

	BMessage message('skip');
	Deliver(message);
	message.what = 'hand';
	Deliver(message, handler);
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'mark', 'mark'}));
	EXPECT_EQ(common->calls, 1);
	EXPECT_EQ(own->calls, 1);
	EXPECT_EQ(own->seenLooper, looper);
}


TEST_F(MessageFilterTest, HandlerFiltersFollowARedirectWithoutLooping)
{
	// Each handler's filter sends the message to the other one.
	CountingFilter* toHandler = new CountingFilter('ping');
	toHandler->redirect = handler;
	CountingFilter* toLooper = new CountingFilter('ping');
	toLooper->redirect = looper;
	ASSERT_TRUE(looper->Lock());
	looper->AddFilter(toHandler);
	handler->AddFilter(toLooper);
	looper->Unlock();

	BMessage message('ping');
	Deliver(message);
	EXPECT_EQ(toHandler->calls, 1);
	EXPECT_EQ(toLooper->calls, 1);
	EXPECT_EQ(log.Entries()[0].receiver, "looper");
}


filter_result
drop_everything(BMessage*, BHandler**, BMessageFilter*)
{
	return B_SKIP_MESSAGE;
}


TEST_F(MessageFilterTest, HookDecidesWhenFilterIsNotOverridden)
{
	BMessageFilter* filter = new BMessageFilter('hook', drop_everything);
	EXPECT_FALSE(filter->FiltersAnyCommand());
	EXPECT_EQ(filter->Command(), (uint32)'hook');
	ASSERT_TRUE(looper->Lock());
	looper->AddCommonFilter(filter);
	EXPECT_EQ(filter->Looper(), looper);
	looper->Unlock();

	BMessage message('hook');
	Deliver(message);
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'mark'}));

	// Removing hands the filter back.
	ASSERT_TRUE(looper->Lock());
	EXPECT_TRUE(looper->RemoveCommonFilter(filter));
	EXPECT_EQ(filter->Looper(), nullptr);
	EXPECT_FALSE(looper->RemoveCommonFilter(filter));
	looper->Unlock();
	delete filter;
}

}
