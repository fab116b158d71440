#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

#include <QMouseEvent>

#include <View.h>
#include <Window.h>

#include "GuiTest.h"
#include "QtLookup.h"
#include "RecordingView.h"

namespace {

struct PointerReading {
	float dx;
	float dy;
	uint32 buttons;
};


// Plays back pointer readings relative to the press; the last one repeats.
class ScriptedProbe : public TPointerProbe {
public:
	ScriptedProbe(BPoint press, std::deque<PointerReading> readings)
		: fPress(press), fReadings(std::move(readings)) {}

	void GetMouse(BPoint* where, uint32* buttons) override
	{
		const PointerReading reading = fReadings.front();
		if (fReadings.size() > 1)
			fReadings.pop_front();
		*where = fPress + BPoint(reading.dx, reading.dy);
		*buttons = reading.buttons;
	}

	void Wait() override { fWaits++; }

	int32 fWaits = 0;

private:
	BPoint fPress;
	std::deque<PointerReading> fReadings;
};


struct ClickCase {
	const char* name;
	uint32 previousButtons;
	uint32 buttons;
	int32 clicks;
	std::deque<PointerReading> readings;
	const char* expected;
};


const ClickCase kClickCases[] = {
	{"single left", 1, 1, 1, {{0, 0, 0}}, "DownLeft ClickLeftSingle"},
	{"first click after another button", 2, 1, 1, {{0, 0, 0}}, "DownLeft ClickLeftSingle"},
	{"single right", 2, 2, 1, {{0, 0, 0}}, "DownRight ClickRightSingle"},
	{"double left", 1, 1, 2, {{0, 0, 0}}, "ClickLeftDouble"},
	{"double right", 2, 2, 2, {{0, 0, 0}}, "ClickRightDouble"},
	{"right after a left double click", 1, 2, 2, {{0, 0, 0}}, "DownRight ClickRightSingle"},
	{"triple left", 1, 1, 3, {{0, 0, 0}}, "DownLeft"},
	{"moved exactly sqrt 10 then released", 1, 1, 1, {{1, 3, 1}, {1, 3, 0}},
		"DownLeft ClickLeftSingle"},
	{"moved beyond sqrt 10", 1, 1, 1, {{1, 3, 1}, {2, 3, 1}}, "DownLeft DragLeft"},
	{"right drag", 2, 2, 1, {{-4, 0, 2}}, "DownRight DragRight"},
	{"drag after a double click", 1, 1, 2, {{5, 0, 1}}, ""},
	{"both buttons", 3, 3, 1, {{0, 0, 0}}, ""},
	{"another button joins", 1, 1, 1, {{0, 0, 3}}, "DownLeft ClickLeftSingle"},
};


class ClickClassification : public ::testing::TestWithParam<ClickCase> {
};


TEST_P(ClickClassification, CallsTheHooksOfThePress)
{
	const ClickCase& c = GetParam();
	RecordingView view;
	const BPoint press(40, 50);
	// Sets the buttons of the previous press.
	ScriptedProbe primer(press, {{0, 0, 0}});
	view.ClassifyPress(press, c.previousButtons, 1, primer);
	view.fCalls.clear();
	view.fPoints.clear();

	ScriptedProbe probe(press, c.readings);
	view.ClassifyPress(press, c.buttons, c.clicks, probe);

	EXPECT_EQ(c.expected, view.Calls());
	for (BPoint point : view.fPoints)
		EXPECT_EQ(press, point) << "hooks get the point of the press";
}


INSTANTIATE_TEST_SUITE_P(Presses, ClickClassification, ::testing::ValuesIn(kClickCases),
	[](const ::testing::TestParamInfo<ClickCase>& info) {
		std::string name = info.param.name;
		for (char& c : name) {
			if (!isalnum((unsigned char)c))
				c = '_';
		}
		return name;
	});


TEST(ClickClassificationPolling, WaitsBetweenReadingsWhileTheButtonIsHeld)
{
	RecordingView view;
	const BPoint press(10, 10);
	ScriptedProbe probe(press, {{0, 0, 1}, {1, 1, 1}, {0, 2, 1}, {0, 0, 0}});
	view.ClassifyPress(press, 1, 1, probe);
	EXPECT_EQ(3, probe.fWaits);
	EXPECT_EQ("DownLeft ClickLeftSingle", view.Calls());
}


TEST(ClickClassificationPolling, PreviousButtonsAreSharedByAllViews)
{
	RecordingView first;
	RecordingView second;
	ScriptedProbe released(BPoint(0, 0), {{0, 0, 0}});
	first.ClassifyPress(BPoint(0, 0), 2, 1, released);
	second.ClassifyPress(BPoint(0, 0), 2, 2, released);
	EXPECT_EQ("ClickRightDouble", second.Calls());
}


class ClickThroughWindow : public GuiTest {
};


// The press arrives as a B_MOUSE_DOWN through the window; the pointer is
// already 5 pixels away, so the press is a drag from where it began.
TEST_F(ClickThroughWindow, PressMessageIsClassified)
{
	BWindow* window = new BWindow(BRect(100, 100, 299, 299), "click", B_TITLED_WINDOW, 0);
	RecordingView* view = new RecordingView;
	window->AddChild(view);
	window->Show();

	RunSteps({
		[&] {
			BMessage press = MouseMessage(B_MOUSE_DOWN, view, BPoint(20, 20), 1);
			press.ReplacePoint("screen_where", view->ConvertToScreen(BPoint(25, 20)));
			press.AddInt32("clicks", 1);
			window->PostMessage(&press, view);
			return true;
		},
		[&] { return !view->fCalls.empty() && view->fCalls.size() >= 2; },
	});
	EXPECT_EQ("DownLeft DragLeft", view->Calls());
	ASSERT_EQ(2u, view->fPoints.size());
	EXPECT_EQ(BPoint(20, 20), view->fPoints[1]);
}



// Qt input for a press at the view's (40, 50): what Qt reports, relative to
// the press, with the buttons held after the event.
struct QtPointerEvent {
	QEvent::Type type;
	float dx;
	float dy;
	Qt::MouseButton button;
};

const QtPointerEvent kPress = {QEvent::MouseButtonPress, 0, 0, Qt::LeftButton};
const QtPointerEvent kRelease = {QEvent::MouseButtonRelease, 0, 0, Qt::LeftButton};


struct QueuedClickCase {
	const char* name;
	std::vector<QtPointerEvent> events;
	const char* expected;
};


const QueuedClickCase kQueuedClickCases[] = {
	{"single", {kPress, kRelease}, "DownLeft ClickLeftSingle"},
	{"double", {kPress, kRelease, kPress, kRelease},
		"DownLeft ClickLeftSingle ClickLeftDouble"},
	{"triple", {kPress, kRelease, kPress, kRelease, kPress, kRelease},
		"DownLeft ClickLeftSingle ClickLeftDouble DownLeft"},
	{"moved a little while held",
		{kPress, {QEvent::MouseMove, 1, 2, Qt::NoButton},
			{QEvent::MouseButtonRelease, 1, 2, Qt::LeftButton}},
		"DownLeft ClickLeftSingle"},
	{"dragged while held",
		{kPress, {QEvent::MouseMove, 3, 2, Qt::NoButton},
			{QEvent::MouseButtonRelease, 3, 2, Qt::LeftButton}},
		"DownLeft DragLeft"},
	{"right single", {{QEvent::MouseButtonPress, 0, 0, Qt::RightButton},
			{QEvent::MouseButtonRelease, 0, 0, Qt::RightButton}},
		"DownRight ClickRightSingle"},
};


// The classifying view of a window, fed with Qt input. Slowly, the rest of
// a press (up to its release) reaches Qt only while the view polls; quickly,
// Qt has handled every event before the window dispatches the first press.
class QueuedClickView : public RecordingView {
public:
	void MouseDown(BPoint where) override
	{
		while (!fDuringPress.empty()) {
			const QtPointerEvent event = fDuringPress.front();
			fDuringPress.pop_front();
			QCoreApplication::postEvent(fWidget, MakeEvent(event).release());
			if (event.type == QEvent::MouseButtonRelease)
				break;
		}
		RecordingView::MouseDown(where);
		fPressesDone++;
	}

