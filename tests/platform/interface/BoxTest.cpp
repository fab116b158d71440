#include <gtest/gtest.h>

#include <QImage>

#include <Box.h>
#include <CheckBox.h>
#include <Window.h>

#include "ControlsTestSupport.h"

namespace {

class BoxTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fWindow = new BWindow(BRect(50, 50, 349, 249), "boxes", B_TITLED_WINDOW, 0);
		fBox = new BBox(BRect(10, 10, 200, 120), "Box_Auto_Sort");
		fWindow->AddChild(fBox);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}

	BWindow* fWindow = nullptr;
	BBox* fBox = nullptr;
};


TEST_F(BoxTest, AViewAsLabelSitsInTheTopBorder)
{
	BCheckBox* check = new BCheckBox(BRect(0, 0, 80, 16), "auto", "Auto sort",
		new BMessage('tsar'));
	fWindow->Lock();
	ASSERT_EQ(B_OK, fBox->SetLabel(check));
	fWindow->Unlock();
	EXPECT_EQ(check, fBox->LabelView());
	EXPECT_EQ(fBox, check->Parent());
	EXPECT_EQ(BPoint(10, 0), check->Frame().LeftTop());
	EXPECT_EQ(nullptr, fBox->Label());

	// A text label replaces (and deletes) the label view.
	fWindow->Lock();
	fBox->SetLabel("Sorting");
	fWindow->Unlock();
	EXPECT_EQ(nullptr, fBox->LabelView());
	EXPECT_STREQ("Sorting", fBox->Label());
	EXPECT_EQ(0, fBox->CountChildren());
}


TEST_F(BoxTest, PlainBorderIsOneLine)
{
	fWindow->Lock();
	fBox->SetBorder(B_PLAIN_BORDER);
	fWindow->Unlock();
	const QImage image = interface_test::grab(fBox);
	const rgb_color corner = interface_test::pixel(image, 0, image.height() - 1);
	const rgb_color inside = interface_test::pixel(image, 5, image.height() / 2);
	EXPECT_NE(corner, inside);
	EXPECT_EQ(inside, interface_test::pixel(image, 1, image.height() - 2));
}


TEST_F(BoxTest, NoBorderDrawsNothing)
{
	fWindow->Lock();
	fBox->SetBorder(B_NO_BORDER);
	fWindow->Unlock();
	const QImage image = interface_test::grab(fBox);
	EXPECT_EQ(interface_test::pixel(image, 5, 5), interface_test::pixel(image, 0, 0));
	EXPECT_EQ(interface_test::pixel(image, 5, 5),
		interface_test::pixel(image, image.width() - 1, image.height() - 1));
}

}
