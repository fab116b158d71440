#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <Bitmap.h>
#include <MimeType.h>
#include <Screen.h>

namespace {

const char* const kType = "application/x-vnd.PELKAN-IconTest";

const struct {
	icon_size which;
	int32 side;
} kSizes[] = {{B_LARGE_ICON, 32}, {B_MINI_ICON, 16}};


BRect
square(int32 side)
{
	return BRect(0, 0, side - 1, side - 1);
}


// Distinct from one pixel to the next and never the transparent index.
std::vector<uint8>
icon_pattern(int32 side)
{
	std::vector<uint8> pixels((size_t)side * side);
	for (size_t i = 0; i < pixels.size(); i++)
		pixels[i] = (uint8)(i * 7 % 255);
	return pixels;
}


BBitmap*
cmap8_icon(int32 side)
{
	BBitmap* icon = new BBitmap(square(side), B_CMAP8);
	const std::vector<uint8> pixels = icon_pattern(side);
	icon->ImportBits(pixels.data(), (int32)pixels.size(), side, 0, B_CMAP8);
	return icon;
}


// The pixels row by row, without the padding of the bitmap's rows.
std::vector<uint8>
cmap8_pixels(const BBitmap* bitmap)
{
	const int32 side = bitmap->Bounds().IntegerWidth() + 1;
	std::vector<uint8> pixels;
	for (int32 y = 0; y < side; y++) {
		const uint8* row = static_cast<const uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow();
		pixels.insert(pixels.end(), row, row + side);
	}
	return pixels;
}


// Each case has its own type database in a temporary data folder.
class MimeTypeIconsTest : public testing::Test {
protected:
	void SetUp() override
	{
		const char* tmp = getenv("TMPDIR");
		fFolder = std::string(tmp != NULL ? tmp : "/tmp") + "/mime-icons-XXXXXX";
		ASSERT_NE(nullptr, mkdtemp(fFolder.data()));
		if (const char* old = getenv("XDG_DATA_HOME")) {
			fOldDataHome = old;
			fHadDataHome = true;
		}
		setenv("XDG_DATA_HOME", fFolder.c_str(), 1);
		ASSERT_EQ(B_OK, fType.InitCheck());
	}

	void TearDown() override
	{
		if (fHadDataHome)
			setenv("XDG_DATA_HOME", fOldDataHome.c_str(), 1);
		else
			unsetenv("XDG_DATA_HOME");
		std::filesystem::remove_all(fFolder);
	}

	std::string fFolder;
	std::string fOldDataHome;
	bool fHadDataHome = false;
	BMimeType fType{kType};
};

} // namespace


TEST_F(MimeTypeIconsTest, IconsComeBackAsTheyWereSetAndAreStoredUnpadded)
{
	for (const auto& size : kSizes) {
		SCOPED_TRACE(size.side);
		BBitmap* icon = cmap8_icon(size.side);
		ASSERT_EQ(B_OK, fType.SetIcon(icon, size.which));
		delete icon;

		std::vector<uint8> stored((size_t)size.side * size.side + 8);
		size_t length = stored.size();
		ASSERT_EQ(B_OK, fType.GetIconData(stored.data(), &length, size.which));
		stored.resize(length);
		EXPECT_EQ(icon_pattern(size.side), stored);

		BBitmap read(square(size.side), B_CMAP8);
		ASSERT_EQ(B_OK, fType.GetIcon(&read, size.which));
		EXPECT_EQ(icon_pattern(size.side), cmap8_pixels(&read));
	}
	EXPECT_TRUE(fType.IsInstalled());
}


TEST_F(MimeTypeIconsTest, ReadingIntoRgbaConvertsThroughThePalette)
{
	BBitmap* icon = cmap8_icon(16);
	uint8* bits = static_cast<uint8*>(icon->Bits());
	bits[0] = B_TRANSPARENT_MAGIC_CMAP8;
	bits[1] = 42;
	ASSERT_EQ(B_OK, fType.SetIcon(icon, B_MINI_ICON));
	delete icon;

	BBitmap read(square(16), B_RGBA32);
	ASSERT_EQ(B_OK, fType.GetIcon(&read, B_MINI_ICON));
	const uint8* pixels = static_cast<const uint8*>(read.Bits());
	EXPECT_EQ(0, pixels[3]) << "the transparent index keeps no alpha";
	const rgb_color expected = BScreen().ColorForIndex(42);
	EXPECT_EQ(expected.blue, pixels[4]);
	EXPECT_EQ(expected.green, pixels[5]);
	EXPECT_EQ(expected.red, pixels[6]);
	EXPECT_EQ(255, pixels[7]);
}


