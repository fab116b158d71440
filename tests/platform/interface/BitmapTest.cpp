#include <gtest/gtest.h>

#include <cstring>

#include <QBuffer>
#include <QImage>

#include <Bitmap.h>
#include <DataIO.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Screen.h>
#include <TranslationUtils.h>

#include "InterfaceTestSupport.h"

namespace {

TEST(BitmapTest, LayoutOfTheColourSpaces)
{
	struct LayoutCase {
		color_space space;
		BRect bounds;
		int32 bytesPerRow;
	};
	const LayoutCase cases[] = {
		{B_RGBA32, BRect(0, 0, 16, 16), 68},
		{B_RGB32, BRect(0, 0, 2, 1), 12},
		{B_CMAP8, BRect(0, 0, 16, 16), 20},
		{B_CMAP8, BRect(0, 0, 31, 31), 32},
	};
	for (const LayoutCase& test : cases) {
		BBitmap bitmap(test.bounds, test.space);
		ASSERT_EQ(bitmap.InitCheck(), B_OK);
		EXPECT_EQ(bitmap.BytesPerRow(), test.bytesPerRow);
		EXPECT_EQ(bitmap.BitsLength(), test.bytesPerRow * (test.bounds.IntegerHeight() + 1));
		EXPECT_EQ(bitmap.ColorSpace(), test.space);
		EXPECT_EQ(bitmap.Bounds(), test.bounds);
	}
	EXPECT_EQ(BBitmap(BRect(), B_RGBA32).InitCheck(), B_BAD_VALUE);
	EXPECT_EQ(BBitmap(BRect(0, 0, 3, 3), B_NO_COLOR_SPACE).InitCheck(), B_BAD_VALUE);
}


TEST(BitmapTest, DecodedPicturesAreBgraAndNotPremultiplied)
{
	BPrivate::ensure_interface_kit();
	QImage image(2, 1, QImage::Format_ARGB32);
	image.setPixel(0, 0, qRgba(200, 100, 50, 128));
	image.setPixel(1, 0, qRgba(0, 0, 0, 0));
	QByteArray png;
	QBuffer buffer(&png);
	buffer.open(QIODevice::WriteOnly);
	ASSERT_TRUE(image.save(&buffer, "PNG"));

	BMemoryIO stream(png.constData(), png.size());
	BBitmap* bitmap = BTranslationUtils::GetBitmap(&stream);
	ASSERT_NE(bitmap, nullptr);
	EXPECT_EQ(bitmap->ColorSpace(), B_RGBA32);
	EXPECT_EQ(bitmap->Bounds(), BRect(0, 0, 1, 0));
	const uint8* bits = static_cast<const uint8*>(bitmap->Bits());
	const uint8 expected[] = {50, 100, 200, 128, 0, 0, 0, 0};
	EXPECT_EQ(memcmp(bits, expected, sizeof(expected)), 0);
	delete bitmap;

	BMemoryIO garbage("not a picture", 13);
	EXPECT_EQ(BTranslationUtils::GetBitmap(&garbage), nullptr);
	EXPECT_EQ(BTranslationUtils::GetBitmap("/nonexistent/picture.png"), nullptr);
}


TEST(BitmapTest, EightBitPixelsUseTheSystemPalette)
{
	const color_map* map = system_colors();
	EXPECT_EQ(map->color_list[0], make_color(0, 0, 0));
	EXPECT_EQ(map->color_list[B_TRANSPARENT_MAGIC_CMAP8], B_TRANSPARENT_32_BIT);

	BScreen screen;
	const uint8 red = screen.IndexForColor(255, 0, 0);
	EXPECT_EQ(screen.ColorForIndex(red), make_color(255, 0, 0));
	EXPECT_EQ(screen.IndexForColor(make_color(1, 2, 3, 0)), B_TRANSPARENT_MAGIC_CMAP8);

	// Converting an RGBA picture to 8 bits keeps exact palette colours and
	// turns transparency into the transparent index; drawing skips it.
	BBitmap rgba(BRect(0, 0, 1, 0), B_RGBA32);
	const uint8 pixels[] = {0, 0, 255, 255, 9, 9, 9, 0};
	memcpy(rgba.Bits(), pixels, sizeof(pixels));
	BBitmap cmap(BRect(0, 0, 1, 0), B_CMAP8);
	ASSERT_EQ(cmap.ImportBits(&rgba), B_OK);
	const uint8* indexes = static_cast<const uint8*>(cmap.Bits());
	EXPECT_EQ(indexes[0], red);
	EXPECT_EQ(indexes[1], B_TRANSPARENT_MAGIC_CMAP8);
	const QImage image = BPrivate::bitmap_image(&cmap);
	EXPECT_EQ(qAlpha(image.pixel(1, 0)), 0);
	EXPECT_EQ(image.pixel(0, 0), qRgba(255, 0, 0, 255));
}


TEST(BitmapTest, ArchiveKeepsThePixels)
{
	BBitmap bitmap(BRect(0, 0, 3, 2), B_CMAP8);
	memset(bitmap.Bits(), 7, bitmap.BitsLength());
	BMessage archive;
	ASSERT_EQ(bitmap.Archive(&archive), B_OK);
	BArchivable* object = instantiate_object(&archive);
	BBitmap* copy = dynamic_cast<BBitmap*>(object);
	ASSERT_NE(copy, nullptr);
	EXPECT_EQ(copy->Bounds(), bitmap.Bounds());
	EXPECT_EQ(copy->BitsLength(), bitmap.BitsLength());
	EXPECT_EQ(memcmp(copy->Bits(), bitmap.Bits(), bitmap.BitsLength()), 0);
	delete copy;
}


TEST(ScreenTest, MainScreenFrameIsInclusive)
{
	BScreen screen(B_MAIN_SCREEN_ID);
	ASSERT_TRUE(screen.IsValid());
	const BRect frame = screen.Frame();
	EXPECT_EQ(frame.left, 0);
	EXPECT_GT(frame.Width(), 0);
	EXPECT_EQ(frame.Width() + 1, (float)BPrivate::to_qrect(frame).width());
}

}
