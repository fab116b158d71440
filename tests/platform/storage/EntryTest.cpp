#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <Directory.h>
#include <Entry.h>
#include <Path.h>

#include "StorageTestSupport.h"

namespace {

class EntryTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
		mkdir((fTemp / "real").c_str(), 0755);
		write_file(fTemp / "real/file", "data");
		symlink("real", (fTemp / "link").c_str());
		symlink("real/file", (fTemp / "file-link").c_str());
		symlink("nowhere", (fTemp / "dangling").c_str());
	}

	TempFolder fTemp;
};

} // namespace


TEST_F(EntryTest, RefForPathKeepsCanonicalFolderAndLeaf)
{
	struct Case {
		const char* path;
		status_t status;
		const char* expectedPath;
		bool folderKnown;
	} cases[] = {
		{"real/file", B_OK, "real/file", true},
		{"real/missing", B_OK, "real/missing", true},
		{"link/file", B_OK, "real/file", true},
		{"real//./file", B_OK, "real/file", true},
		{"real/", B_OK, "real", true},
		{"real/..", B_OK, "", true},
		{"gone/deeper/leaf", B_ENTRY_NOT_FOUND, "gone/deeper/leaf", false},
		{"gone/x/../leaf", B_ENTRY_NOT_FOUND, "gone/leaf", false},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.path);
		entry_ref ref;
		EXPECT_EQ(test.status, get_ref_for_path((fTemp / test.path).c_str(), &ref));
		std::string expected = test.expectedPath[0] == '\0' ? fTemp.Path()
			: fTemp / test.expectedPath;
		EXPECT_EQ(expected, ref.path());
		EXPECT_EQ(test.folderKnown, ref.device != (dev_t)-1);
		EXPECT_EQ(test.folderKnown, ref.directory != (ino_t)-1);
	}
}


TEST_F(EntryTest, RefForRelativePathUsesWorkingFolder)
{
	char old[PATH_MAX];
	ASSERT_NE(nullptr, getcwd(old, sizeof(old)));
	ASSERT_EQ(0, chdir(fTemp.Path().c_str()));
	entry_ref ref;
	status_t status = get_ref_for_path("real/new", &ref);
	ASSERT_EQ(0, chdir(old));
	EXPECT_EQ(B_OK, status);
	EXPECT_EQ(fTemp / "real/new", ref.path());
	EXPECT_STREQ("new", ref.name);
	EXPECT_EQ(B_BAD_VALUE, get_ref_for_path("", &ref));
	EXPECT_EQ(B_BAD_VALUE, get_ref_for_path(nullptr, &ref));
}


TEST_F(EntryTest, RefsToOneEntryAreEqualWhateverTheRoute)
{
	entry_ref direct;
	entry_ref throughLink;
	entry_ref other;
	ASSERT_EQ(B_OK, get_ref_for_path((fTemp / "real/file").c_str(), &direct));
	ASSERT_EQ(B_OK, get_ref_for_path((fTemp / "link/../real/./file").c_str(),
		&throughLink));
	ASSERT_EQ(B_OK, get_ref_for_path((fTemp / "real/other").c_str(), &other));
	EXPECT_EQ(direct, throughLink);
	EXPECT_NE(direct, other);

	entry_ref missingA;
	entry_ref missingB;
	get_ref_for_path((fTemp / "gone/a").c_str(), &missingA);
	get_ref_for_path((fTemp / "gone/./a").c_str(), &missingB);
	EXPECT_EQ(missingA, missingB);
	EXPECT_NE(missingA, direct);

	entry_ref copy = direct;
	EXPECT_EQ(direct, copy);
	EXPECT_EQ(entry_ref(), entry_ref());
}


TEST_F(EntryTest, RefRebuiltFromNumbersFindsItsFolder)
{
	entry_ref ref;
	ASSERT_EQ(B_OK, get_ref_for_path((fTemp / "real/file").c_str(), &ref));
	entry_ref rebuilt(ref.device, ref.directory, ref.name);
	EXPECT_EQ(ref.path(), rebuilt.path());
	EXPECT_EQ(ref, rebuilt);
}


TEST_F(EntryTest, InitCheckNeedsTheFolderOnly)
{
	EXPECT_EQ(B_OK, BEntry((fTemp / "real/missing").c_str()).InitCheck());
	EXPECT_FALSE(BEntry((fTemp / "real/missing").c_str()).Exists());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, BEntry((fTemp / "gone/leaf").c_str()).InitCheck());
	EXPECT_EQ(B_BAD_VALUE, BEntry("").InitCheck());
	EXPECT_EQ(B_NO_INIT, BEntry().InitCheck());
}


