#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <Button.h>
#include <CheckBox.h>
#include <TextControl.h>
#include <TextView.h>
#include <View.h>
#include <Window.h>

#include "InterfaceTestSupport.h"

using namespace interface_test;

namespace {

// Counts the Qt events delivered on a thread other than the GUI thread, for
// every object of the application.
class OffThreadEvents : public QObject {
public:
	OffThreadEvents() { QCoreApplication::instance()->installEventFilter(this); }
	~OffThreadEvents() override { QCoreApplication::instance()->removeEventFilter(this); }

	int OffThread() const { return fOffThread.load(); }
	int OnGuiThread() const { return fOnGuiThread.load(); }
	// The type of the first event delivered off the GUI thread, for the
	// failure message.
	int FirstOffThreadType() const { return fFirstType.load(); }

protected:
	bool eventFilter(QObject* watched, QEvent* event) override
	{
		if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
			int none = -1;
			fFirstType.compare_exchange_strong(none, (int)event->type());
			fOffThread.fetch_add(1);
		} else {
			fOnGuiThread.fetch_add(1);
		}
		return QObject::eventFilter(watched, event);
	}

private:
	std::atomic<int> fOffThread{0};
	std::atomic<int> fOnGuiThread{0};
	std::atomic<int> fFirstType{-1};
};


// Ends the test program when a test hangs: a deadlock between the GUI
// thread and a lock holder blocks the GUI thread, so no watchdog inside the
// event loop would ever fire.
class Watchdog {
public:
	explicit Watchdog(int seconds)
		:
		fThread([this, seconds] {
			std::unique_lock<std::mutex> lock(fMutex);
			if (!fStopped.wait_for(lock, std::chrono::seconds(seconds), [this] { return fDone; })) {
				fprintf(stderr, "watchdog: the test hung (deadlock?)\n");
				abort();
			}
		})
	{
	}

	~Watchdog()
	{
		{
			std::lock_guard<std::mutex> guard(fMutex);
			fDone = true;
		}
		fStopped.notify_all();
		fThread.join();
	}

private:
	std::mutex fMutex;
	std::condition_variable fStopped;
	bool fDone = false;
	std::thread fThread;
};


// Runs `body` on a new thread that holds the window's lock, while the GUI
// thread goes on running its event loop; false when the watchdog ran out.
bool
run_on_locking_thread(BWindow* window, const std::function<void()>& body)
{
	std::atomic<bool> done{false};
	std::thread thread([&] {
		if (window->Lock()) {
			body();
			window->Unlock();
		}
		done.store(true);
	});
	if (!pump_until([&] { return done.load(); })) {
		// The thread is stuck: leaving it is better than hanging the suite.
		thread.detach();
		return false;
	}
	thread.join();
	return true;
}


// A view that remembers whether its window was locked for the thread that
// drew it.
class DrawProbe : public BView {
public:
	DrawProbe() : BView(BRect(0, 0, 49, 49), "probe", B_FOLLOW_NONE, B_WILL_DRAW) {}

	void Draw(BRect) override
	{
		draws.fetch_add(1);
		if (!Window()->IsLocked())
			unlockedDraws.fetch_add(1);
	}

	std::atomic<int> draws{0};
	std::atomic<int> unlockedDraws{0};
};


class ThreadAffinityTest : public testing::Test {
protected:
	void SetUp() override
	{
		fWindow = make_window(BRect(100, 100, 299, 199), "affinity");
		show_and_settle(fWindow);
		fEvents = std::make_unique<OffThreadEvents>();
	}

	void TearDown() override
	{
		fEvents.reset();
		if (fWindow->Lock())
			fWindow->Quit();
	}

	void ExpectAllEventsOnTheGuiThread()
	{
		settle();
		EXPECT_EQ(fEvents->OffThread(), 0)
			<< "first event type off the GUI thread: " << fEvents->FirstOffThreadType();
		// The filter did see the work the setters caused.
		EXPECT_GT(fEvents->OnGuiThread(), 0);
	}

	Watchdog fWatchdog{30};
	BWindow* fWindow = NULL;
	std::unique_ptr<OffThreadEvents> fEvents;
};


