#include <gtest/gtest.h>

#include <FindDirectory.h>
#include <Path.h>

#include "StorageTestSupport.h"

TEST(FindDirectoryTest, FoldersFollowTheEnvironment)
{
	TempFolder temp;
	ScopedEnvironment home("HOME", temp.Path().c_str());
	struct Case {
		const char* configHome;
		directory_which which;
		std::string expected;
	} cases[] = {
		{nullptr, B_USER_SETTINGS_DIRECTORY, temp / ".config"},
		{"/somewhere/config", B_USER_SETTINGS_DIRECTORY, "/somewhere/config"},
		{"relative/config", B_USER_SETTINGS_DIRECTORY, temp / ".config"},
		{"", B_USER_SETTINGS_DIRECTORY, temp / ".config"},
		{nullptr, B_USER_DIRECTORY, temp.Path()},
		{nullptr, B_USER_CONFIG_DIRECTORY, temp / ".config"},
		{nullptr, B_DESKTOP_DIRECTORY, temp / "Desktop"},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.configHome ? test.configHome : "(unset)");
		ScopedEnvironment config("XDG_CONFIG_HOME", test.configHome);
		BPath path;
		ASSERT_EQ(B_OK, find_directory(test.which, &path));
		EXPECT_EQ(test.expected, path.Path());
	}
	BPath path;
	EXPECT_EQ(B_BAD_VALUE, find_directory((directory_which)12345, &path));
	EXPECT_EQ(B_BAD_VALUE, find_directory(B_USER_DIRECTORY, nullptr));
}


TEST(FindDirectoryTest, CreatesOnRequest)
{
	TempFolder temp;
	ScopedEnvironment config("XDG_CONFIG_HOME", (temp / "a/b").c_str());
	BPath path;
	ASSERT_EQ(B_OK, find_directory(B_USER_SETTINGS_DIRECTORY, &path));
	EXPECT_FALSE(std::filesystem::exists(temp / "a/b"));
	ASSERT_EQ(B_OK, find_directory(B_USER_SETTINGS_DIRECTORY, &path, true));
	EXPECT_TRUE(std::filesystem::is_directory(temp / "a/b"));

	write_file(temp / "file", "");
	ScopedEnvironment blocked("XDG_CONFIG_HOME", (temp / "file").c_str());
	EXPECT_EQ(B_NOT_A_DIRECTORY,
		find_directory(B_USER_SETTINGS_DIRECTORY, &path, true));
	EXPECT_EQ(B_NO_INIT, path.InitCheck());
}