	std::unique_ptr<QMouseEvent> MakeEvent(const QtPointerEvent& event)
	{
		if (event.type == QEvent::MouseButtonPress)
			fHeld |= event.button;
		else if (event.type == QEvent::MouseButtonRelease)
			fHeld &= ~Qt::MouseButtons(event.button);
		const QPointF global = fGlobalPress + QPointF(event.dx, event.dy);
		return std::make_unique<QMouseEvent>(event.type, fWidget->mapFromGlobal(global),
			global, event.button, fHeld, Qt::NoModifier);
	}

	QWidget* fWidget = nullptr;
	QPointF fGlobalPress;
	Qt::MouseButtons fHeld;
	std::deque<QtPointerEvent> fDuringPress;
	int32 fPressesDone = 0;
};


// Ends a poll that waits for a release it never sees: after the timeout it
// reports the hang and releases the buttons the way Qt would.
class PollWatchdog {
public:
	PollWatchdog(QWidget* widget, QPointF local, QPointF global)
		: fThread([this, widget, local, global] { _Watch(widget, local, global); }) {}

	~PollWatchdog()
	{
		{
			std::lock_guard<std::mutex> guard(fLock);
			fDone = true;
		}
		fChanged.notify_all();
		fThread.join();
	}

	bool Fired() const { return fFired; }

private:
	void _Watch(QWidget* widget, QPointF local, QPointF global)
	{
		std::unique_lock<std::mutex> guard(fLock);
		if (fChanged.wait_for(guard, std::chrono::seconds(5), [this] { return fDone; }))
			return;
		fFired = true;
		while (!fChanged.wait_for(guard, std::chrono::milliseconds(100),
				[this] { return fDone; })) {
			// postEvent is the one Qt call that is safe from any thread.
			QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease,
				local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
		}
	}

