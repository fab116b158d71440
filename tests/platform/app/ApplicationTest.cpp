#include <Application.h>

#include <thread>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Message.h>
#include <Messenger.h>

#include "ApplicationPrivate.h"
#include "MessageRecorder.h"

namespace {

const char* const kSignature = "application/x-vnd.Vantu-AppTest";


class TestApplication : public BApplication {
public:
	TestApplication(MessageLog& log)
		:
		BApplication(kSignature),
		fLog(log)
	{
	}

	void ReadyToRun() override { fLog.Add(BMessage('rtr '), "app"); }
	void AboutRequested() override { fLog.Add(BMessage('abot'), "app"); }
	void MessageReceived(BMessage* message) override
	{
		fLog.Add(*message, "app");
	}

	bool QuitRequested() override
	{
		return mayQuit ? BApplication::QuitRequested() : false;
	}

	bool mayQuit = true;

private:
	MessageLog& fLog;
};


// Stands in for a window: the interface layer registers its windows the
// same way.
class FakeWindow : public RecordingLooper {
public:
	FakeWindow(MessageLog& log, const char* name, bool agrees)
		:
		RecordingLooper(log, name),
		fAgrees(agrees)
	{
		BPrivate::register_window(AsWindow(), this);
	}

	~FakeWindow() override
	{
		BPrivate::unregister_window(AsWindow());
	}

	bool QuitRequested() override { return fAgrees; }

	BWindow* AsWindow() { return reinterpret_cast<BWindow*>(this); }

private:
	bool fAgrees;
};


TEST(ApplicationTest, RunDispatchesOnTheCallingThreadUntilQuit)
{
	Watchdog watchdog;
	MessageLog log;
	TestApplication app(log);
	ASSERT_EQ(app.InitCheck(), B_OK);
	EXPECT_EQ(be_app, &app);
	EXPECT_TRUE(be_app_messenger.IsValid());

	app.PostMessage('frst');
	app.PostMessage(B_ABOUT_REQUESTED);
	app.PostMessage(B_QUIT_REQUESTED);
	app.PostMessage('late');
	EXPECT_EQ(app.Run(), find_thread(NULL));
	EXPECT_EQ(app.Thread(), find_thread(NULL));
	// ReadyToRun comes first; nothing after the accepted quit request.
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'rtr ', 'frst', 'abot'}));
}


TEST(ApplicationTest, RefusedQuitKeepsRunningUntilQuitFromAnotherThread)
{
	Watchdog watchdog;
	MessageLog log;
	TestApplication app(log);
	app.mayQuit = false;
	app.PostMessage(B_QUIT_REQUESTED);
	app.PostMessage('mark');

	std::thread stopper([&] {
		ASSERT_GE(log.WaitFor('mark'), 0);
		app.Quit();
	});
	app.Run();
	stopper.join();
	EXPECT_EQ(log.Whats(), (std::vector<uint32>{'rtr ', 'mark'}));
}


TEST(ApplicationTest, OnlyOneApplicationAndOnlyApplicationSignatures)
{
	MessageLog log;
	status_t status;
	BApplication badSignature("text/plain", &status);
	EXPECT_EQ(status, B_BAD_VALUE);
	EXPECT_EQ(be_app, nullptr);

	{
		TestApplication first(log);
		BApplication second(kSignature, &status);
		EXPECT_EQ(status, B_ALREADY_RUNNING);
		EXPECT_EQ(second.Run(), B_ALREADY_RUNNING);
		EXPECT_EQ(be_app, &first);

		// A messenger by signature reaches this application only.
		BMessenger bySignature("APPLICATION/x-vnd.vantu-apptest");
		EXPECT_EQ(bySignature, be_app_messenger);
		BMessenger other("application/x-vnd.Other", -1, &status);
		EXPECT_EQ(status, B_BAD_VALUE);
		EXPECT_FALSE(other.IsValid());
	}
	EXPECT_EQ(be_app, nullptr);
	EXPECT_FALSE(be_app_messenger.IsValid());
}


TEST(ApplicationTest, ResourcesAreTheExecutablesOwn)
{
	// Available without an application object, and always the same set.
	BResources* resources = BApplication::AppResources();
	ASSERT_NE(resources, nullptr);
	EXPECT_EQ(BApplication::AppResources(), resources);
}


TEST(ApplicationTest, AnswerWithoutASenderGoesToTheApplication)
{
	Watchdog watchdog;
	MessageLog log;
	TestApplication app(log);

	class Answering : public BLooper {
	public:
		void MessageReceived(BMessage* message) override
		{
			message->SendReply('answ');
		}
	};
	BLooper* answering = new Answering;
	answering->Run();
	answering->PostMessage('ask ');

	std::thread stopper([&] {
		ASSERT_GE(log.WaitFor('answ'), 0);
		app.Quit();
	});
	app.Run();
	stopper.join();
	quit_looper(answering);
}


TEST(ApplicationTest, DefaultQuitRequestedAsksTheWindows)
{
	Watchdog watchdog;
	MessageLog log;
	TestApplication app(log);
	FakeWindow* agreeing = new FakeWindow(log, "agreeing", true);
	FakeWindow* refusing = new FakeWindow(log, "refusing", false);
	agreeing->Run();
	refusing->Run();
	ASSERT_EQ(app.CountWindows(), 2);
	EXPECT_EQ(app.WindowAt(1), refusing->AsWindow());
	EXPECT_EQ(app.WindowAt(2), nullptr);

	app.PostMessage(B_QUIT_REQUESTED);
	std::thread stopper([&] {
		ASSERT_GE(log.WaitFor('gone'), 0);
		app.Quit();
	});
	app.Run();
	stopper.join();

	// The agreeing window was quit; the refusing one kept the application.
	std::vector<MessageLog::Entry> entries = log.Entries();
	ASSERT_EQ(entries.size(), 2u);
	EXPECT_EQ(entries[1].receiver, "agreeing");
	EXPECT_EQ(app.CountWindows(), 1);
	quit_looper(refusing);
	EXPECT_EQ(app.CountWindows(), 0);
}

}
