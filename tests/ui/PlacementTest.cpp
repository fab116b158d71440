#include <gtest/gtest.h>

#include <Screen.h>

#include "GuiTest.h"
#include "PKNWin.h"
#include "WindowFunctions.h"

namespace {

class PlacementTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fScreen = BScreen(B_MAIN_SCREEN_ID).Frame();
		fWindow = new TPKNWin(BRect(0, 0, 199, 99), "placed", B_TITLED_WINDOW, 0);
	}

	BRect fScreen;
	TPKNWin* fWindow = nullptr;
};


// The main screen's usable area need not start at the desktop's origin (a
// panel above or left of it, or another screen: ui_tests_two_screens).
TEST_F(PlacementTest, SetPosCases)
{
	const float left = fScreen.left;
	const float top = fScreen.top;
	const float right = fScreen.right;
	const float bottom = fScreen.bottom;
	struct Case {
		const char* name;
		bool useGiven;
		BPoint given;
		BPoint expected;
	} cases[] = {
		{"centred", false, BPoint(7, 7),
			BPoint(left + (right - left - 199) * 0.5f, top + (bottom - top - 99) * 0.5f)},
		{"kept", true, BPoint(left + 20, top + 30), BPoint(left + 20, top + 30)},
		{"reaching the right edge", true, BPoint(right - 204, top + 30),
			BPoint(right - 204, top + 30)},
		{"one pixel further", true, BPoint(right - 203.5f, top + 30),
			BPoint(right - 204, top + 30)},
		{"past the bottom", true, BPoint(left + 20, bottom), BPoint(left + 20, bottom - 104)},
		{"left of and above the area", true, BPoint(left - 30, top - 1), BPoint(left, top)},
	};
	for (const Case& c : cases) {
		const BPoint used = fWindow->SetPos(c.useGiven, c.given);
		EXPECT_EQ(c.expected, used) << c.name;
		EXPECT_EQ(c.expected, fWindow->Frame().LeftTop()) << c.name;
	}
}


TEST_F(PlacementTest, MoveWindowIntoScreenCases)
{
	const float left = fScreen.left;
	const float top = fScreen.top;
	const float right = fScreen.right;
	const float bottom = fScreen.bottom;
	struct Case {
		const char* name;
		BPoint at;
		BPoint expected;
	} cases[] = {
		{"inside", BPoint(left + 50, top + 60), BPoint(left + 50, top + 60)},
		{"off the right", BPoint(right - 100, top + 60), BPoint(right - 204, top + 60)},
		{"off the left", BPoint(left - 40, top + 60), BPoint(left + 5, top + 60)},
		{"under the top bar", BPoint(left + 50, top + 3), BPoint(left + 50, top + 24)},
		{"touching the bottom margin", BPoint(left + 50, bottom - 104),
			BPoint(left + 50, bottom - 104)},
		{"one pixel lower", BPoint(left + 50, bottom - 103), BPoint(left + 50, bottom - 104)},
	};
	for (const Case& c : cases) {
		fWindow->MoveTo(c.at);
		pelkan::move_window_into_screen(fWindow);
		EXPECT_EQ(c.expected, fWindow->Frame().LeftTop()) << c.name;
	}
}

}