	std::mutex fLock;
	std::condition_variable fChanged;
	bool fDone = false;
	std::atomic<bool> fFired{false};
	std::thread fThread;
};


enum class Arrival { kWhileThePressIsClassified, kBeforeThePressIsDispatched };


class QueuedClicks : public GuiTest, public ::testing::WithParamInterface<QueuedClickCase> {
protected:
	// The hooks the view calls when Qt input arrives as `arrival` says.
	std::string Classify(Arrival arrival)
	{
		const QueuedClickCase& c = GetParam();
		BWindow* window = new BWindow(BRect(100, 100, 299, 299), "queued clicks",
			B_TITLED_WINDOW, 0);
		QueuedClickView* view = new QueuedClickView;
		window->AddChild(view);
		window->Show();
		int32 presses = 0;
		for (const QtPointerEvent& event : c.events)
			presses += event.type == QEvent::MouseButtonPress ? 1 : 0;

		size_t next = 0;
		int32 fed = 0;
		std::unique_ptr<PollWatchdog> watchdog;
		RunSteps({
			Drain(window),
			[&] {
				view->fWidget = widget_at(window, view->ConvertToScreen(BPoint(1, 1)));
				if (view->fWidget == nullptr)
					return false;
				const BPoint press = view->ConvertToScreen(BPoint(40, 50));
				view->fGlobalPress = QPointF(press.x, press.y);
				watchdog = std::make_unique<PollWatchdog>(view->fWidget,
					view->fWidget->mapFromGlobal(view->fGlobalPress), view->fGlobalPress);
				return true;
			},
			[&] {
				if (view->fPressesDone < fed)
					return false;
				if (next == c.events.size())
					return true;
				// A press, and what Qt reports up to the next press: at once
				// or while the view polls.
				do {
					const QtPointerEvent event = c.events[next++];
					if (event.type == QEvent::MouseButtonPress)
						fed++;
					if (event.type != QEvent::MouseButtonPress
						&& arrival == Arrival::kWhileThePressIsClassified) {
						view->fDuringPress.push_back(event);
					} else {
						QCoreApplication::sendEvent(view->fWidget, view->MakeEvent(event).get());
					}
				} while (next < c.events.size()
					&& (arrival == Arrival::kBeforeThePressIsDispatched
						|| c.events[next].type != QEvent::MouseButtonPress));
				return false;
			},
			Drain(window),
		});
		EXPECT_EQ(presses, view->fPressesDone);
		EXPECT_FALSE(watchdog != nullptr && watchdog->Fired())
			<< "the poll saw the button held after its release";
		return view->Calls();
	}
};


TEST_P(QueuedClicks, ClassifyAsWhenInputArrivesWhileThePressIsClassified)
{
	EXPECT_EQ(GetParam().expected, Classify(Arrival::kWhileThePressIsClassified));
}


TEST_P(QueuedClicks, ClassifyTheSameWhenQtHandledThemBeforeDispatch)
{
	EXPECT_EQ(GetParam().expected, Classify(Arrival::kBeforeThePressIsDispatched));
}


INSTANTIATE_TEST_SUITE_P(QtInput, QueuedClicks, ::testing::ValuesIn(kQueuedClickCases),
	[](const ::testing::TestParamInfo<QueuedClickCase>& info) {
		std::string name = info.param.name;
		for (char& c : name) {
			if (!isalnum((unsigned char)c))
				c = '_';
		}
		return name;
	});

}
