#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Entry.h>
#include <File.h>
#include <Path.h>

#include "StorageTestSupport.h"

namespace {

std::vector<std::string> list(BDirectory& folder, bool traverse = false,
	std::vector<bool>* isFolder = nullptr)
{
	std::vector<std::string> names;
	BEntry entry;
	while (folder.GetNextEntry(&entry, traverse) == B_OK) {
		char name[B_FILE_NAME_LENGTH];
		entry.GetName(name);
		names.push_back(name);
		if (isFolder != nullptr)
			isFolder->push_back(entry.IsDirectory());
	}
	return names;
}

} // namespace


TEST(DirectoryTest, ListingIsSortedByBytesWithoutDotEntries)
{
	TempFolder temp;
	for (const char* name : {"b", "B", "a", "\xc3\xa4", "_", "10", "9", ".hidden"})
		write_file(temp / name, "");
	mkdir((temp / "sub").c_str(), 0755);

	BDirectory folder(temp.Path().c_str());
	ASSERT_EQ(B_OK, folder.InitCheck());
	std::vector<std::string> expected = {".hidden", "10", "9", "B", "_", "a",
		"b", "sub", "\xc3\xa4"};
	EXPECT_EQ(expected, list(folder));
	EXPECT_EQ(B_BAD_VALUE, folder.GetNextEntry(nullptr));

	// The listing is a snapshot until Rewind().
	write_file(temp / "new", "");
	EXPECT_TRUE(list(folder).empty());
	ASSERT_EQ(B_OK, folder.Rewind());
	EXPECT_EQ(10u, list(folder).size());
	EXPECT_EQ(10, folder.CountEntries());
	EXPECT_EQ(10u, list(folder).size());
}


TEST(DirectoryTest, RefsCarryTheFolder)
{
	TempFolder temp;
	write_file(temp / "x", "");
	BDirectory folder(temp.Path().c_str());
	entry_ref ref;
	ASSERT_EQ(B_OK, folder.GetNextRef(&ref));
	entry_ref expected;
	ASSERT_EQ(B_OK, get_ref_for_path((temp / "x").c_str(), &expected));
	EXPECT_EQ(expected, ref);
	EXPECT_EQ(temp / "x", ref.path());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, folder.GetNextRef(&ref));
}


TEST(DirectoryTest, TraverseDecidesWhatALinkIs)
{
	TempFolder temp;
	mkdir((temp / "real").c_str(), 0755);
	symlink("real", (temp / "link").c_str());
	BDirectory folder(temp.Path().c_str());
	std::vector<bool> plain;
	EXPECT_EQ((std::vector<std::string>{"link", "real"}), list(folder, false, &plain));
	EXPECT_EQ((std::vector<bool>{false, true}), plain);
	folder.Rewind();
	std::vector<bool> traversed;
	EXPECT_EQ((std::vector<std::string>{"real", "real"}),
		list(folder, true, &traversed));
	EXPECT_EQ((std::vector<bool>{true, true}), traversed);
}


TEST(DirectoryTest, OpenFailures)
{
	TempFolder temp;
	write_file(temp / "file", "");
	EXPECT_EQ(B_ENTRY_NOT_FOUND, BDirectory((temp / "missing").c_str()).InitCheck());
	EXPECT_EQ(B_NOT_A_DIRECTORY, BDirectory((temp / "file").c_str()).InitCheck());
	EXPECT_EQ(B_BAD_VALUE, BDirectory((const char*)nullptr).InitCheck());
	BDirectory unset;
	BEntry entry;
	EXPECT_EQ(B_NO_INIT, unset.GetNextEntry(&entry));
	EXPECT_EQ(0, unset.CountEntries());
}


TEST(DirectoryTest, ContainsFindAndCreate)
{
	TempFolder temp;
	BDirectory folder(temp.Path().c_str());
	BDirectory sub;
	ASSERT_EQ(B_OK, folder.CreateDirectory("sub", &sub));
	EXPECT_EQ(B_FILE_EXISTS, folder.CreateDirectory("sub", nullptr));
	BFile file;
	ASSERT_EQ(B_OK, sub.CreateFile("file", &file));
	EXPECT_EQ(3, file.Write("abc", 3));
	EXPECT_EQ(B_FILE_EXISTS, sub.CreateFile("file", nullptr, true));
	EXPECT_EQ(B_OK, sub.CreateFile("file", nullptr));
	EXPECT_EQ("", read_file(temp / "sub/file"));

	EXPECT_TRUE(folder.Contains("sub"));
	EXPECT_TRUE(folder.Contains("sub/file", B_FILE_NODE));
	EXPECT_FALSE(folder.Contains("sub/file", B_DIRECTORY_NODE));
	EXPECT_TRUE(folder.Contains((temp / "sub/file").c_str()));
	EXPECT_FALSE(folder.Contains("missing"));
	EXPECT_FALSE(sub.Contains(temp.Path().c_str()));

	BEntry found;
	ASSERT_EQ(B_OK, folder.FindEntry("sub/file", &found));
	EXPECT_TRUE(found.IsFile());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, folder.FindEntry("nothing", &found));
	EXPECT_EQ(B_NO_INIT, found.InitCheck());

	BEntry self;
	ASSERT_EQ(B_OK, sub.GetEntry(&self));
	EXPECT_STREQ((temp / "sub").c_str(), BPath(&self).Path());
	EXPECT_TRUE(BDirectory("/").IsRootDirectory());
	EXPECT_FALSE(sub.IsRootDirectory());
}


TEST(DirectoryTest, CreateDirectoryMakesEveryMissingLevel)
{
	TempFolder temp;
	write_file(temp / "file", "");
	struct Case {
		std::string path;
		status_t status;
	} cases[] = {
		{temp / "a/b/c", B_OK},
		{temp / "a/b/c", B_OK},
		{temp / "a/b", B_OK},
		{temp / "file", B_NOT_A_DIRECTORY},
		{temp / "file/below", B_NOT_A_DIRECTORY},
		{"", B_BAD_VALUE},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.path);
		EXPECT_EQ(test.status, create_directory(test.path.c_str(), 0777));
	}
	EXPECT_TRUE(std::filesystem::is_directory(temp / "a/b/c"));

	mode_t mask = umask(022);
	umask(mask);
	struct stat st;
	ASSERT_EQ(0, stat((temp / "a/b").c_str(), &st));
	EXPECT_EQ(0777 & ~mask, st.st_mode & 0777);
}
