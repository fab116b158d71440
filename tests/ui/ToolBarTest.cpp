#include <cstring>

#include <gtest/gtest.h>

#include <Bitmap.h>
#include <InterfaceDefs.h>
#include <InterfaceKit.h>
#include <TranslationUtils.h>
#include <Window.h>

#include "GuiTest.h"
#include "SeparatorButton.h"
#include "TestPixels.h"
#include "ToolBar.h"
#include "ToolButton.h"

namespace {

const uint32 kMsgTool = 'tool';


// A 17 × 17 image: a transparent background with an opaque red square.
BBitmap*
make_image()
{
	BBitmap* image = new BBitmap(BRect(0, 0, 16, 16), B_RGBA32);
	uint8* bits = static_cast<uint8*>(image->Bits());
	for (int32 y = 0; y < 17; y++) {
		for (int32 x = 0; x < 17; x++) {
			uint8* pixel = bits + y * image->BytesPerRow() + x * 4;
			const bool inside = x >= 6 && x <= 10 && y >= 6 && y <= 10;
			const uint8 bgra[4] = {0, 0, (uint8)(inside ? 255 : 30), (uint8)(inside ? 255 : 0)};
			memcpy(pixel, bgra, 4);
		}
	}
	return image;
}


TToolButton*
make_button(const char* name, uint32 behavior = TToolButton::kBehaviorPush)
{
	return new TToolButton(BRect(0, 0, 1, 1), name, make_image(), NULL,
		new BMessage(kMsgTool), behavior);
}


TEST(ToolBarLayout, ButtonsSitOnePixelApartAndAnInsertMovesTheRest)
{
	TToolBar bar(BRect(0, 0, 299, 9), "bar", B_FOLLOW_LEFT | B_FOLLOW_TOP);
	TToolButton* a = make_button("a");
	TToolButton* b = make_button("b");
	ASSERT_TRUE(bar.AddItem(a));
	ASSERT_TRUE(bar.AddItem(b));
	EXPECT_EQ(BRect(3, 3, 25, 25), a->Frame());
	EXPECT_EQ(BRect(26, 3, 48, 25), b->Frame());
	EXPECT_EQ(28, bar.Bounds().Height()) << "the tallest button plus 6";

	TToolButton* first = make_button("first");
	ASSERT_TRUE(bar.AddItem(first, 0));
	EXPECT_EQ(BRect(3, 3, 25, 25), first->Frame());
	EXPECT_EQ(3 + 23, a->Frame().left) << "moved by the new width plus 1";
	EXPECT_EQ(26 + 23, b->Frame().left);

	ASSERT_TRUE(bar.AddSeparatorItem());
	TToolButton* separator = bar.ItemAt(3);
	EXPECT_EQ(BRect(72, 3, 80, 25), separator->Frame());

	float width = 0;
	float height = 0;
	bar.GetPreferredSize(&width, &height);
	EXPECT_EQ(83, width);
	EXPECT_EQ(28, height);

	EXPECT_FALSE(bar.AddItem(make_button("lost"), 9));
	EXPECT_EQ(first, bar.FindItem("first"));
	EXPECT_EQ(nullptr, bar.FindItem("firs"));
	EXPECT_EQ(2, bar.IndexOf(b));
}


TEST(ToolBarRadio, GroupsEndAtSeparators)
{
	TToolBar bar(BRect(0, 0, 299, 9), "bar", B_FOLLOW_LEFT | B_FOLLOW_TOP);
	TToolButton* buttons[5];
	for (int32 i = 0; i < 5; i++) {
		buttons[i] = make_button("t", TToolButton::kBehaviorToggle);
		if (i == 3)
			bar.AddSeparatorItem();
		bar.AddItem(buttons[i]);
	}
	buttons[3]->SetValue(1);
	buttons[0]->SetRadioMode(true);
	EXPECT_TRUE(buttons[1]->IsRadioMode());
	EXPECT_TRUE(buttons[2]->IsRadioMode());
	EXPECT_FALSE(buttons[3]->IsRadioMode()) << "beyond the separator";

	buttons[0]->SetValue(1);
	buttons[2]->SetValue(1);
	EXPECT_EQ(0, buttons[0]->Value());
	EXPECT_EQ(1, buttons[2]->Value());
	EXPECT_EQ(1, buttons[3]->Value()) << "the other group is not touched";
	EXPECT_EQ(buttons[2], bar.FindPushed(0));
	EXPECT_EQ(buttons[3], bar.FindPushed(3));

	TToolButton* push = make_button("push");
	push->SetRadioMode(true);
	EXPECT_FALSE(push->IsRadioMode()) << "a push button joins no radio group";
	delete push;
}


TEST(ToolButtonImages, DerivedPixelByPixel)
{
	TToolButton* button = make_button("b");
	ASSERT_EQ(B_OK, button->SetDefaultImages());
	EXPECT_EQ(-1, button->SetDefaultImages()) << "nothing left to make";

	const struct {
		int32 slot;
		Pixel background;
		Pixel square;
	} expected[] = {
		{TToolButton::kImageDisabled, {0, 0, 30, 0}, {128, 128, 128, 255}},
		{TToolButton::kImageHover, {240, 240, 240, 255}, {0, 0, 255, 255}},
		{TToolButton::kImageOn, {192, 192, 192, 255}, {0, 0, 255, 255}},
		{TToolButton::kImageDisabledOn, {192, 192, 192, 255}, {128, 128, 128, 255}},
	};
	for (const auto& e : expected) {
		const BBitmap* image = button->Image(e.slot);
		ASSERT_NE(nullptr, image) << e.slot;
		EXPECT_EQ(e.background, pixel_at(image, 0, 0)) << "slot " << e.slot;
		EXPECT_EQ(e.square, pixel_at(image, 8, 8)) << "slot " << e.slot;
	}

	ASSERT_EQ(B_OK, button->ClearImages());
	EXPECT_NE(nullptr, button->Image(TToolButton::kImageNormal));
	EXPECT_EQ(nullptr, button->Image(TToolButton::kImageHover));
	EXPECT_EQ(-1, button->SetImage(5, NULL));
	delete button;
}


TEST(ToolButtonImages, ColoursAreWrittenInTheBitmapsByteOrder)
{
	BBitmap* source = make_image();
	BBitmap* copy = nullptr;
	ASSERT_EQ(B_OK, TToolButton::ConvertTransparentCopy(source, &copy,
		make_color(10, 20, 30, 255)));
	EXPECT_EQ((Pixel{30, 20, 10, 255}), pixel_at(copy, 0, 0));
	delete copy;
	ASSERT_EQ(B_OK, TToolButton::ConvertFilledCopy(source, &copy, make_color(10, 20, 30, 255)));
	EXPECT_EQ((Pixel{30, 20, 10, 255}), pixel_at(copy, 8, 8));
	delete copy;
	delete source;

	BBitmap cmap(BRect(0, 0, 3, 3), B_CMAP8);
	copy = nullptr;
	EXPECT_EQ(B_BAD_VALUE, TToolButton::ConvertFilledCopy(&cmap, &copy, make_color(1, 2, 3)));
	EXPECT_EQ(nullptr, copy);
}


class ToolBarWindow : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fWindow = new CountingWindow;
		fBar = new TToolBar(BRect(0, 0, 10, 10), "bar", B_FOLLOW_LEFT | B_FOLLOW_TOP);
		fPush = make_button("push");
		fToggle = make_button("toggle", TToolButton::kBehaviorToggle);
		fOther = make_button("other", TToolButton::kBehaviorToggle);
		fBar->AddItem(fPush);
		fBar->AddSeparatorItem();
		fBar->AddItem(fToggle);
		fBar->AddItem(fOther);
		fToggle->SetRadioMode(true);
		fWindow->AddChild(fBar);
		fWindow->Show();
	}

	void Click(TToolButton* button, BPoint release)
	{
		PostMouse(B_MOUSE_DOWN, button, BPoint(5, 5), 1);
		PostMouse(B_MOUSE_UP, button, release, 0);
	}

	class CountingWindow : public BWindow {
	public:
		CountingWindow() : BWindow(BRect(100, 100, 399, 199), "tools", B_TITLED_WINDOW, 0) {}

		void MessageReceived(BMessage* message) override
		{
			if (message->what == kMsgTool)
				fClicks++;
			else
				BWindow::MessageReceived(message);
		}

		int32 fClicks = 0;
	};

	CountingWindow* fWindow = nullptr;
	TToolBar* fBar = nullptr;
	TToolButton* fPush = nullptr;
	TToolButton* fToggle = nullptr;
	TToolButton* fOther = nullptr;
};


