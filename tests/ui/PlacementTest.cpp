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


TEST_F(PlacementTest, SetPosCases)
{
	const float right = fScreen.right;
	const float bottom = fScreen.bottom;
	struct Case {
		const char* name;
		bool useGiven;
		BPoint given;
		BPoint expected;
	} cases[] = {
		{"centred", false, BPoint(7, 7), BPoint((right - 199) * 0.5f, (bottom - 99) * 0.5f)},
		{"kept", true, BPoint(20, 30), BPoint(20, 30)},
		{"reaching the right edge", true, BPoint(right - 204, 30), BPoint(right - 204, 30)},
		{"one pixel further", true, BPoint(right - 203.5f, 30), BPoint(right - 204, 30)},
		{"past the bottom", true, BPoint(20, bottom), BPoint(20, bottom - 104)},
		{"negative", true, BPoint(-30, -1), BPoint(0, 0)},
	};
	for (const Case& c : cases) {
		const BPoint used = fWindow->SetPos(c.useGiven, c.given);
		EXPECT_EQ(c.expected, used) << c.name;
		EXPECT_EQ(c.expected, fWindow->Frame().LeftTop()) << c.name;
	}
}


TEST_F(PlacementTest, MoveWindowIntoScreenCases)
{
	const float right = fScreen.right;
	const float bottom = fScreen.bottom;
	struct Case {
		const char* name;
		BPoint at;
		BPoint expected;
	} cases[] = {
		{"inside", BPoint(50, 60), BPoint(50, 60)},
		{"off the right", BPoint(right - 100, 60), BPoint(right - 204, 60)},
		{"off the left", BPoint(-40, 60), BPoint(5, 60)},
		{"under the top bar", BPoint(50, 3), BPoint(50, 24)},
		{"touching the bottom margin", BPoint(50, bottom - 104), BPoint(50, bottom - 104)},
		{"one pixel lower", BPoint(50, bottom - 103), BPoint(50, bottom - 104)},
	};
	for (const Case& c : cases) {
		fWindow->MoveTo(c.at);
		pelkan::move_window_into_screen(fWindow);
		EXPECT_EQ(c.expected, fWindow->Frame().LeftTop()) << c.name;
	}
}

}
