#include <gtest/gtest.h>

#include <sys/stat.h>

#include <Directory.h>
#include <Entry.h>
#include <File.h>

#include "StorageTestSupport.h"

namespace {

class FileTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
		write_file(fTemp / "existing", "old content");
		mkdir((fTemp / "folder").c_str(), 0755);
	}

	TempFolder fTemp;
};


// A file class of the program's kind: a BFile with line reading on top.
class LineFile : public BFile {
public:
	LineFile(const char* path)
		:
		BFile(path, B_READ_ONLY)
	{
	}

	bool ReadLine(std::string* line)
	{
		line->clear();
		char c;
		while (Read(&c, 1) == 1) {
			if (c == '\n')
				return true;
			*line += c;
		}
		return !line->empty();
	}
};

} // namespace


TEST_F(FileTest, OpenModes)
{
	struct Case {
		const char* name;
		uint32 mode;
		status_t status;
		const char* contentAfterWrite;
	} cases[] = {
		{"existing", B_READ_ONLY, B_OK, "old content"},
		{"missing", B_READ_ONLY, B_ENTRY_NOT_FOUND, nullptr},
		{"missing", B_WRITE_ONLY | B_CREATE_FILE, B_OK, "new"},
		{"existing", B_WRITE_ONLY, B_OK, "new content"},
		{"existing", B_WRITE_ONLY | B_ERASE_FILE, B_OK, "new"},
		{"existing", B_READ_WRITE | B_OPEN_AT_END, B_OK, "old contentnew"},
		{"existing", B_WRITE_ONLY | B_CREATE_FILE | B_FAIL_IF_EXISTS,
			B_FILE_EXISTS, nullptr},
		{"missing/deeper", B_WRITE_ONLY | B_CREATE_FILE, B_ENTRY_NOT_FOUND,
			nullptr},
		{"folder", B_WRITE_ONLY, B_IS_A_DIRECTORY, nullptr},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(std::string(test.name) + " mode " + std::to_string(test.mode));
		write_file(fTemp / "existing", "old content");
		std::filesystem::remove(fTemp / "missing");
		BFile file((fTemp / test.name).c_str(), test.mode);
		ASSERT_EQ(test.status, file.InitCheck());
		if (test.status != B_OK)
			continue;
		if (file.IsWritable())
			EXPECT_EQ(3, file.Write("new", 3));
		else
			EXPECT_LT(file.Write("new", 3), 0);
		file.Unset();
		EXPECT_EQ(test.contentAfterWrite, read_file(fTemp / test.name));
	}
}


TEST_F(FileTest, EveryConstructorOpensTheSameFile)
{
	entry_ref ref;
	ASSERT_EQ(B_OK, get_ref_for_path((fTemp / "existing").c_str(), &ref));
	BEntry entry(&ref);
	BDirectory folder(fTemp.Path().c_str());
	BFile byRef(&ref, B_READ_ONLY);
	BFile byEntry(&entry, B_READ_ONLY);
	BFile byFolder(&folder, "existing", B_READ_ONLY);
	for (BFile* file : {&byRef, &byEntry, &byFolder}) {
		ASSERT_EQ(B_OK, file->InitCheck());
		char buffer[32] = {};
		EXPECT_EQ(11, file->Read(buffer, sizeof(buffer)));
		EXPECT_STREQ("old content", buffer);
	}
	EXPECT_EQ(B_BAD_VALUE, BFile(&folder, nullptr, B_READ_ONLY).InitCheck());
	EXPECT_EQ(B_BAD_VALUE, BFile((const entry_ref*)nullptr, B_READ_ONLY).InitCheck());
}


TEST_F(FileTest, FolderOpensButReadsNothing)
{
	BFile file((fTemp / "folder").c_str(), B_READ_ONLY);
	ASSERT_EQ(B_OK, file.InitCheck());
	char buffer[16];
	EXPECT_EQ(B_IS_A_DIRECTORY, file.Read(buffer, sizeof(buffer)));
	EXPECT_EQ(B_IS_A_DIRECTORY, file.ReadAt(0, buffer, sizeof(buffer)));
	std::string line;
	LineFile lines((fTemp / "folder").c_str());
	EXPECT_FALSE(lines.ReadLine(&line));
}


TEST_F(FileTest, PositionSeekAndSize)
{
	BFile file((fTemp / "data").c_str(), B_READ_WRITE | B_CREATE_FILE);
	ASSERT_EQ(B_OK, file.InitCheck());
	EXPECT_EQ(6, file.Write("abcdef", 6));
	EXPECT_EQ(6, file.Position());
	off_t size = 0;
	ASSERT_EQ(B_OK, file.GetSize(&size));
	EXPECT_EQ(6, size);

	EXPECT_EQ(2, file.Seek(2, SEEK_SET));
	char buffer[8] = {};
	EXPECT_EQ(4, file.Read(buffer, sizeof(buffer)));
	EXPECT_STREQ("cdef", buffer);
	EXPECT_EQ(0, file.Read(buffer, sizeof(buffer)));

	EXPECT_EQ(2, file.WriteAt(1, "XY", 2));
	EXPECT_EQ(6, file.Position());
	EXPECT_EQ(3, file.ReadAt(0, buffer, 3));
	EXPECT_EQ("aXY", std::string(buffer, 3));

	ASSERT_EQ(B_OK, file.SetSize(3));
	ASSERT_EQ(B_OK, file.GetSize(&size));
	EXPECT_EQ(3, size);
	EXPECT_EQ(B_BAD_VALUE, file.ReadAt(-1, buffer, 1));
}


TEST_F(FileTest, ReadOnlyRefusesWritesAndCopiesShareTheFile)
{
	BFile file((fTemp / "existing").c_str(), B_READ_ONLY);
	ASSERT_TRUE(file.IsReadable());
	EXPECT_FALSE(file.IsWritable());
	EXPECT_LT(file.Write("x", 1), 0);
	EXPECT_LT(file.SetSize(0), 0);
	EXPECT_EQ("old content", read_file(fTemp / "existing"));

	BFile copy(file);
	EXPECT_EQ(B_OK, copy.InitCheck());
	EXPECT_FALSE(copy.IsWritable());
	char buffer[3];
	EXPECT_EQ(3, copy.ReadAt(0, buffer, 3));

	file.Unset();
	EXPECT_EQ(B_NO_INIT, file.InitCheck());
	EXPECT_EQ(B_NO_INIT, file.Read(buffer, 1));
	EXPECT_FALSE(file.IsReadable());
}


TEST_F(FileTest, SubclassReadsLines)
{
	write_file(fTemp / "lines", "first\nsecond\nlast");
	LineFile file((fTemp / "lines").c_str());
	std::string line;
	std::vector<std::string> lines;
	while (file.ReadLine(&line))
		lines.push_back(line);
	EXPECT_EQ((std::vector<std::string>{"first", "second", "last"}), lines);
}
