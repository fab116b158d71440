#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "LoaderTestSupport.h"

namespace {

class FolderLoaderTest : public testing::Test {
protected:
	void SetUp() override
	{
		fLoader = make_loader_from(FOLDER_LOADER_FILE);
		ASSERT_NE(nullptr, fLoader);
	}

	TempFolder fFolder;
	std::unique_ptr<TContainerLoader> fLoader;
};

}


TEST_F(FolderLoaderTest, OnlyARealFolderIsLoadable)
{
	std::filesystem::create_directory(fFolder / "songs");
	std::filesystem::create_directory_symlink(fFolder / "songs", fFolder / "link");
	write_whole_file(fFolder / "list.txt", "a.mid\n");
	const struct {
		const char* name;
		bool loadable;
	} cases[] = {
		{"songs", true},
		{"link", false},
		{"list.txt", false},
		{"missing", false},
	};
	for (const auto& test : cases) {
		const Detection detection = detect(*fLoader, fFolder / test.name);
		EXPECT_EQ(test.loadable, detection.loadable) << test.name;
		EXPECT_EQ(kSupportFolder, detection.kind) << test.name;
	}
}


TEST_F(FolderLoaderTest, ListsEveryEntryByNameWithoutFilter)
{
	const std::string songs = fFolder / "songs";
	std::filesystem::create_directory(songs);
	write_whole_file(songs + "/b.mid", "MThd");
	write_whole_file(songs + "/a.mid", "MThd");
	write_whole_file(songs + "/notes.txt", "text");
	std::filesystem::create_directory(songs + "/more");
	write_whole_file(songs + "/more/c.mid", "MThd");

	int32 status;
	EXPECT_EQ((std::list<std::string>{songs + "/a.mid", songs + "/b.mid",
		songs + "/more", songs + "/notes.txt"}),
		load_entries(*fLoader, songs, &status));
	EXPECT_EQ(0, status);
}


TEST_F(FolderLoaderTest, EmptyFolderLoadsEmptyAndNonFoldersFail)
{
	int32 status;
	EXPECT_TRUE(load_entries(*fLoader, fFolder.Path(), &status).empty());
	EXPECT_EQ(0, status);

	write_whole_file(fFolder / "list.txt", "a.mid\n");
	for (const char* name : {"list.txt", "missing"}) {
		EXPECT_TRUE(load_entries(*fLoader, fFolder / name, &status).empty());
		EXPECT_EQ(-1, status) << name;
	}
}


TEST_F(FolderLoaderTest, IdentifiesItself)
{
	EXPECT_EQ("Container Loader Folder", fLoader->Name());
	EXPECT_EQ("Tells MIDI files in the folder.", fLoader->Description());
	EXPECT_EQ(FOLDER_LOADER_FILE, fLoader->Path());
}
