#include <gtest/gtest.h>

#include <sstream>
#include <unistd.h>

#include <Message.h>
#include <MimeType.h>

#include "StorageTestSupport.h"

namespace {

const char* const kPlaylistType = "text/x-vnd.PELKAN-Test-PlayList";


bool in_path(const char* program)
{
	const char* path = getenv("PATH");
	std::stringstream folders(path != nullptr ? path : "");
	for (std::string folder; std::getline(folders, folder, ':');) {
		if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0)
			return true;
	}
	return false;
}


class MimeTypeTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
	}

	std::string Package() const
	{
		return read_file(fTemp / "mime/packages/text-x-vnd.PELKAN-Test-PlayList.xml");
	}

	TempFolder fTemp;
	ScopedEnvironment fDataHome{"XDG_DATA_HOME", fTemp.Path().c_str()};
};

} // namespace


TEST(MimeTypeValidityTest, Syntax)
{
	struct Case {
		const char* type;
		bool valid;
	} cases[] = {
		{"audio/x-midi", true},
		{"text/x-vnd.PELKAN-VantuMIDI-PlayList", true},
		{"audio", true},
		{"", false},
		{"/midi", false},
		{"audio/", false},
		{"audio/x/midi", false},
		{"audio/x midi", false},
		{"audio/x;midi", false},
		{"audio/\xc3\xa4", false},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.type);
		EXPECT_EQ(test.valid, BMimeType::IsValid(test.type));
		BMimeType type(test.type);
		EXPECT_EQ(test.valid ? B_OK : B_BAD_VALUE, type.InitCheck());
	}
	EXPECT_FALSE(BMimeType::IsValid(nullptr));
	EXPECT_FALSE(BMimeType::IsValid(std::string(300, 'a').c_str()));
	EXPECT_TRUE(BMimeType("Audio/X-Midi") == "audio/x-midi");
	EXPECT_TRUE(BMimeType("audio").IsSupertypeOnly());
}


TEST_F(MimeTypeTest, RegistrationWritesASharedMimeInfoPackage)
{
	BMimeType type(kPlaylistType);
	EXPECT_FALSE(type.IsInstalled());
	BMessage extensions;
	extensions.AddString("extensions", "lml");
	extensions.AddString("extensions", ".LML");
	EXPECT_EQ(B_OK, type.SetFileExtensions(&extensions));
	EXPECT_EQ(B_OK, type.SetShortDescription("Playlist"));
	EXPECT_EQ(B_OK, type.SetLongDescription("Test <Playlist> & more"));
	EXPECT_EQ(B_OK, type.SetPreferredApp("application/x-vnd.PELKAN-Test"));
	EXPECT_TRUE(type.IsInstalled());
	EXPECT_EQ(B_FILE_EXISTS, type.Install());

	std::string package = Package();
	EXPECT_NE(std::string::npos, package.find(
		"<mime-type type=\"text/x-vnd.PELKAN-Test-PlayList\">"));
	EXPECT_NE(std::string::npos,
		package.find("<comment>Test &lt;Playlist&gt; &amp; more</comment>"));
	EXPECT_NE(std::string::npos, package.find("<glob pattern=\"*.lml\"/>"));
	EXPECT_NE(std::string::npos, package.find("<glob pattern=\"*.LML\"/>"));
	// The desktop's database was rebuilt from the package, where it can be.
	if (in_path("update-mime-database")) {
		EXPECT_NE(std::string::npos, read_file(fTemp / "mime/globs2").find(
			"text/x-vnd.PELKAN-Test-PlayList:*.lml"));
	}

	// Read back through a new object, as another run of the program would.
	BMimeType again(kPlaylistType);
	char text[B_MIME_TYPE_LENGTH];
	ASSERT_EQ(B_OK, again.GetShortDescription(text));
	EXPECT_STREQ("Playlist", text);
	ASSERT_EQ(B_OK, again.GetLongDescription(text));
	EXPECT_STREQ("Test <Playlist> & more", text);
	ASSERT_EQ(B_OK, again.GetPreferredApp(text));
	EXPECT_STREQ("application/x-vnd.PELKAN-Test", text);
	BMessage readBack;
	ASSERT_EQ(B_OK, again.GetFileExtensions(&readBack));
	EXPECT_STREQ("lml", readBack.FindString("extensions", 0));
	EXPECT_STREQ("LML", readBack.FindString("extensions", 1));

	ASSERT_EQ(B_OK, again.Delete());
	EXPECT_FALSE(type.IsInstalled());
	EXPECT_FALSE(std::filesystem::exists(
		fTemp / "mime/packages/text-x-vnd.PELKAN-Test-PlayList.xml"));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, again.GetShortDescription(text));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, again.Delete());
}


TEST_F(MimeTypeTest, InstallAloneNamesTheType)
{
	BMimeType type(kPlaylistType);
	ASSERT_EQ(B_OK, type.Install());
	EXPECT_TRUE(type.IsInstalled());
	std::string package = Package();
	EXPECT_NE(std::string::npos, package.find(kPlaylistType));
	EXPECT_EQ(std::string::npos, package.find("<glob"));
	char text[B_MIME_TYPE_LENGTH];
	EXPECT_EQ(B_ENTRY_NOT_FOUND, type.GetShortDescription(text));
	EXPECT_EQ(B_BAD_VALUE, type.SetPreferredApp("not a signature"));
	EXPECT_EQ(B_BAD_VALUE,
		type.SetShortDescription(std::string(B_MIME_TYPE_LENGTH, 'x').c_str()));
}


TEST_F(MimeTypeTest, IconDataRoundTrip)
{
	BMimeType type("application/x-vnd.PELKAN-Test");
	std::vector<uint8> large(32 * 32);
	for (size_t i = 0; i < large.size(); i++)
		large[i] = (uint8)i;
	ASSERT_EQ(B_OK, type.SetIconData(large.data(), large.size(), B_LARGE_ICON));

	std::vector<uint8> buffer(2048);
	size_t size = buffer.size();
	ASSERT_EQ(B_OK, type.GetIconData(buffer.data(), &size, B_LARGE_ICON));
	ASSERT_EQ(large.size(), size);
	EXPECT_TRUE(std::equal(large.begin(), large.end(), buffer.begin()));

	size = 10;
	EXPECT_EQ(B_BAD_VALUE, type.GetIconData(buffer.data(), &size, B_LARGE_ICON));
	EXPECT_EQ(large.size(), size);
	size = buffer.size();
	EXPECT_EQ(B_ENTRY_NOT_FOUND, type.GetIconData(buffer.data(), &size, B_MINI_ICON));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, BMimeType("application/x-vnd.Unknown")
		.GetIconData(buffer.data(), &size, B_LARGE_ICON));
}
