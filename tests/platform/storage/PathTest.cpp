#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Entry.h>
#include <Path.h>

#include "StorageTestSupport.h"

TEST(PathTest, SetToCleansAndJoins)
{
	TempFolder temp;
	mkdir((temp / "real").c_str(), 0755);
	symlink("real", (temp / "link").c_str());

	struct Case {
		std::string path;
		const char* leaf;
		bool normalize;
		status_t status;
		std::string expected;
	} cases[] = {
		{"/a//b/./c/", nullptr, false, B_OK, "/a/b/c"},
		{"/a/b", "c/d", false, B_OK, "/a/b/c/d"},
		{"/a/b/../c", nullptr, false, B_OK, "/a/c"},
		{"/", nullptr, false, B_OK, "/"},
		{"/a", "/absolute", false, B_BAD_VALUE, ""},
		{"", nullptr, false, B_BAD_VALUE, ""},
		{temp / "link/x", nullptr, false, B_OK, temp / "link/x"},
		{temp / "link/x", nullptr, true, B_OK, temp / "real/x"},
		{temp / "link/..", nullptr, false, B_OK, temp.Path()},
		{temp / "missing/x", nullptr, true, B_ENTRY_NOT_FOUND, ""},
		{temp / "missing/x", nullptr, false, B_OK, temp / "missing/x"},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.path + " + " + (test.leaf ? test.leaf : "(none)"));
		BPath path;
		EXPECT_EQ(test.status, path.SetTo(test.path.c_str(), test.leaf,
			test.normalize));
		EXPECT_EQ(test.status, path.InitCheck());
		if (test.status == B_OK)
			EXPECT_EQ(test.expected, path.Path());
		else
			EXPECT_EQ(nullptr, path.Path());
	}
}


TEST(PathTest, RelativePathsStartAtTheWorkingFolder)
{
	TempFolder temp;
	char old[PATH_MAX];
	ASSERT_NE(nullptr, getcwd(old, sizeof(old)));
	ASSERT_EQ(0, chdir(temp.Path().c_str()));
	BPath path("some/file");
	ASSERT_EQ(0, chdir(old));
	EXPECT_STREQ((temp / "some/file").c_str(), path.Path());
}


TEST(PathTest, LeafAppendAndParent)
{
	BPath path("/settings/PELKAN");
	EXPECT_STREQ("PELKAN", path.Leaf());
	ASSERT_EQ(B_OK, path.Append("VantuMIDI/Settings"));
	EXPECT_STREQ("/settings/PELKAN/VantuMIDI/Settings", path.Path());
	EXPECT_EQ(B_BAD_VALUE, path.Append("/absolute"));

	BPath parent;
	ASSERT_EQ(B_OK, path.GetParent(&parent));
	EXPECT_STREQ("/settings/PELKAN/VantuMIDI", parent.Path());
	ASSERT_EQ(B_OK, parent.GetParent(&parent));
	EXPECT_STREQ("/settings/PELKAN", parent.Path());

	BPath root("/");
	EXPECT_STREQ("", root.Leaf());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, root.GetParent(&parent));
	EXPECT_EQ(B_NO_INIT, parent.InitCheck());

	BPath unset;
	EXPECT_EQ(nullptr, unset.Leaf());
	EXPECT_EQ(B_NO_INIT, unset.Append("x"));
}


TEST(PathTest, FromRefsEntriesAndFolders)
{
	TempFolder temp;
	write_file(temp / "file", "");
	entry_ref ref;
	ASSERT_EQ(B_OK, get_ref_for_path((temp / "file").c_str(), &ref));
	EXPECT_STREQ((temp / "file").c_str(), BPath(&ref).Path());

	BEntry entry((temp / "new").c_str());
	EXPECT_STREQ((temp / "new").c_str(), BPath(&entry).Path());

	BDirectory folder(temp.Path().c_str());
	BPath inFolder(&folder, "child");
	EXPECT_STREQ((temp / "child").c_str(), inFolder.Path());

	entry_ref empty;
	EXPECT_EQ(B_BAD_VALUE, BPath(&empty).InitCheck());
	EXPECT_EQ(BPath("/a/b"), BPath("/a//b/"));
	EXPECT_NE(BPath("/a/b"), BPath("/a/c"));
}
