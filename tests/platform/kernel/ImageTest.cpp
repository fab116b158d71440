#include <image.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

typedef int32 (*twice_func)(int32);

// A folder of files that are not add-ons, removed afterwards.
class ImageTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		char pattern[] = "/tmp/image-test-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fFolder = pattern;
	}

	void TearDown() override
	{
		for (const std::string& path : fFiles)
			unlink(path.c_str());
		rmdir(fFolder.c_str());
	}

	std::string Write(const char* name, const std::string& content)
	{
		std::string path = fFolder + "/" + name;
		std::ofstream(path, std::ios::binary) << content;
		fFiles.push_back(path);
		return path;
	}

	static std::string AddOnBytes()
	{
		std::ifstream file(TEST_ADDON_PATH, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(file), {});
	}

	std::string fFolder;
	std::vector<std::string> fFiles;
};

TEST_F(ImageTest, LoadsCallsAndUnloadsAnAddOn)
{
	image_id image = load_add_on(TEST_ADDON_PATH);
	ASSERT_GT(image, 0);

	void* address = NULL;
	ASSERT_EQ(get_image_symbol(image, "test_addon_twice", B_SYMBOL_TYPE_TEXT, &address), B_OK);
	EXPECT_EQ(reinterpret_cast<twice_func>(address)(-21), 42);

	void* value = NULL;
	ASSERT_EQ(get_image_symbol(image, "test_addon_value", B_SYMBOL_TYPE_DATA, &value), B_OK);
	EXPECT_EQ(*static_cast<int32*>(value), 42);
	EXPECT_EQ(get_image_symbol(image, "test_addon_value", B_SYMBOL_TYPE_ANY, &value), B_OK);

	EXPECT_EQ(unload_add_on(image), B_OK);
	EXPECT_EQ(unload_add_on(image), B_BAD_IMAGE_ID);
	EXPECT_EQ(get_image_symbol(image, "test_addon_twice", B_SYMBOL_TYPE_TEXT, &address),
		B_BAD_IMAGE_ID);
}

TEST_F(ImageTest, EachLoadGetsItsOwnId)
{
	image_id first = load_add_on(TEST_ADDON_PATH);
	image_id second = load_add_on(TEST_ADDON_PATH);
	ASSERT_GT(first, 0);
	ASSERT_GT(second, 0);
	EXPECT_NE(first, second);
	EXPECT_EQ(unload_add_on(first), B_OK);
	void* address = NULL;
	EXPECT_EQ(get_image_symbol(second, "test_addon_twice", B_SYMBOL_TYPE_TEXT, &address), B_OK);
	EXPECT_EQ(unload_add_on(second), B_OK);
}

// A symbol must be the add-on's own and of the requested kind; "labs" comes
// from the C library the add-on uses.
TEST_F(ImageTest, SymbolLookupFailsCleanly)
{
	image_id image = load_add_on(TEST_ADDON_PATH);
	ASSERT_GT(image, 0);
	struct Lookup {
		const char* name;
		int32 type;
		status_t expected;
	};
	for (const Lookup& lookup : {
			Lookup{"no_such_symbol", B_SYMBOL_TYPE_TEXT, B_MISSING_SYMBOL},
			Lookup{"labs", B_SYMBOL_TYPE_ANY, B_MISSING_SYMBOL},
			Lookup{"test_addon_value", B_SYMBOL_TYPE_TEXT, B_MISSING_SYMBOL},
			Lookup{"test_addon_twice", B_SYMBOL_TYPE_DATA, B_MISSING_SYMBOL},
			Lookup{"test_addon_twice", 7, B_BAD_VALUE},
			Lookup{NULL, B_SYMBOL_TYPE_TEXT, B_BAD_VALUE}}) {
		void* address = &image;
		EXPECT_EQ(get_image_symbol(image, lookup.name, lookup.type, &address), lookup.expected)
			<< (lookup.name != NULL ? lookup.name : "NULL");
		EXPECT_EQ(address, &image);
	}
	EXPECT_EQ(get_image_symbol(image, "test_addon_twice", B_SYMBOL_TYPE_TEXT, NULL), B_BAD_VALUE);
	EXPECT_EQ(unload_add_on(image), B_OK);
}

TEST_F(ImageTest, FilesThatAreNotAddOnsFailToLoad)
{
	std::string library = AddOnBytes();
	ASSERT_GT(library.size(), 1024u);
	struct BadFile {
		std::string path;
		status_t expected;
	};
	for (const BadFile& bad : {
			BadFile{fFolder + "/missing.so", B_ENTRY_NOT_FOUND},
			BadFile{Write("text.so", "not a library\n"), B_NOT_AN_EXECUTABLE},
			BadFile{Write("empty.so", ""), B_NOT_AN_EXECUTABLE},
			BadFile{Write("truncated.so", library.substr(0, library.size() / 3)),
				B_NOT_AN_EXECUTABLE},
			BadFile{Write("header-only.so", library.substr(0, 64)), B_NOT_AN_EXECUTABLE},
			BadFile{fFolder, B_IS_A_DIRECTORY},
			BadFile{"", B_BAD_VALUE}}) {
		EXPECT_EQ(load_add_on(bad.path.c_str()), bad.expected) << bad.path;
	}
	EXPECT_EQ(load_add_on(NULL), B_BAD_VALUE);
}

}	// namespace
