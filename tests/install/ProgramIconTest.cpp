#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QIcon>

#include <Application.h>
#include <Bitmap.h>
#include <GraphicsDefs.h>
#include <MimeType.h>
#include <Window.h>

#include "Bitmaps.h"
#include "EndpointIcons.h"
#include "GuiTest.h"
#include "QtLookup.h"

namespace fs = std::filesystem;

namespace {

// Each case starts from an empty type database of its own.
class ProgramIconTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		const char* home = getenv("XDG_DATA_HOME");
		ASSERT_NE(nullptr, home);
		fOldDataHome = home;
		fDataHome = fs::path(home) / ::testing::UnitTest::GetInstance()->current_test_info()
			->name();
		fs::create_directories(fDataHome);
		setenv("XDG_DATA_HOME", fDataHome.c_str(), 1);
	}

	void TearDown() override
	{
		setenv("XDG_DATA_HOME", fOldDataHome.c_str(), 1);
		GuiTest::TearDown();
	}

	fs::path fDataHome;
	std::string fOldDataHome;
};


std::vector<uint8>
stored_icon(icon_size which)
{
	BMimeType type(be_app->Signature());
	std::vector<uint8> pixels((size_t)which * which);
	size_t size = pixels.size();
	if (type.GetIconData(pixels.data(), &size, which) != B_OK || size != pixels.size())
		return {};
	return pixels;
}


// The icon's pixels row by row, without the padding of its rows.
std::vector<uint8>
icon_pixels(const BBitmap* icon)
{
	const int32 side = icon->Bounds().IntegerWidth() + 1;
	std::vector<uint8> pixels;
	for (int32 y = 0; y < side; y++) {
		const uint8* row = static_cast<const uint8*>(icon->Bits()) + y * icon->BytesPerRow();
		pixels.insert(pixels.end(), row, row + side);
	}
	return pixels;
}


TEST_F(ProgramIconTest, TheExecutablesIconIsRegisteredAtFirstUse)
{
	BBitmap* large = NULL;
	BBitmap* mini = NULL;
	pelkan::get_icons(&large, &mini);
	const std::unique_ptr<BBitmap> owned[] = {std::unique_ptr<BBitmap>(large),
		std::unique_ptr<BBitmap>(mini)};

	const struct {
		BBitmap* icon;
		icon_size which;
	} icons[] = {{large, B_LARGE_ICON}, {mini, B_MINI_ICON}};
	for (const auto& i : icons) {
		SCOPED_TRACE(i.which);
		ASSERT_NE(nullptr, i.icon);
		EXPECT_EQ(B_CMAP8, i.icon->ColorSpace());
		EXPECT_EQ(BRect(0, 0, i.which - 1, i.which - 1), i.icon->Bounds());
		const std::vector<uint8> pixels = icon_pixels(i.icon);
		// The drawing: a tile with rounded corners, so a transparent corner
		// and an opaque middle.
		EXPECT_EQ(B_TRANSPARENT_MAGIC_CMAP8, pixels.front());
		EXPECT_NE(B_TRANSPARENT_MAGIC_CMAP8, pixels[pixels.size() / 2 + i.which / 2]);
		EXPECT_EQ(pixels, stored_icon(i.which)) << "kept in the type database";
	}
}


TEST_F(ProgramIconTest, AnIconAlreadyRegisteredIsKept)
{
	BMimeType type(be_app->Signature());
	const std::vector<uint8> own(16 * 16, 42);
	ASSERT_EQ(B_OK, type.SetIconData(own.data(), own.size(), B_MINI_ICON));

	BBitmap* large = NULL;
	BBitmap* mini = NULL;
	pelkan::get_icons(&large, &mini);
	const std::unique_ptr<BBitmap> ownedLarge(large);
	const std::unique_ptr<BBitmap> ownedMini(mini);
	ASSERT_NE(nullptr, mini);
	EXPECT_EQ(own, icon_pixels(mini));
	EXPECT_EQ(own, stored_icon(B_MINI_ICON));
	ASSERT_NE(nullptr, large);
	EXPECT_FALSE(stored_icon(B_LARGE_ICON).empty());
}


TEST_F(ProgramIconTest, MidiEndpointsCarryTheProgramsIcons)
{
	const BMessage properties = pelkan::endpoint_icon_properties();
	const struct {
		const char* name;
		type_code type;
		icon_size which;
	} icons[] = {{"be:large_icon", 'ICON', B_LARGE_ICON}, {"be:mini_icon", 'MICN', B_MINI_ICON}};
	for (const auto& icon : icons) {
		const void* data;
		ssize_t size;
		ASSERT_EQ(B_OK, properties.FindData(icon.name, icon.type, &data, &size)) << icon.name;
		const uint8* bytes = static_cast<const uint8*>(data);
		EXPECT_EQ(stored_icon(icon.which), std::vector<uint8>(bytes, bytes + size)) << icon.name;
	}
}


TEST_F(ProgramIconTest, WindowsShowTheProgramsIconInEverySize)
{
	BWindow* window = new BWindow(BRect(10, 10, 109, 59), "Icon test", B_TITLED_WINDOW, 0);
	window->Show();
	RunSteps({[&] {
		QWidget* top = top_level_widget(window);
		if (top == nullptr)
			return false;
		std::vector<int> sides;
		for (const QSize& size : top->windowIcon().availableSizes())
			sides.push_back(size.width());
		EXPECT_EQ((std::vector<int>{16, 32, 48, 64, 128, 256}), sides);
		return true;
	}});
}

}
