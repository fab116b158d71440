#include <gtest/gtest.h>

#include <PathFunctions.h>

TEST(PathFunctionsTest, SplitsAtTheLastSlash)
{
	struct {
		const char* path;
		const char* folder;
		const char* name;
		const char* body;
	} cases[] = {
		{"/boot/home/song.mid", "/boot/home/", "song.mid", "song"},
		{"song.mid", "", "song.mid", "song"},
		{"/boot/home/", "/boot/home/", "", ""},
		{"/a.b/noext", "/a.b/", "noext", "noext"},
		{"/x/archive.tar.gz", "/x/", "archive.tar.gz", "archive.tar"},
		{"", "", "", ""},
	};
	for (const auto& test : cases) {
		EXPECT_EQ(test.folder, extract_file_path(test.path)) << test.path;
		EXPECT_EQ(test.name, extract_file_name(test.path)) << test.path;
		EXPECT_EQ(test.body, extract_file_body(test.path)) << test.path;
	}
}


TEST(PathFunctionsTest, ExtensionsLookOnlyAtTheFileName)
{
	struct {
		const char* path;
		const char* added;
		const char* replaced;
	} cases[] = {
		{"/x/list", "/x/list.lml", "/x/list.lml"},
		{"/x/list.txt", "/x/list.txt", "/x/list.lml"},
		{"/x.d/list", "/x.d/list.lml", "/x.d/list.lml"},
		{"list.a.b", "list.a.b", "list.a.lml"},
	};
	for (const auto& test : cases) {
		EXPECT_EQ(test.added, add_ext(test.path, "lml")) << test.path;
		EXPECT_EQ(test.replaced, reext(test.path, "lml")) << test.path;
		char dest[64];
		reext(test.path, "lml", dest);
		EXPECT_STREQ(test.replaced, dest) << test.path;
	}
}
