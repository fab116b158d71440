#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <AppDefs.h>
#include <Entry.h>
#include <File.h>
#include <Files.h>
#include <Message.h>
#include <Node.h>
#include <PathFunctions.h>

#include "TempFolder.h"

namespace fs = std::filesystem;

TEST(FilesTest, SettingsEntryCreatesTheFoldersButNotTheFile)
{
	SettingsHome home;
	BEntry entry;
	ASSERT_TRUE(pelkan::get_entry("VantuMIDI_Prefs.arc", &entry,
		pelkan::BaseDir_Settings, "VantuMIDI"));
	EXPECT_TRUE(fs::is_directory(home.Folder("VantuMIDI")));
	EXPECT_FALSE(entry.Exists());
	BPath path;
	ASSERT_EQ(B_OK, entry.GetPath(&path));
	EXPECT_EQ(home.Folder("VantuMIDI") + "/VantuMIDI_Prefs.arc", path.Path());
}


TEST(FilesTest, SettingsEntryFailsWhenItsFoldersCannotBeMade)
{
	SettingsHome home;
	const fs::path settings = fs::path(home.Folder("VantuMIDI")).parent_path()
		.parent_path();
	// A file where a folder must go stops every user, root included.
	const char* blocked[] = {"PELKAN", "PELKAN/VantuMIDI"};
	for (const char* file : blocked) {
		fs::remove_all(settings / "PELKAN");
		fs::create_directories((settings / file).parent_path());
		write_whole_file(settings / file, "not a folder");

		BEntry entry("/kept");
		EXPECT_FALSE(pelkan::get_entry("VantuMIDI_Prefs.arc", &entry,
			pelkan::BaseDir_Settings, "VantuMIDI")) << file;
		BPath path;
		entry.GetPath(&path);
		EXPECT_STREQ("/kept", path.Path()) << file;
	}
}


TEST(FilesTest, EntryByBaseKind)
{
	TempFolder folder;
	BEntry entry;

	EXPECT_FALSE(pelkan::get_entry("", &entry, pelkan::BaseDir_Settings, "x"));

	ASSERT_TRUE(pelkan::get_entry("/etc/hostname", &entry,
		pelkan::BaseDir_Settings, "ignored"));
	BPath path;
	entry.GetPath(&path);
	EXPECT_STREQ("/etc/hostname", path.Path());

	ASSERT_TRUE(pelkan::get_entry("a.txt", &entry, pelkan::BaseDir_Absolute,
		folder.Path().c_str()));
	entry.GetPath(&path);
	EXPECT_EQ(folder / "a.txt", path.Path());
	EXPECT_FALSE(pelkan::get_entry("a.txt", &entry, pelkan::BaseDir_Absolute,
		(folder / "missing").c_str()));

	ASSERT_TRUE(pelkan::get_entry("VantuMIDI.htm", &entry, pelkan::BaseDir_Exe,
		nullptr));
	entry.GetPath(&path);
	EXPECT_EQ(extract_file_path(pelkan::executable_path()) + "VantuMIDI.htm",
		path.Path());

	BEntry untouched((folder / "kept").c_str());
	EXPECT_TRUE(pelkan::get_entry("x", &untouched, static_cast<pelkan::TBaseDir>(9),
		nullptr));
	untouched.GetPath(&path);
	EXPECT_EQ(folder / "kept", path.Path());
}


TEST(FilesTest, ExecutablePathIsTheRunningImage)
{
	const std::string image = pelkan::executable_path();
	ASSERT_FALSE(image.empty());
	EXPECT_EQ('/', image[0]);
	EXPECT_TRUE(fs::equivalent(image, "/proc/self/exe"));
}


