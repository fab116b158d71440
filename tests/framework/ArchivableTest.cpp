#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>

#include <PKNArchivable.h>
#include <Entry.h>
#include <File.h>

#include "TempFolder.h"

namespace {

class TSampleRecord : public pelkan::TArchivable {
public:
	bool Archive(BMessage* archive) const override
	{
		if (!TArchivable::Archive(archive))
			return false;
		if (failArchive)
			return false;
		bool ok = archive->AddBool("Flag", flag) == B_OK;
		ok = archive->AddInt32("Count", count) == B_OK && ok;
		ok = archive->AddString("Name", name.c_str()) == B_OK && ok;
		ok = archive->AddRect("Frame", frame) == B_OK && ok;
		return ok;
	}

	bool Unarchive(const BMessage& archive) override
	{
		if (!TArchivable::Unarchive(archive))
			return false;
		bool ok = FindBool(archive, "Flag", &flag) == B_OK;
		ok = FindInt32(archive, "Count", &count) == B_OK && ok;
		ok = FindString(archive, "Name", &name) == B_OK && ok;
		ok = FindRect(archive, "Frame", &frame) == B_OK && ok;
		return ok;
	}

	bool flag = true;
	int32 count = 7;
	std::string name = "default";
	BRect frame = BRect(1, 2, 3, 4);
	bool failArchive = false;
};


class ArchivableTest : public testing::Test {
protected:
	BEntry Entry() const { return BEntry(FilePath().c_str()); }
	std::string FilePath() const { return fFolder / "record.arc"; }

	TempFolder fFolder;
};

}


TEST_F(ArchivableTest, SaveThenLoadReproducesEveryField)
{
	TSampleRecord saved;
	saved.flag = false;
	saved.count = -42;
	saved.name = "名前";
	saved.frame = BRect(10, 20, 300, 400);
	ASSERT_TRUE(saved.Save(Entry()));

	TSampleRecord loaded;
	ASSERT_TRUE(loaded.Load(Entry()));
	EXPECT_FALSE(loaded.flag);
	EXPECT_EQ(-42, loaded.count);
	EXPECT_EQ("名前", loaded.name);
	EXPECT_EQ(BRect(10, 20, 300, 400), loaded.frame);
}


TEST_F(ArchivableTest, MissingFieldKeepsItsDefaultAndTheRestLoad)
{
	BMessage archive;
	archive.AddBool("Flag", false);
	archive.AddString("Name", "from file");
	archive.AddRect("Frame", BRect(5, 6, 7, 8));
	BFile file(FilePath().c_str(), B_WRITE_ONLY | B_CREATE_FILE);
	ASSERT_EQ(B_OK, archive.Flatten(&file));

	TSampleRecord record;
	EXPECT_FALSE(record.Load(Entry()));
	EXPECT_FALSE(record.flag);
	EXPECT_EQ(7, record.count);
	EXPECT_EQ("from file", record.name);
	EXPECT_EQ(BRect(5, 6, 7, 8), record.frame);
}


TEST_F(ArchivableTest, UnreadableFilesChangeNothing)
{
	const std::string contents[] = {
		std::string(),
		std::string("not a flattened message at all"),
		std::string("FOB2\x01\x02", 6),
	};
	for (const std::string& content : contents) {
		write_whole_file(FilePath(), content);
		TSampleRecord record;
		EXPECT_FALSE(record.Load(Entry())) << content.size() << " bytes";
		EXPECT_TRUE(record.flag);
		EXPECT_EQ(7, record.count);
		EXPECT_EQ("default", record.name);
	}
	TSampleRecord record;
	EXPECT_FALSE(record.Load(BEntry((fFolder / "missing.arc").c_str())));
}


TEST_F(ArchivableTest, FindersLeaveTheOutValueOnEveryFailure)
{
	BMessage archive;
	archive.AddString("List", "a");
	archive.AddString("List", "b");
	archive.AddString("List", "c");
	archive.AddInt32("Number", 5);

	pelkan::TArchivable finder;
	std::string text = "kept";
	EXPECT_EQ(B_OK, finder.FindString(archive, "List", 2, &text));
	EXPECT_EQ("c", text);
	text = "kept";
	EXPECT_NE(B_OK, finder.FindString(archive, "List", 3, &text));
	EXPECT_EQ("kept", text);

	bool flag = true;
	EXPECT_NE(B_OK, finder.FindBool(archive, "Number", &flag));
	EXPECT_TRUE(flag);
	int64 wide = 99;
	EXPECT_NE(B_OK, finder.FindInt64(archive, "Number", &wide));
	EXPECT_EQ(99, wide);
	float real = 1.5f;
	EXPECT_NE(B_OK, finder.FindFloat(archive, "Missing", &real));
	EXPECT_EQ(1.5f, real);
	const char* pointer = "kept";
	EXPECT_NE(B_OK, finder.FindString(archive, "Number", &pointer));
	EXPECT_STREQ("kept", pointer);
	const void* data = nullptr;
	ssize_t size = -1;
	EXPECT_NE(B_OK, finder.FindData(archive, "List", B_INT32_TYPE, &data, &size));
	EXPECT_EQ(-1, size);
	EXPECT_EQ(B_OK, finder.FindData(archive, "Number", B_INT32_TYPE, &data, &size));
	EXPECT_EQ(static_cast<ssize_t>(sizeof(int32)), size);
}


TEST_F(ArchivableTest, FailedArchiveKeepsThePreviousFile)
{
	TSampleRecord record;
	ASSERT_TRUE(record.Save(Entry()));
	const std::string before = read_whole_file(FilePath());

	record.failArchive = true;
	EXPECT_FALSE(record.Save(Entry()));
	EXPECT_EQ(before, read_whole_file(FilePath()));
}


TEST_F(ArchivableTest, FailedWriteKeepsThePreviousFile)
{
	TSampleRecord record;
	ASSERT_TRUE(record.Save(Entry()));
	const std::string before = read_whole_file(FilePath());

	// A file-size limit makes the write itself fail, whoever runs the test.
	record.name = std::string(64 * 1024, 'x');
	struct rlimit previous;
	ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &previous));
	struct rlimit limited = previous;
	limited.rlim_cur = 4096;
	auto previousHandler = signal(SIGXFSZ, SIG_IGN);
	ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &limited));
	const bool saved = record.Save(Entry());
	setrlimit(RLIMIT_FSIZE, &previous);
	signal(SIGXFSZ, previousHandler);

	EXPECT_FALSE(saved);
	EXPECT_EQ(before, read_whole_file(FilePath()));
	TSampleRecord loaded;
	EXPECT_TRUE(loaded.Load(Entry()));
	EXPECT_EQ("default", loaded.name);
}
