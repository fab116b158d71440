#include <cmath>

#include <gtest/gtest.h>

#include <QImage>

#include <StringView.h>
#include <Window.h>

#include "ControlsTestSupport.h"

namespace {

const rgb_color kTable = make_color(203, 255, 0);
const rgb_color kTip = make_color(255, 255, 225);

class StringViewTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fWindow = new BWindow(BRect(50, 50, 349, 149), "strings", B_TITLED_WINDOW, 0);
		fParent = new BView(fWindow->Bounds(), "parent", B_FOLLOW_ALL, B_WILL_DRAW);
		fParent->SetViewColor(kTable);
		fWindow->AddChild(fParent);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}

	BWindow* fWindow = nullptr;
	BView* fParent = nullptr;
};


TEST_F(StringViewTest, TakesTheParentsColourUnlessGivenOne)
{
	BStringView* plain = new BStringView(BRect(0, 0, 99, 15), "plain", "GM");
	BStringView* tip = new BStringView(BRect(0, 20, 99, 35), "tip", " a tip ");
	tip->SetViewColor(kTip);
	fWindow->Lock();
	fParent->AddChild(plain);
	fParent->AddChild(tip);
	fWindow->Unlock();
	EXPECT_EQ(kTable, plain->ViewColor());
	EXPECT_EQ(kTip, tip->ViewColor());
}


TEST_F(StringViewTest, PreferredSizeFitsTheText)
{
	BStringView* view = new BStringView(BRect(0, 0, 10, 10), "v", "Silence interval");
	fWindow->Lock();
	fParent->AddChild(view);
	float width;
	float height;
	view->GetPreferredSize(&width, &height);
	const float textWidth = view->StringWidth("Silence interval");
	font_height fontHeight;
	view->GetFontHeight(&fontHeight);
	fWindow->Unlock();
	EXPECT_EQ(std::ceil(textWidth), width);
	EXPECT_EQ(std::ceil(fontHeight.ascent + fontHeight.descent + fontHeight.leading), height);
}


TEST_F(StringViewTest, AlignmentPlacesTheText)
{
	struct Case {
		alignment align;
		int firstInkFrom;
		int firstInkTo;
	};
	const Case cases[] = {
		{B_ALIGN_LEFT, 0, 20},
		{B_ALIGN_CENTER, 80, 110},
		{B_ALIGN_RIGHT, 160, 199},
	};
	for (const Case& testCase : cases) {
		SCOPED_TRACE(testCase.align);
		BStringView* view = new BStringView(BRect(0, 0, 199, 19), "v", "WWWW");
		view->SetAlignment(testCase.align);
		view->SetHighColor(0, 0, 0);
		fWindow->Lock();
		fParent->AddChild(view);
		fWindow->Unlock();
		const QImage image = interface_test::grab(view);
		int firstInk = -1;
		for (int x = 0; x < image.width() && firstInk < 0; x++) {
			for (int y = 0; y < image.height(); y++) {
				if (qGreen(image.pixel(x, y)) < 128) {
					firstInk = x;
					break;
				}
			}
		}
		EXPECT_GE(firstInk, testCase.firstInkFrom);
		EXPECT_LE(firstInk, testCase.firstInkTo);
		fWindow->Lock();
		view->RemoveSelf();
		fWindow->Unlock();
		delete view;
	}
}

}