TEST_F(ToolBarWindow, BarTakesTheWindowsWidth)
{
	EXPECT_EQ(fWindow->Bounds().Width(), fBar->Bounds().Width());
}


TEST_F(ToolBarWindow, ReleaseOutsideSendsNothing)
{
	RunSteps({
		[&] { Click(fPush, BPoint(40, 5)); return true; },
		Settle(),
		[&] { Click(fPush, BPoint(5, 5)); return true; },
		[&] { return fWindow->fClicks > 0; },
		Settle(),
	});
	EXPECT_EQ(1, fWindow->fClicks);
}


TEST_F(ToolBarWindow, ClickingAnOnRadioToggleAgainSendsNothing)
{
	RunSteps({
		[&] { Click(fToggle, BPoint(5, 5)); return true; },
		[&] { return fWindow->fClicks > 0; },
		[&] { Click(fToggle, BPoint(5, 5)); return true; },
		Settle(),
		[&] { Click(fOther, BPoint(5, 5)); return true; },
		[&] { return fWindow->fClicks > 1; },
		Settle(),
	});
	EXPECT_EQ(2, fWindow->fClicks);
	EXPECT_EQ(0, fToggle->Value());
	EXPECT_EQ(1, fOther->Value());
}


TEST_F(ToolBarWindow, BackgroundShowsTheLook)
{
	const rgb_color panel = ui_color(B_PANEL_BACKGROUND_COLOR);
	const Pixel panelPixel = {panel.blue, panel.green, panel.red, 255};
	Pixel normal, hover, on, flatCorner, raisedCorner;
	RunSteps({
		Settle(),
		[&] {
			normal = grab_pixel(fPush, 5, 5);
			raisedCorner = grab_pixel(fPush, 0, 0);
			fWindow->Lock();
			fBar->SetFlat(true);
			fWindow->Unlock();
			return true;
		},
		Settle(),
		[&] {
			flatCorner = grab_pixel(fPush, 0, 0);
			Activate(fWindow, true);
			PostMouse(B_MOUSE_MOVED, fPush, BPoint(5, 5), 0, B_ENTERED_VIEW);
			return true;
		},
		Settle(),
		[&] {
			hover = grab_pixel(fPush, 5, 5);
			fWindow->Lock();
			fToggle->SetValue(1);
			fWindow->Unlock();
			return true;
		},
		Settle(),
		[&] { on = grab_pixel(fToggle, 5, 5); return true; },
	});
	EXPECT_EQ(panelPixel, normal);
	EXPECT_EQ((Pixel{255, 255, 255, 255}), raisedCorner);
	EXPECT_EQ(panelPixel, flatCorner) << "a flat bar draws no frame around idle buttons";
	EXPECT_EQ((Pixel{240, 240, 240, 255}), hover);
	EXPECT_EQ((Pixel{192, 192, 192, 255}), on);
}

}
