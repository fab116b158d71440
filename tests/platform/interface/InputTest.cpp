#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Button.h>
#include <MessageFilter.h>

#include "InputQt.h"
#include "InterfaceTestSupport.h"
#include "RecordingView.h"

using namespace interface_test;
using BPrivate::ClickCounter;

namespace {

struct ClickCase {
	const char* name;
	bigtime_t when;
	BPoint where;
	uint32 buttons;
	int32 expected;
};


TEST(ClickCounterTest, CountsSuccessivePressesOfTheSameButtons)
{
	const bigtime_t interval = ClickCounter::kInterval;
	const ClickCase cases[] = {
		{"first press", 1000000, BPoint(10, 10), 1, 1},
		{"double", 1100000, BPoint(10, 10), 1, 2},
		{"triple", 1200000, BPoint(11, 9), 1, 3},
		{"fourth at the interval's end", 1200000 + interval, BPoint(11, 9), 1, 4},
		{"too late", 1200000 + 2 * interval + 1, BPoint(11, 9), 1, 1},
		{"double again", 1300000 + 2 * interval, BPoint(11, 9), 1, 2},
		{"other button", 1350000 + 2 * interval, BPoint(11, 9), 2, 1},
		{"both buttons", 1360000 + 2 * interval, BPoint(11, 9), 3, 1},
		{"moved too far", 1370000 + 2 * interval, BPoint(16, 9), 3, 1},
		{"slip within tolerance", 1380000 + 2 * interval, BPoint(20, 13), 3, 2},
		{"stamped before the last", 1000000, BPoint(20, 13), 3, 1},
	};
	ClickCounter counter;
	for (const ClickCase& click : cases)
		EXPECT_EQ(counter.Press(click.when, click.where, click.buttons), click.expected) << click.name;
}


class InputTest : public testing::Test {
protected:
	void SetUp() override
	{
		fWindow = make_window(BRect(100, 100, 299, 199));
		fLeft = new RecordingView(BRect(10, 10, 59, 59), "left");
		fRight = new RecordingView(BRect(60, 10, 109, 59), "right");
		fWindow->AddChild(fLeft);
		fWindow->AddChild(fRight);
		show_and_settle(fWindow);
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
		settle();
	}

	// A Qt mouse event at window point (x, y), given to the widget there.
	// `stamp`: the window system's time of the input in milliseconds, 0 none.
	void SendMouse(QEvent::Type type, float x, float y, Qt::MouseButton button,
		Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
		quint64 stamp = 0)
	{
		QWidget* content = BPrivate::view_widget(fLeft)->parentWidget();
		QWidget* target = content->childAt(QPoint((int)x, (int)y));
		if (target == NULL)
			target = content;
		const QPointF global(fWindow->Frame().left + x, fWindow->Frame().top + y);
		QMouseEvent event(type, target->mapFromGlobal(global), global, button, buttons, modifiers);
		event.setTimestamp(stamp);
		QCoreApplication::sendEvent(target, &event);
	}

