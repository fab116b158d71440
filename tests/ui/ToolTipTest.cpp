#include <memory>

#include <gtest/gtest.h>

#include <Clock.h>
#include <SteppedClock.h>
#include <View.h>
#include <Window.h>

#include "GuiTest.h"
#include "ToolBar.h"
#include "ToolButton.h"
#include "ToolTip.h"

namespace {

const bigtime_t kSecond = 1000000;


class ToolTipTest : public GuiTest {
protected:
	void SetUp() override
	{
		fPreviousClock = set_current_clock(&fClock);
		GuiTest::SetUp();
		fWindow = new BWindow(BRect(100, 100, 399, 199), "tips", B_TITLED_WINDOW, 0);
		TToolBar* bar = new TToolBar(BRect(0, 0, 10, 10), "bar", B_FOLLOW_LEFT | B_FOLLOW_TOP);
		fFirst = new TToolButton(BRect(0, 0, 22, 22), "first", NULL, NULL, NULL, 0);
		fSecond = new TToolButton(BRect(0, 0, 22, 22), "second", NULL, NULL, NULL, 0);
		fFirst->SetTip("First");
		fSecond->SetTip("Second");
		bar->AddItem(fFirst);
		bar->AddItem(fSecond);
		fWindow->AddChild(bar);
		fWindow->Show();
	}

	void TearDown() override
	{
		GuiTest::TearDown();
		set_current_clock(fPreviousClock);
	}

	int32 CountTipWindows()
	{
		int32 count = 0;
		for (int32 i = 0; BWindow* window = be_app->WindowAt(i); i++) {
			if (std::string(window->Name()).rfind("TTW_", 0) == 0)
				count++;
		}
		return count;
	}

	// The spy's notice follows the pointer message: drain twice after it.
	Step Enter(TToolButton* button)
	{
		return [this, button] {
			PostMouse(B_MOUSE_MOVED, button, BPoint(8, 9), 0, B_ENTERED_VIEW);
			return true;
		};
	}

	Step Advance(bigtime_t time)
	{
		return [this, time] { fClock.Advance(time); return true; };
	}

	// The platform activates a window it shows; the test's own activation
	// must come after that, or the platform's would undo it.
	Step StartActive(bool active)
	{
		const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
		return [this, active, giveUp] {
			if (!fWindow->IsActive() && std::chrono::steady_clock::now() < giveUp)
				return false;
			Activate(fWindow, active);
			return true;
		};
	}