TEST_F(EntryTest, LinksAreFollowedOnlyWhenTraversing)
{
	struct Case {
		const char* name;
		bool traverse;
		bool exists;
		bool isDirectory;
		bool isFile;
		bool isLink;
		const char* path;
	} cases[] = {
		{"link", false, true, false, false, true, "link"},
		{"link", true, true, true, false, false, "real"},
		{"file-link", false, true, false, false, true, "file-link"},
		{"file-link", true, true, false, true, false, "real/file"},
		{"dangling", false, true, false, false, true, "dangling"},
		{"dangling", true, false, false, false, false, "nowhere"},
		{"real", false, true, true, false, false, "real"},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(std::string(test.name) + (test.traverse ? " traversed" : ""));
		BEntry entry((fTemp / test.name).c_str(), test.traverse);
		ASSERT_EQ(B_OK, entry.InitCheck());
		EXPECT_EQ(test.exists, entry.Exists());
		EXPECT_EQ(test.isDirectory, entry.IsDirectory());
		EXPECT_EQ(test.isFile, entry.IsFile());
		EXPECT_EQ(test.isLink, entry.IsSymLink());
		BPath path;
		ASSERT_EQ(B_OK, entry.GetPath(&path));
		EXPECT_STREQ((fTemp / test.path).c_str(), path.Path());
	}
}


TEST_F(EntryTest, RefAndDirectoryFormsNameTheSameEntry)
{
	entry_ref ref;
	ASSERT_EQ(B_OK, get_ref_for_path((fTemp / "file-link").c_str(), &ref));
	BEntry byRef(&ref, true);
	BDirectory folder(fTemp.Path().c_str());
	BEntry byFolder(&folder, "real/file");
	EXPECT_EQ(B_OK, byRef.InitCheck());
	EXPECT_EQ(byFolder, byRef);
	EXPECT_NE(BEntry(&ref), byRef);
}


TEST_F(EntryTest, NameParentAndNodeRef)
{
	BEntry entry((fTemp / "real/file").c_str());
	char name[B_FILE_NAME_LENGTH];
	ASSERT_EQ(B_OK, entry.GetName(name));
	EXPECT_STREQ("file", name);

	BEntry parent;
	ASSERT_EQ(B_OK, entry.GetParent(&parent));
	BPath parentPath(&parent);
	EXPECT_STREQ((fTemp / "real").c_str(), parentPath.Path());
	BDirectory parentFolder;
	ASSERT_EQ(B_OK, entry.GetParent(&parentFolder));
	EXPECT_TRUE(parentFolder.Contains("file"));

	BEntry root("/");
	EXPECT_EQ(B_OK, root.InitCheck());
	EXPECT_TRUE(root.IsDirectory());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, root.GetParent(&parent));

	node_ref node;
	ASSERT_EQ(B_OK, entry.GetNodeRef(&node));
	struct stat st;
	ASSERT_EQ(0, stat((fTemp / "real/file").c_str(), &st));
	EXPECT_EQ(node_ref(st.st_dev, st.st_ino), node);
	EXPECT_EQ(fTemp / "real/file", node.path);
	EXPECT_EQ(B_ENTRY_NOT_FOUND,
		BEntry((fTemp / "real/missing").c_str()).GetNodeRef(&node));
}


TEST_F(EntryTest, RenameRefusesToClobberUnlessAsked)
{
	write_file(fTemp / "real/other", "other");
	BEntry entry((fTemp / "real/file").c_str());
	EXPECT_EQ(B_FILE_EXISTS, entry.Rename("other"));
	EXPECT_EQ("data", read_file(fTemp / "real/file"));

	ASSERT_EQ(B_OK, entry.Rename("renamed"));
	EXPECT_FALSE(std::filesystem::exists(fTemp / "real/file"));
	BPath path(&entry);
	EXPECT_STREQ((fTemp / "real/renamed").c_str(), path.Path());

	ASSERT_EQ(B_OK, entry.Rename((fTemp / "real/other").c_str(), true));
	EXPECT_EQ("data", read_file(fTemp / "real/other"));

	BDirectory top(fTemp.Path().c_str());
	ASSERT_EQ(B_OK, entry.MoveTo(&top));
	EXPECT_EQ("data", read_file(fTemp / "other"));
}


TEST_F(EntryTest, RemoveTakesFilesAndEmptyFolders)
{
	BEntry file((fTemp / "real/file").c_str());
	ASSERT_EQ(B_OK, file.Remove());
	EXPECT_FALSE(file.Exists());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, file.Remove());

	BEntry link((fTemp / "link").c_str());
	ASSERT_EQ(B_OK, link.Remove());
	EXPECT_TRUE(std::filesystem::exists(fTemp / "real"));

	BEntry folder((fTemp / "real").c_str());
	EXPECT_EQ(B_OK, folder.Remove());
	EXPECT_FALSE(folder.Exists());
}