	BWindow* fWindow;
	RecordingView* fLeft;
	RecordingView* fRight;
};


TEST_F(InputTest, QtPressesBecomeMouseDownsWithClicksAndViewCoordinates)
{
	for (int i = 0; i < 3; i++) {
		SendMouse(QEvent::MouseButtonPress, 20, 30, Qt::LeftButton, Qt::LeftButton);
		SendMouse(QEvent::MouseButtonRelease, 20, 30, Qt::LeftButton, Qt::NoButton);
	}
	SendMouse(QEvent::MouseButtonPress, 20, 30, Qt::RightButton, Qt::RightButton);
	ASSERT_TRUE(pump_until([this] {
		return std::count_if(fLeft->events.begin(), fLeft->events.end(),
			[](const RecordingView::Event& e) { return e.hook == "down"; }) == 4;
	}));

	std::vector<int32> clicks;
	std::vector<int32> buttons;
	for (const RecordingView::Event& event : fLeft->events) {
		if (event.hook != "down")
			continue;
		clicks.push_back(event.clicks);
		buttons.push_back(event.buttons);
		EXPECT_EQ(event.where, BPoint(10, 20));
	}
	EXPECT_EQ(clicks, (std::vector<int32>{1, 2, 3, 1}));
	EXPECT_EQ(buttons, (std::vector<int32>{1, 1, 1, 2}));
}


// Presses that waited while the program was busy arrive together; they
// count by the window system's stamps, as the user made them.
TEST_F(InputTest, PressesCountByWhenTheUserMadeThem)
{
	for (quint64 stamp : {10000, 11000, 11100, 11150}) {
		SendMouse(QEvent::MouseButtonPress, 20, 30, Qt::LeftButton, Qt::LeftButton,
			Qt::NoModifier, stamp);
		SendMouse(QEvent::MouseButtonRelease, 20, 30, Qt::LeftButton, Qt::NoButton,
			Qt::NoModifier, stamp + 50);
	}
	ASSERT_TRUE(pump_until([this] {
		return std::count_if(fLeft->events.begin(), fLeft->events.end(),
			[](const RecordingView::Event& e) { return e.hook == "down"; }) == 4;
	}));
	std::vector<int32> clicks;
	for (const RecordingView::Event& event : fLeft->events) {
		if (event.hook == "down")
			clicks.push_back(event.clicks);
	}
	EXPECT_EQ(clicks, (std::vector<int32>{1, 1, 2, 3}));
}


TEST_F(InputTest, TransitCodesFollowThePointerAcrossViews)
{
	SendMouse(QEvent::MouseMove, 5, 5, Qt::NoButton, Qt::NoButton);
	SendMouse(QEvent::MouseMove, 20, 20, Qt::NoButton, Qt::NoButton);
	SendMouse(QEvent::MouseMove, 21, 20, Qt::NoButton, Qt::NoButton);
	SendMouse(QEvent::MouseMove, 70, 20, Qt::NoButton, Qt::NoButton);
	SendMouse(QEvent::MouseMove, 150, 90, Qt::NoButton, Qt::NoButton);
	ASSERT_TRUE(pump_until([this] { return fRight->events.size() == 2; }));

	auto transits = [](const RecordingView* view) {
		std::vector<uint32> result;
		for (const RecordingView::Event& event : view->events)
			result.push_back(event.transit);
		return result;
	};
	EXPECT_EQ(transits(fLeft),
		(std::vector<uint32>{B_ENTERED_VIEW, B_INSIDE_VIEW, B_EXITED_VIEW}));
	EXPECT_EQ(transits(fRight), (std::vector<uint32>{B_ENTERED_VIEW, B_EXITED_VIEW}));
	EXPECT_EQ(fLeft->events[2].where, BPoint(60, 10));
}


// Sees every pointer message with the handler it is going to.
class TargetSpy : public BMessageFilter {
public:
	TargetSpy() : BMessageFilter(B_MOUSE_MOVED) {}
	filter_result Filter(BMessage*, BHandler** target) override
	{
		targets.push_back(*target);
		return B_DISPATCH_MESSAGE;
	}
	std::vector<BHandler*> targets;
};


TEST_F(InputTest, CommonFiltersSeeMovesWithTheirViewResolved)
{
	TargetSpy* spy = new TargetSpy;
	fWindow->Lock();
	fWindow->AddCommonFilter(spy);
	fWindow->Unlock();
	SendMouse(QEvent::MouseMove, 70, 20, Qt::NoButton, Qt::NoButton);
	ASSERT_TRUE(pump_until([spy] { return !spy->targets.empty(); }));
	EXPECT_EQ(spy->targets.front(), fRight);
}


TEST_F(InputTest, EventMaskSendsTheReleaseOutsideToThePressedView)
{
	class Tracker : public RecordingView {
	public:
		Tracker() : RecordingView(BRect(10, 60, 59, 89), "tracker") {}
		void MouseDown(BPoint where) override
		{
			RecordingView::MouseDown(where);
			SetMouseEventMask(B_POINTER_EVENTS, B_NO_POINTER_HISTORY);
		}
	};
	Tracker* tracker = new Tracker;
	fWindow->Lock();
	fWindow->AddChild(tracker);
	fWindow->Unlock();
	SendMouse(QEvent::MouseButtonPress, 20, 70, Qt::LeftButton, Qt::LeftButton);
	ASSERT_TRUE(pump_until([tracker] { return !tracker->events.empty(); }));
	SendMouse(QEvent::MouseButtonRelease, 150, 20, Qt::LeftButton, Qt::NoButton);
	ASSERT_TRUE(pump_until([tracker] { return tracker->events.back().hook == "up"; }));
	EXPECT_EQ(tracker->events.back().where, BPoint(140, -40));
	EXPECT_EQ(tracker->EventMask(), 0u);
}


struct KeyCase {
	const char* name;
	int key;
	Qt::KeyboardModifiers modifiers;
	quint32 scanCode;
	const char* text;
	int32 rawChar;
	const char* bytes;
	uint32 beModifiers;
	int32 keyCode;
};


TEST(KeyConversionTest, QtKeysBecomeBeKeyMessages)
{
	const KeyCase cases[] = {
		{"Enter", Qt::Key_Return, Qt::NoModifier, 36, "\r", B_ENTER, "\n", 0, 0x47},
		{"Escape", Qt::Key_Escape, Qt::NoModifier, 9, "\x1b", B_ESCAPE, "\x1b", 0, 0x01},
		{"Ctrl+C is Command and keeps its letter", Qt::Key_C, Qt::ControlModifier, 54, "\x03",
			'c', "c", B_COMMAND_KEY | B_LEFT_COMMAND_KEY, 54},
		{"Ctrl+A without text", Qt::Key_A, Qt::ControlModifier, 38, "", 'a', "a",
			B_COMMAND_KEY | B_LEFT_COMMAND_KEY, 38},
		{"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 52, "\x1a", 'z',
			"Z", B_COMMAND_KEY | B_LEFT_COMMAND_KEY | B_SHIFT_KEY | B_LEFT_SHIFT_KEY, 52},
		{"Ctrl+[ is no Escape", Qt::Key_BracketLeft, Qt::ControlModifier, 34, "\x1b", '[', "[",
			B_COMMAND_KEY | B_LEFT_COMMAND_KEY, 34},
		{"Shift+A", Qt::Key_A, Qt::ShiftModifier, 38, "A", 'a', "A",
			B_SHIFT_KEY | B_LEFT_SHIFT_KEY, 38},
		{"Alt+O is Control", Qt::Key_O, Qt::AltModifier, 32, "o", 'o', "\x0f",
			B_CONTROL_KEY | B_LEFT_CONTROL_KEY, 32},
		{"Alt+Shift+C is Control", Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier, 54, "C", 'c',
			"\x03", B_CONTROL_KEY | B_LEFT_CONTROL_KEY | B_SHIFT_KEY | B_LEFT_SHIFT_KEY, 54},
		{"Delete without text", Qt::Key_Delete, Qt::ControlModifier, 119, "", B_DELETE, "\x7f",
			B_COMMAND_KEY | B_LEFT_COMMAND_KEY, 0x34},
		{"Shift+1 keeps the digit", Qt::Key_Exclam, Qt::ShiftModifier, 10, "!", '1', "!",
			B_SHIFT_KEY | B_LEFT_SHIFT_KEY, 10},
		{"F5", Qt::Key_F5, Qt::NoModifier, 71, "", B_FUNCTION_KEY, "\x10", 0, B_F5_KEY},
		{"Down", Qt::Key_Down, Qt::NoModifier, 116, "", B_DOWN_ARROW, "\x1f", 0, 0x62},
		{"Super is Option", Qt::Key_X, Qt::MetaModifier, 53, "x", 'x', "x",
			B_OPTION_KEY | B_LEFT_OPTION_KEY, 53},
	};
	for (const KeyCase& test : cases) {
		QKeyEvent event(QEvent::KeyPress, test.key, test.modifiers, test.scanCode, 0, 0,
			QString::fromUtf8(test.text));
		BMessage message;
		ASSERT_TRUE(BPrivate::make_key_message(event, true, &message)) << test.name;
		EXPECT_EQ(message.what, (uint32)B_KEY_DOWN) << test.name;
		EXPECT_EQ(message.FindInt32("raw_char"), test.rawChar) << test.name;
		EXPECT_STREQ(message.FindString("bytes"), test.bytes) << test.name;
		EXPECT_EQ((uint32)message.FindInt32("modifiers"), test.beModifiers) << test.name;
		EXPECT_EQ(message.FindInt32("key"), test.keyCode) << test.name;
		EXPECT_EQ(message.FindInt8("byte"), (int8)test.bytes[0]) << test.name;
	}

	QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
	BMessage message;
	EXPECT_FALSE(BPrivate::make_key_message(shift, true, &message));
}


TEST_F(InputTest, KeysGoToTheFocusView)
{
	fWindow->Lock();
	fRight->MakeFocus();
	fWindow->Unlock();
	EXPECT_EQ(fWindow->CurrentFocus(), fRight);
	QKeyEvent event(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, 56, 0, 0, "b");
	QCoreApplication::sendEvent(BPrivate::view_widget(fRight), &event);
	ASSERT_TRUE(pump_until([this] { return !fRight->events.empty(); }));
	EXPECT_EQ(fRight->events.back().hook, "key");
	EXPECT_EQ(fRight->events.back().bytes, "b");
}


TEST_F(InputTest, AnActivatedWindowGivesNoViewTheFocusUntilAskedFor)
{
	fWindow->Lock();
	fLeft->SetFlags(fLeft->Flags() | B_NAVIGABLE);
	fWindow->Unlock();
	QWidget* top = BPrivate::view_widget(fLeft)->window();
	top->activateWindow();
	ASSERT_TRUE(pump_until([top] { return top->isActiveWindow(); }));
	settle();
	EXPECT_EQ(fWindow->CurrentFocus(), nullptr);
	EXPECT_FALSE(BPrivate::view_widget(fLeft)->hasFocus());

	QKeyEvent event(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
	QCoreApplication::sendEvent(top, &event);
	settle();
	EXPECT_TRUE(fLeft->events.empty());
}


// Polls the pointer from inside MouseDown until the button is released, as
// the program's click classifier does.
class PollingView : public RecordingView {
public:
	explicit PollingView(bool checkMessageQueue = true)
		: RecordingView(BRect(10, 60, 59, 89), "polling"),
		  checkQueue(checkMessageQueue) {}

	void MouseDown(BPoint where) override
	{
		RecordingView::MouseDown(where);
		pressed.store(true);
		QElapsedTimer watchdog;
		watchdog.start();
		while (watchdog.elapsed() < 5000) {
			BPoint point;
			uint32 buttons;
			GetMouse(&point, &buttons, checkQueue);
			polled.push_back(std::make_pair(point, buttons));
			if (buttons == 0)
				return;
			snooze(1000);
		}
	}

	const bool checkQueue;
	std::atomic<bool> pressed{false};
	std::vector<std::pair<BPoint, uint32>> polled;
};


TEST_F(InputTest, GetMouseInsideAHandlerReadsInputWithoutDispatchingIt)
{
	PollingView* view = new PollingView;
	fWindow->Lock();
	fWindow->AddChild(view);
	fWindow->Unlock();
	QWidget* widget = BPrivate::view_widget(view);
	const QPointF global(fWindow->Frame().left + 25, fWindow->Frame().top + 65);

	// Another thread moves and releases while the handler polls.
	std::thread mover([&] {
		QElapsedTimer watchdog;
		watchdog.start();
		while (!view->pressed.load() && watchdog.elapsed() < 5000)
			snooze(1000);
		const QPointF moved = global + QPointF(30, 4);
		QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseMove,
			widget->mapFromGlobal(moved), moved, Qt::NoButton, Qt::LeftButton, Qt::NoModifier));
		QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease,
			widget->mapFromGlobal(moved), moved, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
	});
	QMouseEvent press(QEvent::MouseButtonPress, widget->mapFromGlobal(global), global,
		Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
	QCoreApplication::sendEvent(widget, &press);
	const bool polledToTheEnd = pump_until([view] {
		return !view->polled.empty() && view->polled.back().second == 0;
	});
	mover.join();
	ASSERT_TRUE(polledToTheEnd);
	settle();

	// The move is seen with the button held, then the release, in order.
	ASSERT_GE(view->polled.size(), 2u);
	const auto& moved = view->polled[view->polled.size() - 2];
	EXPECT_EQ(moved.first, BPoint(45, 9));
	EXPECT_EQ(moved.second, (uint32)B_PRIMARY_MOUSE_BUTTON);
	EXPECT_EQ(view->polled.back().first, BPoint(45, 9));
	// Read by GetMouse, the move and the release are not dispatched.
	for (const RecordingView::Event& event : view->events)
		EXPECT_EQ(event.hook, "down");
}


// Qt often handles a quick click whole before the window dispatches its
// press: the poll must still see the release, and nothing may hang.
TEST_F(InputTest, GetMouseSeesInputQueuedBeforeThePressIsDispatched)
{
	const struct {
		const char* name;
		bool checkQueue;
		std::vector<std::pair<BPoint, uint32>> polled;
	} cases[] = {
		{"in order from the queue", true,
			{{BPoint(17, 6), B_PRIMARY_MOUSE_BUTTON}, {BPoint(18, 6), 0}}},
		{"the latest state", false, {{BPoint(18, 6), 0}}},
	};
	for (const auto& test : cases) {
		PollingView* view = new PollingView(test.checkQueue);
		fWindow->Lock();
		fWindow->AddChild(view);
		fWindow->Unlock();
		SendMouse(QEvent::MouseButtonPress, 25, 65, Qt::LeftButton, Qt::LeftButton);
		SendMouse(QEvent::MouseMove, 27, 66, Qt::NoButton, Qt::LeftButton);
		SendMouse(QEvent::MouseButtonRelease, 28, 66, Qt::LeftButton, Qt::NoButton);
		EXPECT_TRUE(pump_until([view] { return view->pressed.load(); })) << test.name;
		settle();
		EXPECT_EQ(view->polled, test.polled) << test.name;
		// Already on its way when it was read, the release still arrives.
		ASSERT_FALSE(view->events.empty()) << test.name;
		EXPECT_EQ(view->events.back().hook, "up") << test.name;
		fWindow->Lock();
		view->RemoveSelf();
		fWindow->Unlock();
		delete view;
	}
}


TEST_F(InputTest, InjectedMessagesForTheWindowReachTheViewUnderTheirPoint)
{
	BMessage down(B_MOUSE_DOWN);
	down.AddPoint("where", BPoint(70, 30));
	down.AddInt32("buttons", B_SECONDARY_MOUSE_BUTTON);
	down.AddInt32("modifiers", 0);
	fWindow->PostMessage(&down);
	fWindow->PostMessage(&down);
	ASSERT_TRUE(pump_until([this] { return fRight->events.size() == 2; }));
	EXPECT_EQ(fRight->events[0].where, BPoint(10, 20));
	EXPECT_EQ(fRight->events[0].clicks, 1);
	EXPECT_EQ(fRight->events[1].clicks, 2);

	// GetMouse outside a tracking loop reports the injected state.
	BPoint where;
	uint32 buttons;
	fWindow->Lock();
	fRight->GetMouse(&where, &buttons, false);
	fWindow->Unlock();
	EXPECT_EQ(where, BPoint(10, 20));
	EXPECT_EQ(buttons, (uint32)B_SECONDARY_MOUSE_BUTTON);
}


TEST_F(InputTest, UnhandledMessagesTravelFromViewToParentToWindow)
{
	class Catcher : public BWindow {
	public:
		Catcher() : BWindow(BRect(0, 0, 99, 99), "catcher", B_TITLED_WINDOW, 0) {}
		void MessageReceived(BMessage* message) override { received.push_back(message->what); }
		std::vector<uint32> received;
	};
	Catcher* window = new Catcher;
	WindowHolder holder(window);
	RecordingView* parent = new RecordingView(BRect(0, 0, 50, 50), "parent");
	RecordingView* child = new RecordingView(BRect(0, 0, 10, 10), "child");
	window->AddChild(parent);
	parent->AddChild(child);
	show_and_settle(window);

	window->PostMessage('abcd', child);
	ASSERT_TRUE(pump_until([window] { return !window->received.empty(); }));
	EXPECT_EQ(child->received, (std::vector<uint32>{'abcd'}));
	EXPECT_EQ(parent->received, (std::vector<uint32>{'abcd'}));
	EXPECT_EQ(window->received, (std::vector<uint32>{'abcd'}));
}


class FlagWindow : public BWindow {
public:
	FlagWindow() : BWindow(BRect(0, 0, 99, 99), "flags", B_TITLED_WINDOW, 0) {}
	void MessageReceived(BMessage* message) override
	{
		if (message->what == 'lock')
			unlockedFirst.store(releasing.load());
		handled.store(true);
	}
	bool QuitRequested() override
	{
		quitAskedWithMessage.store(CurrentMessage() != NULL);
		return false;
	}
	std::atomic<bool> releasing{false};
	std::atomic<bool> unlockedFirst{false};
	std::atomic<bool> handled{false};
	std::atomic<bool> quitAskedWithMessage{false};
};


TEST(WindowThreadTest, LockFromAnotherThreadHoldsOffDispatching)
{
	FlagWindow* window = new FlagWindow;
	WindowHolder holder(window);
	show_and_settle(window);
	std::atomic<bool> locked{false};
	std::thread locker([&] {
		ASSERT_TRUE(window->Lock());
		locked.store(true);
		window->PostMessage('lock');
		// Holds the lock until the window's thread is waiting for it.
		const bigtime_t deadline = system_time() + 10000000;
		while (window->CountLockRequests() < 2 && system_time() < deadline)
			std::this_thread::yield();
		EXPECT_GE(window->CountLockRequests(), 2);
		window->releasing.store(true);
		window->Unlock();
	});
	const bool handled = pump_until([&] { return window->handled.load(); });
	locker.join();
	ASSERT_TRUE(handled);
	EXPECT_TRUE(window->unlockedFirst.load());
}


TEST(WindowThreadTest, PostFromAPlainThreadWakesTheWindow)
{
	FlagWindow* window = new FlagWindow;
	WindowHolder holder(window);
	show_and_settle(window);
	std::thread poster([window] { window->PostMessage('wake'); });
	poster.join();
	EXPECT_TRUE(pump_until([window] { return window->handled.load(); }));
	EXPECT_EQ(window->Thread(), find_thread(NULL));
}


TEST(WindowThreadTest, TheCloseBoxAsksThroughTheLooper)
{
	FlagWindow* window = new FlagWindow;
	WindowHolder holder(window);
	show_and_settle(window);
	QCloseEvent close;
	QCoreApplication::sendEvent(BPrivate::window_widget(window), &close);
	EXPECT_FALSE(close.isAccepted());
	EXPECT_TRUE(pump_until([window] { return window->quitAskedWithMessage.load(); }));
	EXPECT_FALSE(window->IsHidden());
}

}