TEST(FilesTest, RefsAndPaths)
{
	TempFolder folder;
	write_whole_file(folder / "song.mid", "x");
	entry_ref folderRef;
	ASSERT_EQ(B_OK, get_ref_for_path(folder.Path().c_str(), &folderRef));

	entry_ref ref;
	ASSERT_EQ(B_OK, pelkan::get_ref(folderRef, "song.mid", &ref));
	EXPECT_EQ(folder / "song.mid", pelkan::path_for_ref(&ref).Path());

	BMessage request(B_SAVE_REQUESTED);
	request.AddRef("directory", &folderRef);
	request.AddString("name", "new list.lml");
	ASSERT_EQ(B_OK, pelkan::get_save_ref(&request, &ref));
	EXPECT_EQ(folder / "new list.lml", pelkan::path_for_ref(&ref).Path());

	EXPECT_TRUE(is_file_exists((folder / "song.mid").c_str()));
	EXPECT_FALSE(is_file_exists((folder / "other.mid").c_str()));
}


TEST(FilesTest, CopyIntoFolderOrOntoFileWithAttributes)
{
	TempFolder folder;
	const std::string source = folder / "loader.so";
	write_whole_file(source, "new contents");
	BNode sourceNode(source.c_str());
	const int32 value = 1234;
	const bool hasAttributes = sourceNode.WriteAttr("Vantu:test", B_INT32_TYPE, 0,
		&value, sizeof(value)) == static_cast<ssize_t>(sizeof(value));

	fs::create_directory(folder / "Loader");
	ASSERT_EQ(B_OK, pelkan::copy_file(source.c_str(), (folder / "Loader").c_str()));
	EXPECT_EQ("new contents", read_whole_file(folder / "Loader/loader.so"));

	write_whole_file(folder / "target", "old, longer contents");
	ASSERT_EQ(B_OK, pelkan::copy_file(source.c_str(), (folder / "target").c_str()));
	EXPECT_EQ("new contents", read_whole_file(folder / "target"));

	if (!hasAttributes)
		GTEST_SKIP() << "the temporary folder's file system has no attributes";
	for (const char* copied : {"Loader/loader.so", "target"}) {
		BNode node((folder / copied).c_str());
		int32 read = 0;
		EXPECT_EQ(static_cast<ssize_t>(sizeof(read)),
			node.ReadAttr("Vantu:test", B_INT32_TYPE, 0, &read, sizeof(read))) << copied;
		EXPECT_EQ(value, read) << copied;
	}
}


TEST(FilesTest, CopyNeverChangesTheFileAReaderHasOpen)
{
	TempFolder folder;
	write_whole_file(folder / "English.vlt", "old text");
	write_whole_file(folder / "new.vlt", "replacement text");

	int fd = open((folder / "English.vlt").c_str(), O_RDONLY);
	ASSERT_GE(fd, 0);
	ASSERT_EQ(B_OK, pelkan::copy_file((folder / "new.vlt").c_str(),
		(folder / "English.vlt").c_str()));
	char buffer[32] = {};
	ssize_t got = pread(fd, buffer, sizeof(buffer) - 1, 0);
	close(fd);
	EXPECT_EQ(std::string("old text"), std::string(buffer, got > 0 ? got : 0));
	EXPECT_EQ("replacement text", read_whole_file(folder / "English.vlt"));
}


TEST(FilesTest, CopyTakesShellCharactersInNamesLiterally)
{
	TempFolder folder;
	const std::string names[] = {
		"quote\"name.vlt",
		"$(touch INJECTED).vlt",
		"`touch INJECTED`.vlt",
		"single'quote; touch INJECTED.vlt",
	};
	for (const std::string& name : names) {
		write_whole_file(folder / name, name);
		const std::string target = folder / ("copy of " + name);
		ASSERT_EQ(B_OK, pelkan::copy_file((folder / name).c_str(), target.c_str()))
			<< name;
		EXPECT_EQ(name, read_whole_file(target));
	}
	EXPECT_FALSE(fs::exists("INJECTED"));
	EXPECT_FALSE(fs::exists(folder / "INJECTED"));
}


