#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "SoftSynthTestSupport.h"
#include "SoundFontLocator.h"

using BPrivate::find_sound_font;
using BPrivate::sound_font_folders;

namespace {

// Sets an environment variable for the scope, then restores it.
class ScopedEnvironment {
public:
	ScopedEnvironment(const char* name, const char* value)
		:
		fName(name)
	{
		const char* previous = getenv(name);
		fHadValue = previous != NULL;
		if (fHadValue)
			fPrevious = previous;
		if (value != NULL)
			setenv(name, value, 1);
		else
			unsetenv(name);
	}

	~ScopedEnvironment()
	{
		if (fHadValue)
			setenv(fName.c_str(), fPrevious.c_str(), 1);
		else
			unsetenv(fName.c_str());
	}

private:
	std::string fName;
	std::string fPrevious;
	bool fHadValue;
};


class SoundFontLocatorTest : public testing::Test {
protected:
	std::string Folder(const char* name)
	{
		std::string path = fRoot.File(name);
		std::filesystem::create_directories(path);
		return path;
	}

	std::string Font(const std::string& folder, const char* name)
	{
		std::string path = folder + "/" + name;
		std::ofstream(path) << "RIFF";
		return path;
	}

	TempFolder fRoot;
};

}	// namespace


TEST_F(SoundFontLocatorTest, FoldersFollowTheXdgVariables)
{
	struct Case {
		const char* home;
		const char* dataHome;
		const char* dataDirs;
		std::vector<std::string> folders;
	} cases[] = {
		{"/home/u", NULL, NULL, {"/home/u/.local/share/soundfonts",
			"/home/u/.local/share/sounds/sf2", "/usr/local/share/soundfonts",
			"/usr/local/share/sounds/sf2", "/usr/share/soundfonts",
			"/usr/share/sounds/sf2"}},
		{"/home/u", "/data", "/opt/share:relative:/usr/share/:/opt/share",
			{"/data/soundfonts", "/data/sounds/sf2", "/opt/share/soundfonts",
			"/opt/share/sounds/sf2", "/usr/share//soundfonts",
			"/usr/share//sounds/sf2"}},
		{NULL, "", "", {"/usr/local/share/soundfonts",
			"/usr/local/share/sounds/sf2", "/usr/share/soundfonts",
			"/usr/share/sounds/sf2"}},
	};
	for (const Case& test : cases) {
		ScopedEnvironment home("HOME", test.home);
		ScopedEnvironment dataHome("XDG_DATA_HOME", test.dataHome);
		ScopedEnvironment dataDirs("XDG_DATA_DIRS", test.dataDirs);
		EXPECT_EQ(test.folders, sound_font_folders());
	}
}


TEST_F(SoundFontLocatorTest, TheUsersFolderAndTheDefaultFontComeFirst)
{
	std::string user = Folder("user");
	std::string system = Folder("system");
	std::string empty = Folder("empty");
	Font(system, "default-GM.sf2");
	Font(user, "b.SF2");
	std::string first = Font(user, "a.sf3");
	Font(user, "notes.txt");

	std::string path;
	BString reason;
	ASSERT_EQ(B_OK, find_sound_font(NULL, {empty, user, system}, &path,
		&reason));
	EXPECT_EQ(first, path);

	std::string chosen = Font(user, "default-GM.sf2");
	ASSERT_EQ(B_OK, find_sound_font("", {user, system}, &path, &reason));
	EXPECT_EQ(chosen, path);
}


TEST_F(SoundFontLocatorTest, ARequestedFontWinsOrFails)
{
	std::string folder = Folder("fonts");
	Font(folder, "default-GM.sf2");
	std::string mine = Font(Folder("mine"), "piano.sf2");
	std::string missing = fRoot.File("missing.sf2");

	std::string path;
	BString reason;
	ASSERT_EQ(B_OK, find_sound_font(mine.c_str(), {folder}, &path, &reason));
	EXPECT_EQ(mine, path);

	path = "untouched";
	EXPECT_EQ(B_ENTRY_NOT_FOUND, find_sound_font(missing.c_str(), {folder},
		&path, &reason));
	EXPECT_EQ("untouched", path);
	EXPECT_NE(nullptr, strstr(reason.String(), missing.c_str()))
		<< reason.String();
}


TEST_F(SoundFontLocatorTest, NoFontNamesTheFoldersSearched)
{
	std::string empty = Folder("empty");
	std::string missing = fRoot.File("missing");
	std::string path;
	BString reason;
	EXPECT_EQ(B_ENTRY_NOT_FOUND, find_sound_font(NULL, {empty, missing},
		&path, &reason));
	EXPECT_NE(nullptr, strstr(reason.String(), empty.c_str()));
	EXPECT_NE(nullptr, strstr(reason.String(), missing.c_str()));
}