namespace {

class KeyWindow : public BWindow {
public:
	KeyWindow() : BWindow(BRect(0, 0, 199, 99), "keys", B_TITLED_WINDOW, 0) {}
	void MessageReceived(BMessage* message) override
	{
		received.push_back(message->what);
		if (message->what == B_KEY_DOWN)
			rawChars.push_back(message->FindInt32("raw_char"));
	}
	std::vector<uint32> received;
	std::vector<int32> rawChars;
};


void
press_key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const char* text)
{
	QKeyEvent event(QEvent::KeyPress, key, modifiers, QString::fromUtf8(text));
	QCoreApplication::sendEvent(widget, &event);
}


TEST(WindowKeyTest, KeysWithoutAFocusViewReachTheWindow)
{
	KeyWindow* window = new KeyWindow;
	WindowHolder holder(window);
	show_and_settle(window);
	press_key(BPrivate::window_widget(window), Qt::Key_Escape, Qt::NoModifier, "\x1b");
	ASSERT_TRUE(pump_until([window] { return !window->rawChars.empty(); }));
	EXPECT_EQ(window->rawChars.front(), B_ESCAPE);
}


TEST(WindowKeyTest, EnterClicksTheDefaultButtonAndCommandKeysFindShortcuts)
{
	KeyWindow* window = new KeyWindow;
	WindowHolder holder(window);
	RecordingView* focus = new RecordingView(BRect(0, 0, 49, 49), "focus");
	BButton* button = new BButton(BRect(60, 0, 119, 20), "ok", "OK", new BMessage('_ok'));
	window->AddChild(focus);
	window->AddChild(button);
	window->SetDefaultButton(button);
	window->AddShortcut('s', B_SHIFT_KEY, new BMessage('save'));
	focus->MakeFocus();
	show_and_settle(window);
	EXPECT_EQ(window->DefaultButton(), button);
	EXPECT_TRUE(button->IsDefault());

	QWidget* widget = BPrivate::view_widget(focus);
	press_key(widget, Qt::Key_Return, Qt::NoModifier, "\r");
	press_key(widget, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "S");
	press_key(widget, Qt::Key_S, Qt::ControlModifier, "s");
	ASSERT_TRUE(pump_until([window] { return window->received.size() >= 2; }));
	settle();
	EXPECT_EQ(window->received, (std::vector<uint32>{'_ok', 'save'}));
	// The Command key without a matching shortcut goes to the focus view.
	ASSERT_EQ(focus->events.size(), 1u);
	EXPECT_EQ(focus->events[0].bytes, "s");
}

}
