#include <image.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <elf.h>
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

	static std::string AddOnBytes(const char* library = TEST_ADDON_PATH)
	{
		std::ifstream file(library, std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(file), {});
	}

	// Where the library's last loadable segment ends in the file: one cut
	// short of it cannot be mapped, wherever the linker placed its parts
	// (some pack them at the start and leave the rest to symbols).
	static size_t LoadedLength(const std::string& library)
	{
		Elf64_Ehdr header;
		memcpy(&header, library.data(), sizeof header);
		size_t end = 0;
		for (size_t index = 0; index < header.e_phnum; index++) {
			Elf64_Phdr segment;
			memcpy(&segment, library.data() + header.e_phoff + index * header.e_phentsize,
				sizeof segment);
			if (segment.p_type == PT_LOAD)
				end = std::max<size_t>(end, segment.p_offset + segment.p_filesz);
		}
		return end;
	}

	// The way files are saved here: a new file renamed over the old one.
	std::string Replace(const char* name, const char* library)
	{
		const std::string path = fFolder + "/" + name;
		const std::string written = path + ".new";
		std::ofstream(written, std::ios::binary) << AddOnBytes(library);
		EXPECT_EQ(rename(written.c_str(), path.c_str()), 0);
		if (std::find(fFiles.begin(), fFiles.end(), path) == fFiles.end())
			fFiles.push_back(path);
		return path;
	}

	static int32* Value(image_id image)
	{
		void* value = NULL;
		EXPECT_EQ(get_image_symbol(image, "test_addon_value", B_SYMBOL_TYPE_DATA, &value),
			B_OK);
		return static_cast<int32*>(value);
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
	// The same file is one image, whatever the number of loads.
	EXPECT_EQ(Value(first), Value(second));
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

// The loader matches an open image by name before it looks at the file, so
// a replaced add-on would otherwise be the old image until a restart.
TEST_F(ImageTest, ReplacedAddOnIsLoadedAnewWhileTheOldImageStays)
{
	const std::string path = Replace("AddOn.so", TEST_ADDON_PATH);
	image_id original = load_add_on(path.c_str());
	Replace("AddOn.so", NEWER_TEST_ADDON_PATH);
	image_id newer = load_add_on(path.c_str());
	image_id newerAgain = load_add_on(path.c_str());
	// Same bytes as the original, but another file: another image.
	Replace("AddOn.so", TEST_ADDON_PATH);
	image_id copy = load_add_on(path.c_str());
	for (image_id image : {original, newer, newerAgain, copy})
		ASSERT_GT(image, 0);

	EXPECT_EQ(*Value(original), 42);
	EXPECT_EQ(*Value(newer), 43);
	EXPECT_EQ(Value(newerAgain), Value(newer));
	EXPECT_EQ(*Value(copy), 42);
	EXPECT_NE(Value(copy), Value(original));
	void* address = NULL;
	ASSERT_EQ(get_image_symbol(original, "test_addon_twice", B_SYMBOL_TYPE_TEXT, &address),
		B_OK);
	EXPECT_EQ(reinterpret_cast<twice_func>(address)(5), 10);

	// With every image closed, the next file is loaded too.
	for (image_id image : {original, newer, newerAgain, copy})
		EXPECT_EQ(unload_add_on(image), B_OK);
	Replace("AddOn.so", NEWER_TEST_ADDON_PATH);
	image_id last = load_add_on(path.c_str());
	ASSERT_GT(last, 0);
	EXPECT_EQ(*Value(last), 43);
	EXPECT_EQ(unload_add_on(last), B_OK);
}

// An image opened by name outside the layer is of a file the layer cannot
// vouch for: it is shared while it is the file at the path, and passed over
// once the file is replaced.
TEST_F(ImageTest, ImageOpenedElsewhereIsUsedOnlyWhileItIsTheFile)
{
	const std::string path = Replace("AddOn.so", TEST_ADDON_PATH);
	void* elsewhere = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
	ASSERT_NE(elsewhere, nullptr);
	image_id same = load_add_on(path.c_str());
	ASSERT_GT(same, 0);
	EXPECT_EQ(Value(same), dlsym(elsewhere, "test_addon_value"));

	Replace("AddOn.so", NEWER_TEST_ADDON_PATH);
	image_id newer = load_add_on(path.c_str());
	ASSERT_GT(newer, 0);
	EXPECT_EQ(*Value(newer), 43);
	EXPECT_EQ(unload_add_on(same), B_OK);
	EXPECT_EQ(unload_add_on(newer), B_OK);
	dlclose(elsewhere);
}

// As on the original platform, a bare name is a file in the working
// directory, not a library searched for in the system's library path.
TEST_F(ImageTest, BareNameIsAFileInTheWorkingDirectory)
{
	Replace("AddOn.so", NEWER_TEST_ADDON_PATH);
	char* previous = getcwd(NULL, 0);
	ASSERT_NE(previous, nullptr);
	ASSERT_EQ(chdir(fFolder.c_str()), 0);
	image_id image = load_add_on("AddOn.so");
	EXPECT_EQ(chdir(previous), 0);
	free(previous);
	ASSERT_GT(image, 0);
	EXPECT_EQ(*Value(image), 43);
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
			BadFile{Write("truncated.so", library.substr(0, LoadedLength(library) - 1)),
				B_NOT_AN_EXECUTABLE},
			BadFile{Write("header-only.so", library.substr(0, 64)), B_NOT_AN_EXECUTABLE},
			BadFile{fFolder, B_IS_A_DIRECTORY},
			BadFile{"", B_BAD_VALUE}}) {
		EXPECT_EQ(load_add_on(bad.path.c_str()), bad.expected) << bad.path;
	}
	EXPECT_EQ(load_add_on(NULL), B_BAD_VALUE);
}

}	// namespace
