#include <gtest/gtest.h>

#include <Bitmap.h>
#include <Window.h>

#include "CompactSlider.h"
#include "GuiTest.h"
#include "TestPixels.h"

namespace {

const uint32 kMsgSlider = 'svlc';


class SliderWindow : public BWindow {
public:
	SliderWindow() : BWindow(BRect(100, 100, 299, 159), "sliders", B_TITLED_WINDOW, 0) {}

	void MessageReceived(BMessage* message) override
	{
		if (message->what == kMsgSlider) {
			fSent++;
			message->FindInt32("be:value", &fLastValue);
		} else {
			BWindow::MessageReceived(message);
		}
	}

	int32 fSent = 0;
	int32 fLastValue = -1;
};


class CompactSliderTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fWindow = new SliderWindow;
		fSlider = new TCompactSlider(BRect(10, 10, 110, 26), "volume", "Volume",
			new BMessage(kMsgSlider), 0, 100);
		fSlider->SetValue(20);
		fWindow->AddChild(fSlider);
		fWindow->Show();
	}

	SliderWindow* fWindow = nullptr;
	TCompactSlider* fSlider = nullptr;
};


TEST_F(CompactSliderTest, SecondaryClickResetsOnceAndStartsNoDrag)
{
	fSlider->SetDefaultValue(64);
	RunSteps({
		[&] {
			PostMouse(B_MOUSE_DOWN, fSlider, BPoint(5, 8), 2);
			PostMouse(B_MOUSE_MOVED, fSlider, BPoint(90, 8), 2);
			PostMouse(B_MOUSE_UP, fSlider, BPoint(90, 8), 0);
			return true;
		},
		[&] { return fWindow->fSent > 0; },
		Settle(),
	});
	EXPECT_EQ(1, fWindow->fSent);
	EXPECT_EQ(64, fWindow->fLastValue);
	EXPECT_EQ(64, fSlider->Value());
}


TEST_F(CompactSliderTest, SecondaryClickWithoutDefaultDoesNothing)
{
	RunSteps({
		[&] {
			PostMouse(B_MOUSE_DOWN, fSlider, BPoint(90, 8), 2);
			PostMouse(B_MOUSE_MOVED, fSlider, BPoint(95, 8), 2);
			PostMouse(B_MOUSE_UP, fSlider, BPoint(95, 8), 0);
			return true;
		},
		Settle(),
	});
	EXPECT_EQ(0, fWindow->fSent);
	EXPECT_EQ(20, fSlider->Value());
}


TEST_F(CompactSliderTest, BothButtonsPressLikeAnOrdinarySlider)
{
	fSlider->SetDefaultValue(64);
	RunSteps({
		[&] {
			PostMouse(B_MOUSE_DOWN, fSlider, BPoint(95, 8), 3);
			PostMouse(B_MOUSE_UP, fSlider, BPoint(95, 8), 0);
			return true;
		},
		[&] { return fWindow->fSent > 0; },
		Settle(),
	});
	EXPECT_EQ(1, fWindow->fSent);
	EXPECT_GT(fSlider->Value(), 64) << "the thumb went where the press was";
}


// The screen shot of a slider shows the four bands of its bar and no text,
// though it has a label.
TEST_F(CompactSliderTest, DrawsBandsAndNoText)
{
	BBitmap* shot = nullptr;
	RunSteps({
		Settle(),
		[&] { shot = grab_view(fSlider); return true; },
	});
	ASSERT_NE(nullptr, shot);
	const BRect bar = fSlider->BarFrame();
	EXPECT_EQ(5, bar.top);
	EXPECT_EQ(11, bar.bottom);
	const int32 x = (int32)bar.right - 3;
	const Pixel bands[] = {
		{0, 230, 180, 255}, {0, 255, 210, 255}, {120, 255, 255, 255}, {204, 255, 255, 255},
		{120, 255, 255, 255}, {0, 255, 210, 255}, {0, 230, 180, 255}
	};
	for (int32 row = 0; row < 7; row++)
		EXPECT_EQ(bands[row], pixel_at(shot, x, 5 + row)) << "row " << 5 + row;

	const Pixel background = pixel_at(shot, x, 0);
	int32 stray = 0;
	for (int32 y = 0; y < 4; y++) {
		for (int32 xx = 0; xx <= (int32)fSlider->Bounds().right; xx++) {
			const BRect thumb = fSlider->ThumbFrame();
			if (xx >= thumb.left - 1 && xx <= thumb.right + 1)
				continue;
			if (pixel_at(shot, xx, y) != background)
				stray++;
		}
	}
	EXPECT_EQ(0, stray) << "nothing is written above the bar";

	float width = 0;
	float height = 0;
	fSlider->GetPreferredSize(&width, &height);
	EXPECT_EQ(100, width);
	EXPECT_EQ(16, height);
	delete shot;
}

}