TEST_F(MimeTypeIconsTest, BitmapsThatDoNotFitTheIconAreRefused)
{
	struct Case {
		const char* name;
		BRect bounds;
		color_space space;
		icon_size which;
	};
	const Case cases[] = {
		{"mini bitmap as large icon", square(16), B_CMAP8, B_LARGE_ICON},
		{"large bitmap as mini icon", square(32), B_CMAP8, B_MINI_ICON},
		{"one pixel short", square(31), B_CMAP8, B_LARGE_ICON},
		{"not square", BRect(0, 0, 31, 15), B_CMAP8, B_LARGE_ICON},
		{"not an icon size", square(24), B_CMAP8, (icon_size)24},
		{"invalid bitmap", BRect(), B_CMAP8, B_MINI_ICON},
	};
	for (const auto& size : kSizes) {
		BBitmap* icon = cmap8_icon(size.side);
		ASSERT_EQ(B_OK, fType.SetIcon(icon, size.which));
		delete icon;
	}
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		BBitmap bitmap(c.bounds, c.space);
		EXPECT_EQ(B_BAD_VALUE, fType.SetIcon(&bitmap, c.which));
		EXPECT_EQ(B_BAD_VALUE, fType.GetIcon(&bitmap, c.which));
	}
	EXPECT_EQ(B_BAD_VALUE, fType.GetIcon(NULL, B_LARGE_ICON));

	BBitmap rgba(square(32), B_RGBA32);
	EXPECT_EQ(B_BAD_VALUE, fType.SetIcon(&rgba, B_LARGE_ICON)) << "icons are stored as B_CMAP8";

	for (const auto& size : kSizes) {
		SCOPED_TRACE(size.side);
		BBitmap read(square(size.side), B_CMAP8);
		ASSERT_EQ(B_OK, fType.GetIcon(&read, size.which));
		EXPECT_EQ(icon_pattern(size.side), cmap8_pixels(&read)) << "a refused icon replaced nothing";
	}
}


TEST_F(MimeTypeIconsTest, MissingAndRemovedIconsAreNotFound)
{
	BBitmap large(square(32), B_CMAP8);
	BBitmap mini(square(16), B_CMAP8);
	EXPECT_EQ(B_ENTRY_NOT_FOUND, fType.GetIcon(&large, B_LARGE_ICON)) << "type not installed";

	for (const auto& size : kSizes) {
		BBitmap* icon = cmap8_icon(size.side);
		ASSERT_EQ(B_OK, fType.SetIcon(icon, size.which));
		delete icon;
	}
	ASSERT_EQ(B_OK, fType.SetIcon(NULL, B_LARGE_ICON));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, fType.GetIcon(&large, B_LARGE_ICON));
	EXPECT_EQ(B_OK, fType.GetIcon(&mini, B_MINI_ICON)) << "the other size stays";
	EXPECT_EQ(B_OK, fType.SetIcon(NULL, B_LARGE_ICON)) << "removing twice";
}


TEST_F(MimeTypeIconsTest, StoredIconsOfTheWrongLengthAreBadData)
{
	const size_t lengths[] = {0, 16 * 16 - 1, 16 * 16 + 1, 32 * 32};
	for (size_t length : lengths) {
		SCOPED_TRACE(length);
		// Never empty: a null pointer would remove the icon instead.
		const std::vector<uint8> data(length + 1, 3);
		ASSERT_EQ(B_OK, fType.SetIconData(data.data(), length, B_MINI_ICON));
		BBitmap read(square(16), B_CMAP8);
		EXPECT_EQ(B_BAD_DATA, fType.GetIcon(&read, B_MINI_ICON));
	}
}


TEST(MimeTypeIconsInitTest, AnUnsetTypeAnswersItsInitError)
{
	BMimeType type("not a type");
	ASSERT_NE(B_OK, type.InitCheck());
	BBitmap icon(square(16), B_CMAP8);
	EXPECT_EQ(type.InitCheck(), type.SetIcon(&icon, B_MINI_ICON));
	EXPECT_EQ(type.InitCheck(), type.GetIcon(&icon, B_MINI_ICON));
}
