#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Application.h>
#include <Bitmap.h>
#include <MimeType.h>

#include "Bitmaps.h"
#include "GuiTest.h"

namespace {

// Bytes of a B_RGBA32 pixel as they lie in memory: blue, green, red, alpha.
std::vector<uint8>
pixel(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* bits = static_cast<const uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow()
		+ x * 4;
	return std::vector<uint8>(bits, bits + 4);
}


TEST(GetBitmapTest, DecodesTheNamedPictureResource)
{
	BBitmap* bitmap = get_bitmap("FourPixels");
	ASSERT_NE(nullptr, bitmap);
	EXPECT_EQ(BRect(0, 0, 1, 1), bitmap->Bounds());
	EXPECT_EQ(B_RGBA32, bitmap->ColorSpace());
	const struct {
		int32 x, y;
		std::vector<uint8> bgra;
	} pixels[] = {
		{0, 0, {0, 0, 255, 255}},
		{1, 0, {0, 255, 0, 255}},
		{0, 1, {0x30, 0x20, 0x10, 0x80}},
		{1, 1, {255, 0, 0, 255}},
	};
	for (const auto& p : pixels)
		EXPECT_EQ(p.bgra, pixel(bitmap, p.x, p.y)) << p.x << "," << p.y;
	delete bitmap;
}


TEST(GetBitmapTest, NothingForMissingOrUndecodablePictures)
{
	for (const char* name : {"Missing", "Truncated", "", static_cast<const char*>(NULL)})
		EXPECT_EQ(nullptr, get_bitmap(name)) << (name != NULL ? name : "(null)");
}


// The type database lives in a temporary data folder for each case.
class GetIconsTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		const char* old = getenv("XDG_DATA_HOME");
		fHadDataHome = old != NULL;
		if (fHadDataHome)
			fOldDataHome = old;
		const char* tmp = getenv("TMPDIR");
		fFolder = std::string(tmp != NULL ? tmp : "/tmp") + "/icons-XXXXXX";
		ASSERT_NE(nullptr, mkdtemp(fFolder.data()));
	}

	void TearDown() override
	{
		if (fHadDataHome)
			setenv("XDG_DATA_HOME", fOldDataHome.c_str(), 1);
		else
			unsetenv("XDG_DATA_HOME");
		std::filesystem::remove_all(fFolder);
		GuiTest::TearDown();
	}

	void FreshDatabase(int index)
	{
		const std::string home = fFolder + "/" + std::to_string(index);
		std::filesystem::create_directories(home);
		setenv("XDG_DATA_HOME", home.c_str(), 1);
	}

	std::string fFolder;
	std::string fOldDataHome;
	bool fHadDataHome = false;
};


std::vector<uint8>
icon_pixels(size_t count)
{
	std::vector<uint8> pixels(count);
	for (size_t i = 0; i < count; i++)
		pixels[i] = (uint8)(i * 7 + 3);
	return pixels;
}


// The icon's pixels, row by row, without the padding of its rows.
std::vector<uint8>
bitmap_pixels(const BBitmap* bitmap)
{
	const int32 width = bitmap->Bounds().IntegerWidth() + 1;
	const int32 height = bitmap->Bounds().IntegerHeight() + 1;
	std::vector<uint8> pixels;
	for (int32 y = 0; y < height; y++) {
		const uint8* row = static_cast<const uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow();
		pixels.insert(pixels.end(), row, row + width);
	}
	return pixels;
}


TEST_F(GetIconsTest, RegisteredIconsBecomeNewBitmaps)
{
	const size_t kLarge = 32 * 32;
	const size_t kMini = 16 * 16;
	struct Case {
		const char* name;
		bool install;
		size_t largeBytes;	// 0: no large icon stored
		size_t miniBytes;
		bool largeSet;
		bool miniSet;
	};
	const Case cases[] = {
		{"both icons", true, kLarge, kMini, true, true},
		{"only the mini icon", true, 0, kMini, false, true},
		{"a large icon of the wrong size", true, kMini, kMini, false, true},
		{"a mini icon of the wrong size", true, kLarge, kMini + 1, true, false},
		{"the type is not installed", false, 0, 0, false, false},
	};
	int index = 0;
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		FreshDatabase(index++);
		BMimeType type(be_app->Signature());
		if (c.install) {
			ASSERT_EQ(B_OK, type.Install());
		}
		const struct {
			size_t bytes;
			icon_size which;
		} stored[] = {{c.largeBytes, B_LARGE_ICON}, {c.miniBytes, B_MINI_ICON}};
		for (const auto& icon : stored) {
			if (icon.bytes > 0) {
				ASSERT_EQ(B_OK, type.SetIconData(icon_pixels(icon.bytes).data(), icon.bytes,
					icon.which));
			}
		}

		BBitmap marker(BRect(0, 0, 0, 0), B_CMAP8);
		BBitmap* large = &marker;
		BBitmap* mini = &marker;
		pelkan::get_icons(&large, &mini);

		const struct {
			BBitmap* icon;
			bool set;
			int32 side;
		} results[] = {{large, c.largeSet, 32}, {mini, c.miniSet, 16}};
		for (const auto& r : results) {
			if (!r.set) {
				EXPECT_EQ(&marker, r.icon) << r.side << " × " << r.side << " left untouched";
				continue;
			}
			ASSERT_NE(&marker, r.icon) << r.side;
			ASSERT_NE(nullptr, r.icon) << r.side;
			EXPECT_EQ(B_CMAP8, r.icon->ColorSpace());
			EXPECT_EQ(BRect(0, 0, r.side - 1, r.side - 1), r.icon->Bounds());
			EXPECT_EQ(icon_pixels((size_t)r.side * r.side), bitmap_pixels(r.icon));
			delete r.icon;
		}
	}
}


TEST_F(GetIconsTest, EitherPointerMayBeLeftOut)
{
	FreshDatabase(0);
	BMimeType type(be_app->Signature());
	ASSERT_EQ(B_OK, type.SetIconData(icon_pixels(32 * 32).data(), 32 * 32, B_LARGE_ICON));
	ASSERT_EQ(B_OK, type.SetIconData(icon_pixels(16 * 16).data(), 16 * 16, B_MINI_ICON));

	BBitmap* mini = NULL;
	pelkan::get_icons(NULL, &mini);
	ASSERT_NE(nullptr, mini);
	EXPECT_EQ(BRect(0, 0, 15, 15), mini->Bounds());
	delete mini;

	BBitmap* large = NULL;
	pelkan::get_icons(&large, NULL);
	ASSERT_NE(nullptr, large);
	EXPECT_EQ(BRect(0, 0, 31, 31), large->Bounds());
	delete large;
}

}
