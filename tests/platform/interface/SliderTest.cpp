#include <gtest/gtest.h>

#include <QImage>

#include <Slider.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;
using controls_test::int32_of;

namespace {

const uint32 kMain = 'main';
const uint32 kModified = 'modi';

const rgb_color kRed = make_color(255, 0, 0);
const rgb_color kBlue = make_color(0, 0, 255);


// A slider whose hooks paint plain colours, with a bar that leaves 45
// pixels free on each side.
class PaintedSlider : public BSlider {
public:
	PaintedSlider(BRect frame)
		:
		BSlider(frame, "painted", "label that is not drawn", new BMessage(kMain), 0, 100)
	{
	}

	void DrawBar() override
	{
		OffscreenView()->SetHighColor(kRed);
		OffscreenView()->FillRect(BarFrame());
	}

	void DrawThumb() override
	{
		OffscreenView()->SetHighColor(kBlue);
		OffscreenView()->FillRect(ThumbFrame());
	}

	void DrawText() override {}

	BRect BarFrame() const override
	{
		BRect frame = BSlider::BarFrame();
		frame.left = 50;
		frame.right = 150;
		frame.top = 10;
		frame.bottom = 15;
		return frame;
	}
};


class SliderTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fRecorder = new Recorder;
		fWindow = new BWindow(BRect(50, 50, 349, 149), "sliders", B_TITLED_WINDOW,
			B_ASYNCHRONOUS_CONTROLS);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
		fRecorder->Finish();
	}

	BSlider* Add(BSlider* slider)
	{
		fWindow->Lock();
		fWindow->AddChild(slider);
		slider->SetTarget(fRecorder->Messenger());
		slider->SetModificationMessage(new BMessage(kModified));
		fWindow->Unlock();
		return slider;
	}

	// Posts pointer input for the slider, as the window's input would.
	void Mouse(BSlider* slider, uint32 what, float x, int32 buttons = 1)
	{
		BMessage message(what);
		message.AddPoint("where", BPoint(x, 6));
		message.AddInt32("buttons", what == B_MOUSE_UP ? 0 : buttons);
		message.AddInt32("modifiers", 0);
		if (what == B_MOUSE_DOWN)
			message.AddInt32("clicks", 1);
		fWindow->PostMessage(&message, slider);
		controls_test::settle();
	}

	BWindow* fWindow = nullptr;
	Recorder* fRecorder = nullptr;
};


TEST_F(SliderTest, DraggingSendsModificationsThenTheMessageOnRelease)
{
	BSlider* slider = Add(new BSlider(BRect(10, 10, 210, 40), "s", "", new BMessage(kMain),
		0, 100));
	const BRect thumb = slider->ThumbFrame();
	const BRect bar = slider->BarFrame();
	Mouse(slider, B_MOUSE_DOWN, (thumb.left + thumb.right) / 2);
	EXPECT_TRUE(fRecorder->StaysAt(0)) << "grabbing the thumb changes nothing";
	Mouse(slider, B_MOUSE_MOVED, bar.left + bar.Width() / 2);
	Mouse(slider, B_MOUSE_MOVED, bar.left + bar.Width() / 2);
	Mouse(slider, B_MOUSE_MOVED, bar.right + 40);
	Mouse(slider, B_MOUSE_UP, bar.right + 40);
	ASSERT_TRUE(fRecorder->WaitFor(3));
	EXPECT_TRUE(fRecorder->StaysAt(3));
	const std::vector<BMessage> messages = fRecorder->Messages();
	EXPECT_EQ(kModified, messages[0].what);
	EXPECT_EQ(50, int32_of(messages[0], "be:value"));
	EXPECT_EQ(kModified, messages[1].what);
	EXPECT_EQ(100, int32_of(messages[1], "be:value"));
	EXPECT_EQ(kMain, messages[2].what);
	EXPECT_EQ(100, int32_of(messages[2], "be:value"));
	EXPECT_EQ(100, slider->Value());
}


TEST_F(SliderTest, PressAndReleaseInPlaceSendsNothing)
{
	BSlider* slider = Add(new BSlider(BRect(10, 10, 210, 40), "s", "", new BMessage(kMain),
		0, 100));
	fWindow->Lock();
	slider->SetValue(30);
	fWindow->Unlock();
	const BRect thumb = slider->ThumbFrame();
	Mouse(slider, B_MOUSE_DOWN, thumb.left + 1);
	Mouse(slider, B_MOUSE_UP, thumb.left + 1);
	EXPECT_TRUE(fRecorder->StaysAt(0));
	EXPECT_EQ(30, slider->Value());
}


TEST_F(SliderTest, ClickOnTheBarJumpsThereAndSendsOnRelease)
{
	BSlider* slider = Add(new PaintedSlider(BRect(10, 10, 210, 40)));
	// The overridden bar runs from 50 to 150: its middle is the middle value.
	Mouse(slider, B_MOUSE_DOWN, 100);
	Mouse(slider, B_MOUSE_UP, 100);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	const std::vector<BMessage> messages = fRecorder->Messages();
	EXPECT_EQ(kModified, messages[0].what);
	EXPECT_EQ(kMain, messages[1].what);
	EXPECT_EQ(50, slider->Value());
}


TEST_F(SliderTest, KeysMoveByTheIncrementAndSend)
{
	BSlider* slider = Add(new BSlider(BRect(10, 10, 210, 40), "s", "", new BMessage(kMain),
		0, 100));
	fWindow->Lock();
	slider->SetKeyIncrementValue(5);
	const char right = B_RIGHT_ARROW;
	slider->KeyDown(&right, 1);
	const char home = B_HOME;
	slider->KeyDown(&home, 1);
	slider->KeyDown(&home, 1);
	fWindow->Unlock();
	ASSERT_TRUE(fRecorder->WaitFor(2));
	EXPECT_TRUE(fRecorder->StaysAt(2)) << "a key that changes nothing sends nothing";
	EXPECT_EQ(5, int32_of(fRecorder->Messages()[0], "be:value"));
	EXPECT_EQ(0, int32_of(fRecorder->Messages()[1], "be:value"));
}


TEST_F(SliderTest, OverriddenHooksDrawTheSlider)
{
	BSlider* slider = Add(new PaintedSlider(BRect(10, 10, 210, 40)));
	fWindow->Lock();
	slider->SetValue(100);
	const rgb_color background = slider->ViewColor();
	fWindow->Unlock();
	const QImage image = interface_test::grab(slider);
	ASSERT_FALSE(image.isNull());
	EXPECT_EQ(kRed, interface_test::pixel(image, 60, 12)) << "bar";
	EXPECT_EQ(kBlue, interface_test::pixel(image, 150, 12)) << "thumb at the bar's right end";
	EXPECT_EQ(background, interface_test::pixel(image, 20, 12)) << "left of the bar";
	// No text: the label's row stays plain.
	for (int x = 0; x < 200; x++)
		ASSERT_EQ(background, interface_test::pixel(image, x, 1)) << "x " << x;
}

}
