#ifndef GUI_TEST_H
#define GUI_TEST_H

#include <chrono>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Application.h>
#include <Message.h>
#include <Point.h>

class BView;
class BWindow;

// A test with an application whose loop runs the windows. The steps of
// RunSteps() run inside that loop, on the GUI thread, between the other
// messages: each is called again until it answers true, and a step that is
// not done within the watchdog fails the test and ends the loop.
class GuiTest : public ::testing::Test {
public:
	typedef std::function<bool()> Step;

protected:

	void SetUp() override;
	void TearDown() override;

	void RunSteps(std::vector<Step> steps,
		std::chrono::milliseconds watchdog = std::chrono::milliseconds(5000));

	// A step that lets the loop go round a few times, so that what was
	// posted so far is dispatched.
	static Step Settle();
	// A step that ends once the window has dispatched every message posted
	// to it before the step began.
	static Step Drain(BWindow* window);

	// Input as the window would make it, posted to the view.
	static BMessage MouseMessage(uint32 what, BView* view, BPoint where, uint32 buttons,
		int32 transit = -1);
	static void PostMouse(uint32 what, BView* view, BPoint where, uint32 buttons,
		int32 transit = -1);
	static BMessage KeyMessage(int32 rawChar, int32 modifiers, int32 key = 0);
	static void Activate(BWindow* window, bool active);

	// Its windows are quit at the end of the test.
	BApplication* fApp = nullptr;
};

#endif
