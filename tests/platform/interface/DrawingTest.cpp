#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <QImage>

#include <Bitmap.h>
#include <Font.h>

#include "InterfaceTestSupport.h"

using namespace interface_test;

namespace {

// Draws a fixed picture through the Be drawing API.
class PictureView : public BView {
public:
	PictureView()
		: BView(BRect(0, 0, 39, 29), "picture", B_FOLLOW_NONE, B_WILL_DRAW)
	{
		SetViewColor(make_color(255, 255, 255));
	}

	void Draw(BRect) override
	{
		SetHighColor(make_color(255, 0, 0));
		FillRect(BRect(2, 2, 5, 4));
		SetHighColor(make_color(0, 0, 255));
		StrokeLine(BPoint(10, 1), BPoint(14, 1));
		StrokeRect(BRect(20, 2, 23, 5));
		SetLowColor(make_color(0, 255, 0));
		FillRect(BRect(30, 2, 31, 3), B_SOLID_LOW);
		// Half-transparent black over white blends only in alpha mode.
		SetHighColor(make_color(0, 0, 0, 128));
		FillRect(BRect(2, 10, 3, 11));
		SetDrawingMode(B_OP_ALPHA);
		FillRect(BRect(6, 10, 7, 11));
		SetDrawingMode(B_OP_COPY);
		if (bitmap != NULL) {
			SetDrawingMode(bitmapMode);
			DrawBitmap(bitmap, BPoint(10, 20));
			SetDrawingMode(B_OP_COPY);
		}
	}

