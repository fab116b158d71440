#include <deque>

#include <gtest/gtest.h>

#include <View.h>
#include <Window.h>

#include "GuiTest.h"
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

}