	BSteppedClock fClock{1000 * kSecond};
	BClock* fPreviousClock = nullptr;
	BWindow* fWindow = nullptr;
	TToolButton* fFirst = nullptr;
	TToolButton* fSecond = nullptr;
};


TEST_F(ToolTipTest, ShowsAfterTheDelayAndClosesAfterTheShowTime)
{
	BPoint tipCorner;
	RunSteps({
		Settle(), StartActive(true), Settle(),
		Enter(fFirst), Drain(fWindow), Drain(fWindow),
		Advance(kSecond - 1), Drain(fWindow),
		[&] { return CountTipWindows() == 0; },
		Advance(1),
		[&] { return fFirst->ToolTip()->FindToolTipWindow() != NULL; },
		[&] {
			tipCorner = fFirst->ToolTip()->FindToolTipWindow()->Frame().LeftTop();
			return true;
		},
		Advance(5 * kSecond - 1), Drain(fWindow),
		[&] { return CountTipWindows() == 1; },
		Advance(1),
		[&] { return CountTipWindows() == 0; },
		Advance(10 * kSecond), Drain(fWindow),
		[&] { return CountTipWindows() == 0; },
	});
	EXPECT_EQ(fFirst->ConvertToScreen(BPoint(8, 9)) + BPoint(-16, 16), tipCorner);
	EXPECT_EQ(0, CountTipWindows()) << "no tip again while the pointer stays";
}


TEST_F(ToolTipTest, MovingToTheNextButtonClosesTheTipAndWaitsAgain)
{
	int32 most = 0;
	RunSteps({
		Settle(), StartActive(true), Settle(),
		Enter(fFirst), Drain(fWindow), Drain(fWindow), Advance(kSecond),
		[&] { return CountTipWindows() == 1; },
		[&] {
			PostMouse(B_MOUSE_MOVED, fFirst, BPoint(30, 9), 0, B_EXITED_VIEW);
			PostMouse(B_MOUSE_MOVED, fSecond, BPoint(8, 9), 0, B_ENTERED_VIEW);
			return true;
		},
		Drain(fWindow), Drain(fWindow),
		[&] { return CountTipWindows() == 0; },
		Advance(kSecond / 2), Drain(fWindow),
		[&] { most = std::max(most, CountTipWindows()); return true; },
		Advance(kSecond / 2),
		[&] { return fSecond->ToolTip()->FindToolTipWindow() != NULL; },
	});
	EXPECT_EQ(0, most);
	EXPECT_EQ(1, CountTipWindows());
}


TEST_F(ToolTipTest, NoTipForAnInactiveWindowOrAnEmptyText)
{
	RunSteps({
		Settle(), StartActive(false), Settle(),
		Enter(fFirst), Drain(fWindow), Drain(fWindow),
		[&] { Activate(fWindow, false); return true; },
		Drain(fWindow), Advance(kSecond), Drain(fWindow),
		[&] { return CountTipWindows() == 0; },
		[&] { Activate(fWindow, true); return true; },
		[&] {
			fSecond->SetTip("");
			PostMouse(B_MOUSE_MOVED, fFirst, BPoint(30, 9), 0, B_EXITED_VIEW);
			PostMouse(B_MOUSE_MOVED, fSecond, BPoint(8, 9), 0, B_ENTERED_VIEW);
			return true;
		},
		Drain(fWindow), Drain(fWindow), Advance(kSecond), Drain(fWindow),
		[&] { return CountTipWindows() == 0; },
	});
	EXPECT_EQ(0, CountTipWindows());
}


TEST_F(ToolTipTest, UnnamedTipsShareOneWindow)
{
	RunSteps({
		Settle(), StartActive(true), Settle(),
		Enter(fFirst), Drain(fWindow), Drain(fWindow), Advance(kSecond),
		[&] { return CountTipWindows() == 1; },
		[&] {
			// The second tip's delay runs out while the first tip is shown.
			fWindow->PostMessage('Pmen', fSecond->ToolTip());
			return true;
		},
		Drain(fWindow), Advance(kSecond), Drain(fWindow),
	});
	EXPECT_EQ(1, CountTipWindows());
	EXPECT_EQ("TTW_", fFirst->ToolTip()->ToolTipWindowName());
}


TEST_F(ToolTipTest, ADelayThatRanOutAfterThePointerLeftOpensNothing)
{
	TToolTip* tip = fFirst->ToolTip();
	RunSteps({
		Settle(), StartActive(true), Settle(),
		Enter(fFirst), Drain(fWindow), Drain(fWindow),
		[&] {
			// The timer's message was already queued when the pointer left.
			fWindow->PostMessage('Pmex', tip);
			fWindow->PostMessage('Potr', tip);
			return true;
		},
		Drain(fWindow), Advance(kSecond), Drain(fWindow),
	});
	EXPECT_EQ(0, CountTipWindows());
}


// A tool tip may outlive its target's window (a dialog's tool tips are
// members of an object that outlives the dialog): the window deleted the
// spy with its filters, and the tool tip must neither touch the window nor
// delete the spy again, and watches a new target with a new spy.
TEST_F(ToolTipTest, OutlivesTheWindowsOfItsTargets)
{
	auto tip = std::make_unique<TToolTip>("outliving");
	tip->SetTip("Range");
	BWindow* other = new BWindow(BRect(100, 300, 299, 399), "other", B_TITLED_WINDOW, 0);
	BView* target = new BView(BRect(0, 0, 49, 49), "target", B_FOLLOW_NONE, 0);
	other->AddChild(target);
	RunSteps({
		[&] { other->Show(); return true; },
		Drain(other),
		[&] {
			other->Lock();
			EXPECT_EQ(B_OK, tip->SetTarget(target));
			other->Quit();
			return true;
		},
		Settle(),
		[&] {
			fWindow->Lock();
			EXPECT_EQ(B_OK, tip->SetTarget(fFirst));
			fWindow->Unlock();
			return true;
		},
		StartActive(true), Settle(),
		Enter(fFirst), Drain(fWindow), Drain(fWindow), Advance(kSecond),
		[&] { return tip->FindToolTipWindow() != NULL; },
		[&] {
			fWindow->Lock();
			fWindow->Quit();
			return true;
		},
		Settle(),
		[&] { tip.reset(); return true; },
	});
	EXPECT_EQ(nullptr, tip);
}


TEST(ToolTipTimes, NegativeTimesAreRefused)
{
	TToolTip tip("range");
	EXPECT_EQ(-1, tip.SetDelayTime(-1));
	EXPECT_EQ(-1, tip.SetShowTime(-5));
	EXPECT_EQ(1000000, tip.DelayTime());
	EXPECT_EQ(5000000, tip.ShowTime());
	EXPECT_EQ("TTW_range", tip.ToolTipWindowName());
	EXPECT_EQ(-1, tip.SetTarget(NULL));
}

}