	BBitmap* bitmap = NULL;
	drawing_mode bitmapMode = B_OP_ALPHA;
};


bool
near(rgb_color actual, rgb_color expected, int tolerance = 2)
{
	return std::abs(actual.red - expected.red) <= tolerance
		&& std::abs(actual.green - expected.green) <= tolerance
		&& std::abs(actual.blue - expected.blue) <= tolerance;
}


struct PixelCase {
	const char* name;
	int x;
	int y;
	rgb_color expected;
};


TEST(DrawingTest, ShapesCoverTheirInclusivePixels)
{
	WindowHolder window(make_window());
	PictureView* view = new PictureView;
	window->AddChild(view);
	show_and_settle(window.Get());
	const QImage image = grab(view);

	const rgb_color white = make_color(255, 255, 255);
	const rgb_color red = make_color(255, 0, 0);
	const rgb_color blue = make_color(0, 0, 255);
	const PixelCase cases[] = {
		{"fill corner", 2, 2, red},
		{"fill far corner", 5, 4, red},
		{"right of fill", 6, 4, white},
		{"below fill", 5, 5, white},
		{"line start", 10, 1, blue},
		{"line end", 14, 1, blue},
		{"past line end", 15, 1, white},
		{"rect corner", 20, 2, blue},
		{"rect far corner", 23, 5, blue},
		{"rect inside", 21, 3, white},
		{"rect past corner", 24, 5, white},
		{"low pattern", 31, 3, make_color(0, 255, 0)},
		{"copy ignores alpha", 3, 11, make_color(0, 0, 0)},
		{"alpha blends", 7, 11, make_color(127, 127, 127)},
		{"view colour", 35, 25, white},
	};
	for (const PixelCase& test : cases) {
		const rgb_color actual = pixel(image, test.x, test.y);
		EXPECT_TRUE(near(actual, test.expected)) << test.name << ": " << (int)actual.red << ","
			<< (int)actual.green << "," << (int)actual.blue;
	}
}


TEST(DrawingTest, BitmapsDrawByModeWithTheirAlpha)
{
	BBitmap* bitmap = new BBitmap(BRect(0, 0, 2, 0), B_RGBA32);
	// B, G, R, A: opaque green, fully transparent red, half-transparent blue.
	const uint8 bytes[] = {0, 255, 0, 255, 0, 0, 255, 0, 255, 0, 0, 128};
	memcpy(bitmap->Bits(), bytes, sizeof(bytes));

	struct ModeCase {
		drawing_mode mode;
		rgb_color transparent;
		rgb_color half;
	};
	const ModeCase cases[] = {
		{B_OP_ALPHA, make_color(255, 255, 255), make_color(127, 127, 255)},
		{B_OP_OVER, make_color(255, 255, 255), make_color(0, 0, 255)},
		{B_OP_COPY, make_color(255, 0, 0), make_color(0, 0, 255)},
	};
	for (const ModeCase& test : cases) {
		WindowHolder window(make_window());
		PictureView* view = new PictureView;
		view->bitmap = bitmap;
		view->bitmapMode = test.mode;
		window->AddChild(view);
		show_and_settle(window.Get());
		const QImage image = grab(view);
		EXPECT_TRUE(near(pixel(image, 10, 20), make_color(0, 255, 0))) << test.mode;
		EXPECT_TRUE(near(pixel(image, 11, 20), test.transparent)) << test.mode;
		EXPECT_TRUE(near(pixel(image, 12, 20), test.half, 3)) << test.mode;
	}
	delete bitmap;
}


TEST(DrawingTest, ViewsDrawIntoALockedBitmap)
{
	BBitmap bitmap(BRect(0, 0, 9, 9), B_RGBA32, true);
	BView* view = new BView(bitmap.Bounds(), "offscreen", B_FOLLOW_NONE, B_WILL_DRAW);
	bitmap.AddChild(view);
	ASSERT_TRUE(bitmap.Lock());
	view->SetHighColor(make_color(10, 20, 30));
	view->FillRect(BRect(1, 1, 2, 2));
	bitmap.Unlock();
	const uint8* bits = static_cast<const uint8*>(bitmap.Bits());
	const uint8* inside = bits + 1 * bitmap.BytesPerRow() + 1 * 4;
	EXPECT_EQ(inside[0], 30);
	EXPECT_EQ(inside[1], 20);
	EXPECT_EQ(inside[2], 10);
	EXPECT_EQ(inside[3], 255);
	const uint8* outside = bits + 3 * bitmap.BytesPerRow() + 3 * 4;
	EXPECT_EQ(outside[3], 0);
}


TEST(DrawingTest, TheScreenShotFunctionWritesAPng)
{
	WindowHolder window(make_window());
	window->AddChild(new PictureView);
	show_and_settle(window.Get());
	char folder[] = "/tmp/vantu-shot-XXXXXX";
	ASSERT_NE(mkdtemp(folder), nullptr);
	const std::string path = std::string(folder) + "/window.png";
	ASSERT_EQ(BPrivate::grab_window_png(window.Get(), path.c_str()), B_OK);
	QImage image(QString::fromStdString(path));
	EXPECT_EQ(image.width(), 200);
	EXPECT_EQ(image.height(), 100);
	EXPECT_TRUE(near(pixel(image.convertToFormat(QImage::Format_ARGB32), 3, 3),
		make_color(255, 0, 0)));
	remove(path.c_str());
	rmdir(folder);
}


TEST(FontTest, PlainFontFitsTwelvePixelRowsAndMeasuresStrings)
{
	BPrivate::ensure_interface_kit();
	font_height height;
	be_plain_font->GetHeight(&height);
	EXPECT_GT(height.ascent, 5);
	EXPECT_LE(height.ascent + height.descent, 12.5f);
	const float one = be_plain_font->StringWidth("M");
	EXPECT_GT(one, 0);
	EXPECT_FLOAT_EQ(be_plain_font->StringWidth("MM"), 2 * one);
	EXPECT_GT(be_plain_font->StringWidth("日本"), 0);

	BFont big(be_plain_font);
	big.SetSize(20);
	EXPECT_GT(big.StringWidth("M"), one * 1.5f);
	BView view(BRect(0, 0, 9, 9), "v", B_FOLLOW_NONE, 0);
	view.SetFont(&big, B_FONT_SIZE);
	EXPECT_FLOAT_EQ(view.StringWidth("M"), big.StringWidth("M"));
}

}