TEST_F(ThreadAffinityTest, WindowSettersFromALockingThreadTouchQtOnlyOnTheGuiThread)
{
	BRect frame;
	std::string title;
	ASSERT_TRUE(run_on_locking_thread(fWindow, [&] {
		fWindow->MoveTo(140, 130);
		fWindow->ResizeTo(249, 149);
		fWindow->SetSizeLimits(100, 400, 80, 300);
		fWindow->SetTitle("renamed");
		fWindow->SetLook(B_FLOATING_WINDOW_LOOK);
		fWindow->SetFeel(B_FLOATING_APP_WINDOW_FEEL);
		fWindow->SetFlags(B_NOT_ZOOMABLE);
		fWindow->Hide();
		fWindow->Show();
		fWindow->Activate();
		fWindow->DisableUpdates();
		fWindow->EnableUpdates();
		fWindow->UpdateIfNeeded();
		frame = fWindow->Frame();
		title = fWindow->Title();
	}));
	ExpectAllEventsOnTheGuiThread();

	EXPECT_EQ(frame, BRect(140, 130, 389, 279));
	EXPECT_EQ(title, "renamed");
	QWidget* widget = BPrivate::window_widget(fWindow);
	EXPECT_EQ(widget->windowTitle(), QString("renamed"));
	EXPECT_TRUE(widget->isVisible());
	EXPECT_TRUE((widget->windowFlags() & Qt::WindowStaysOnTopHint) != 0);
	EXPECT_EQ(widget->minimumSize(), QSize(101, 81));
	EXPECT_EQ(widget->maximumSize(), QSize(401, 301));
	EXPECT_EQ(widget->size(), QSize(250, 150));
}


TEST_F(ThreadAffinityTest, ViewsMadeAndChangedOnALockingThreadTouchQtOnlyOnTheGuiThread)
{
	BView* parent = NULL;
	BView* child = NULL;
	ASSERT_TRUE(run_on_locking_thread(fWindow, [&] {
		parent = new BView(BRect(0, 0, 99, 79), "parent", B_FOLLOW_ALL, B_WILL_DRAW);
		child = new BView(BRect(10, 10, 29, 19), "child", B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM,
			B_NAVIGABLE);
		parent->AddChild(child);
		fWindow->AddChild(parent);
		parent->ResizeBy(20, 10);
		child->MoveBy(5, 0);
		parent->ScrollTo(0, 4);
		child->SetFlags(B_NAVIGABLE | B_WILL_DRAW);
		child->MakeFocus();
		child->Hide();
		child->Show();
		parent->Invalidate();
		BView* gone = new BView(BRect(0, 0, 9, 9), "gone", B_FOLLOW_NONE, 0);
		parent->AddChild(gone);
		parent->RemoveChild(gone);
		delete gone;
	}));
	ExpectAllEventsOnTheGuiThread();

	EXPECT_EQ(parent->Frame(), BRect(0, 0, 119, 89));
	// Followed the parent's resize to the right and bottom, then moved.
	EXPECT_EQ(child->Frame(), BRect(35, 20, 54, 29));
	EXPECT_EQ(BPrivate::view_widget(child)->geometry(), QRect(35, 16, 20, 10));
	EXPECT_TRUE(BPrivate::view_widget(child)->isVisible());
	EXPECT_EQ(BPrivate::view_widget(child)->focusPolicy(), Qt::TabFocus);
	EXPECT_EQ(fWindow->CurrentFocus(), child);
	EXPECT_EQ(parent->CountChildren(), 1);
}