TEST(FilesTest, CopyIntoAMissingFolderFails)
{
	TempFolder folder;
	const std::string source = folder / "English.vlt";
	write_whole_file(source, "text");
	write_whole_file(folder / "file", "kept");

	EXPECT_EQ(B_ENTRY_NOT_FOUND, pelkan::copy_file(source.c_str(),
		(folder / "missing/").c_str()));
	EXPECT_FALSE(fs::exists(folder / "missing"));
	EXPECT_EQ(B_NOT_A_DIRECTORY, pelkan::copy_file(source.c_str(),
		(folder / "file/").c_str()));
	EXPECT_EQ("kept", read_whole_file(folder / "file"));

	fs::create_directory(folder / "Language");
	ASSERT_EQ(B_OK, pelkan::copy_file(source.c_str(),
		(folder / "Language/").c_str()));
	EXPECT_EQ("text", read_whole_file(folder / "Language/English.vlt"));
}


TEST(FilesTest, CopyKeepsTheSourceModeForANewFileAndTheTargetsForAnOldOne)
{
	struct {
		mode_t source;
		bool targetExists;
		mode_t target;
		mode_t expected;
	} cases[] = {
		{0755, false, 0, 0755},
		{0600, false, 0, 0600},
		{0644, false, 0, 0644},
		{0755, true, 0600, 0600},
		{0600, true, 0664, 0664},
	};
	for (const auto& test : cases) {
		TempFolder folder;
		const std::string source = folder / "loader.so";
		const std::string target = folder / "copy.so";
		write_whole_file(source, "code");
		ASSERT_EQ(0, chmod(source.c_str(), test.source));
		if (test.targetExists) {
			write_whole_file(target, "old");
			ASSERT_EQ(0, chmod(target.c_str(), test.target));
		}
		ASSERT_EQ(B_OK, pelkan::copy_file(source.c_str(), target.c_str()));
		struct stat info;
		ASSERT_EQ(0, stat(target.c_str(), &info));
		EXPECT_EQ(test.expected, info.st_mode & 07777)
			<< std::oct << test.source << " onto " << test.target;
	}
}


TEST(FilesTest, CopyKeepsOtherProgramsAttributesByteForByte)
{
	TempFolder folder;
	const std::string source = folder / "song.mid";
	write_whole_file(source, "MThd");
	const std::string values[] = {"", "a", "ab", "abc", "abcd", "hello world",
		std::string("\0\x01\xff", 3)};
	for (size_t i = 0; i < std::size(values); i++) {
		const std::string name = "user.other" + std::to_string(i);
		if (setxattr(source.c_str(), name.c_str(), values[i].data(),
				values[i].size(), 0) != 0) {
			GTEST_SKIP() << "the temporary folder's file system has no attributes";
		}
	}
	// One written through the layer, too short for its own type code.
	BNode(source.c_str()).WriteAttr("Vantu:raw", B_RAW_TYPE, 0, "q", 1);

	const std::string target = folder / "copy.mid";
	ASSERT_EQ(B_OK, pelkan::copy_file(source.c_str(), target.c_str()));
	for (size_t i = 0; i < std::size(values); i++) {
		const std::string name = "user.other" + std::to_string(i);
		char buffer[64];
		ssize_t length = getxattr(target.c_str(), name.c_str(), buffer,
			sizeof(buffer));
		ASSERT_GE(length, 0) << name;
		EXPECT_EQ(values[i], std::string(buffer, length)) << name;
	}
	char raw[8] = {};
	attr_info info;
	BNode copied(target.c_str());
	ASSERT_EQ(B_OK, copied.GetAttrInfo("Vantu:raw", &info));
	EXPECT_EQ(static_cast<uint32>(B_RAW_TYPE), info.type);
	EXPECT_EQ(1, copied.ReadAttr("Vantu:raw", B_RAW_TYPE, 0, raw, sizeof(raw)));
	EXPECT_STREQ("q", raw);
}


TEST(FilesTest, CopyOfAMissingSourceLeavesTheTarget)
{
	TempFolder folder;
	write_whole_file(folder / "target", "kept");
	EXPECT_NE(B_OK, pelkan::copy_file((folder / "missing").c_str(),
		(folder / "target").c_str()));
	EXPECT_EQ("kept", read_whole_file(folder / "target"));
}