TEST_F(ThreadAffinityTest, ControlSettersAndQtBackedGettersFromALockingThread)
{
	BButton* button = new BButton(BRect(10, 10, 89, 34), "button", "Play", NULL);
	BCheckBox* box = new BCheckBox(BRect(10, 40, 149, 59), "box", "Loop", NULL);
	BTextControl* field = new BTextControl(BRect(10, 64, 189, 84), "field", NULL, "", NULL);
	fWindow->Lock();
	fWindow->AddChild(button);
	fWindow->AddChild(box);
	fWindow->AddChild(field);
	fWindow->Unlock();

	std::string text;
	int32 start = -1;
	int32 end = -1;
	bool isDefault = false;
	float width = 0;
	ASSERT_TRUE(run_on_locking_thread(fWindow, [&] {
		button->SetLabel("Stop");
		button->SetValue(B_CONTROL_ON);
		button->SetValue(B_CONTROL_OFF);
		button->MakeDefault(true);
		isDefault = button->IsDefault();
		button->GetPreferredSize(&width, NULL);
		box->SetValue(B_CONTROL_ON);
		box->SetEnabled(false);
		field->SetText("Ütf-8 text");
		field->TextView()->Select(0, 3);
		field->TextView()->GetSelection(&start, &end);
		text = field->Text();
	}));
	ExpectAllEventsOnTheGuiThread();

	EXPECT_TRUE(isDefault);
	EXPECT_GT(width, 0);
	EXPECT_EQ(text, "Ütf-8 text");
	// Byte offsets: "Üt" is three bytes.
	EXPECT_EQ(start, 0);
	EXPECT_EQ(end, 3);
	QPushButton* nativeButton = static_cast<QPushButton*>(BPrivate::native_widget(button));
	EXPECT_EQ(nativeButton->text(), QString("Stop"));
	EXPECT_FALSE(nativeButton->isDown());
	EXPECT_EQ(box->Value(), B_CONTROL_ON);
	EXPECT_FALSE(BPrivate::native_widget(box)->isEnabled());
	QLineEdit* line = static_cast<QLineEdit*>(BPrivate::native_widget(field->TextView()));
	EXPECT_EQ(line->text(), QString::fromUtf8("Ütf-8 text"));
}


TEST_F(ThreadAffinityTest, TheGuiThreadWaitingForTheLockStillServesTheLockHolder)
{
	std::atomic<bool> locked{false};
	std::atomic<bool> release{false};
	std::atomic<bool> done{false};
	std::thread holder([&] {
		fWindow->Lock();
		locked.store(true);
		// The GUI thread is inside Lock() below by now or soon: the
		// setters must not wait for it to return.
		while (!release.load())
			std::this_thread::yield();
		fWindow->MoveTo(160, 150);
		fWindow->SetTitle("held");
		fWindow->Unlock();
		done.store(true);
	});
	ASSERT_TRUE(pump_until([&] { return locked.load(); }));
	// Also a message waits: its dispatch needs the lock, too.
	fWindow->PostMessage('wait');
	release.store(true);
	const status_t status = fWindow->LockWithTimeout(5000000);
	const bool finished = pump_until([&] { return done.load(); });
	if (!finished)
		holder.detach();
	else
		holder.join();
	ASSERT_EQ(status, B_OK);
	ASSERT_TRUE(finished);
	EXPECT_EQ(fWindow->Frame().LeftTop(), BPoint(160, 150));
	fWindow->Unlock();
	ExpectAllEventsOnTheGuiThread();
	EXPECT_EQ(BPrivate::window_widget(fWindow)->windowTitle(), QString("held"));
}


TEST_F(ThreadAffinityTest, APaintCausedForALockingThreadDrawsWithTheWindowLocked)
{
	DrawProbe* probe = new DrawProbe;
	fWindow->Lock();
	fWindow->AddChild(probe);
	fWindow->Unlock();
	settle();
	const int before = probe->draws.load();
	// The repaint runs on the GUI thread while the caller holds the lock:
	// the paint event's lock must count as the caller's, not wait for it.
	ASSERT_TRUE(run_on_locking_thread(fWindow, [&] {
		probe->Invalidate();
		fWindow->UpdateIfNeeded();
	}));
	EXPECT_GT(probe->draws.load(), before);
	EXPECT_EQ(probe->unlockedDraws.load(), 0);
	ExpectAllEventsOnTheGuiThread();
}


#ifndef NDEBUG
TEST(ThreadAffinityDeathTest, SettersOfAViewInAWindowStopWithoutTheLock)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_DEATH(
		{
			BWindow* window = make_window();
			BView* view = new BView(BRect(0, 0, 9, 9), "view", B_FOLLOW_NONE, 0);
			window->AddChild(view);
			show_and_settle(window);
			view->MoveTo(5, 5);
		},
		"must be locked");
}


TEST(ThreadAffinityDeathTest, TheHandlerListChangesOnlyUnderTheLock)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_DEATH(
		{
			BWindow* window = make_window();
			show_and_settle(window);
			BHandler handler("handler");
			window->AddHandler(&handler);
		},
		"must be locked");
}
#endif

}
