#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <AtomicFile.h>
#include <Message.h>
#include <NodeInfo.h>

#include "StorageTestSupport.h"

namespace {

class AtomicFileTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
		write_file(Target(), "old");
	}

	std::string Target() const { return fTemp / "settings"; }

	// Nothing but the target: no temporary file left behind.
	std::vector<std::string> Entries() const
	{
		std::vector<std::string> names;
		for (const auto& entry : std::filesystem::directory_iterator(fTemp.Path()))
			names.push_back(entry.path().filename().string());
		std::sort(names.begin(), names.end());
		return names;
	}

	TempFolder fTemp;
};


// Keeps writes beyond a size failing for the lifetime of the object.
class FileSizeLimit {
public:
	FileSizeLimit(rlim_t bytes)
	{
		getrlimit(RLIMIT_FSIZE, &fOld);
		fOldHandler = signal(SIGXFSZ, SIG_IGN);
		rlimit limit = {bytes, fOld.rlim_max};
		setrlimit(RLIMIT_FSIZE, &limit);
	}

	~FileSizeLimit()
	{
		setrlimit(RLIMIT_FSIZE, &fOld);
		signal(SIGXFSZ, fOldHandler);
	}

private:
	rlimit fOld;
	sighandler_t fOldHandler;
};

} // namespace


TEST_F(AtomicFileTest, CommitReplacesTheFile)
{
	BAtomicFile file(Target().c_str());
	ASSERT_EQ(B_OK, file.InitCheck());
	EXPECT_EQ(3, file.Write("new", 3));
	EXPECT_EQ("old", read_file(Target()));
	ASSERT_EQ(B_OK, file.Commit());
	EXPECT_EQ("new", read_file(Target()));
	EXPECT_EQ((std::vector<std::string>{"settings"}), Entries());
	EXPECT_EQ(B_NOT_ALLOWED, file.Commit());
}


TEST_F(AtomicFileTest, OldFileSurvivesEveryFailure)
{
	{
		BAtomicFile dropped(Target().c_str());
		dropped.Write("half", 4);
	}
	EXPECT_EQ("old", read_file(Target()));
	EXPECT_EQ((std::vector<std::string>{"settings"}), Entries());

	{
		BAtomicFile unset(Target().c_str());
		unset.Write("half", 4);
		unset.Unset();
		EXPECT_EQ(B_NO_INIT, unset.Commit());
	}
	EXPECT_EQ("old", read_file(Target()));

	BAtomicFile full(Target().c_str());
	ASSERT_EQ(B_OK, full.InitCheck());
	{
		FileSizeLimit limit(1024);
		std::string block(4096, 'x');
		full.Write(block.data(), block.size());
	}
	EXPECT_NE(B_OK, full.Commit());
	EXPECT_EQ("old", read_file(Target()));
	EXPECT_EQ((std::vector<std::string>{"settings"}), Entries());
}


TEST_F(AtomicFileTest, MissingFolderOrProtectedFileIsRefused)
{
	EXPECT_EQ(B_ENTRY_NOT_FOUND,
		BAtomicFile((fTemp / "missing/settings").c_str()).InitCheck());
	if (geteuid() == 0)
		GTEST_SKIP() << "root writes everywhere";
	chmod(Target().c_str(), 0444);
	EXPECT_EQ(B_PERMISSION_DENIED, BAtomicFile(Target().c_str()).InitCheck());
	chmod(Target().c_str(), 0644);
	chmod(fTemp.Path().c_str(), 0555);
	EXPECT_EQ(B_PERMISSION_DENIED, BAtomicFile(Target().c_str()).InitCheck());
	chmod(fTemp.Path().c_str(), 0755);
	EXPECT_EQ("old", read_file(Target()));
}


TEST_F(AtomicFileTest, KeepsPermissionsAndFollowsLinks)
{
	chmod(Target().c_str(), 0640);
	symlink("settings", (fTemp / "link").c_str());
	ASSERT_EQ(B_OK, BAtomicFile::Replace((fTemp / "link").c_str(), "via link", 8));
	EXPECT_EQ("via link", read_file(Target()));
	struct stat st;
	ASSERT_EQ(0, lstat((fTemp / "link").c_str(), &st));
	EXPECT_TRUE(S_ISLNK(st.st_mode));
	ASSERT_EQ(0, stat(Target().c_str(), &st));
	EXPECT_EQ(0640u, st.st_mode & 0777);

	// A new file gets the usual permissions.
	ASSERT_EQ(B_OK, BAtomicFile::Replace((fTemp / "fresh").c_str(), "", 0));
	mode_t mask = umask(022);
	umask(mask);
	ASSERT_EQ(0, stat((fTemp / "fresh").c_str(), &st));
	EXPECT_EQ(0666 & ~mask, st.st_mode & 0777);
	EXPECT_EQ("", read_file(fTemp / "fresh"));
}


TEST_F(AtomicFileTest, PermissionsSetForANewFileYieldToAReplacedOnes)
{
	chmod(Target().c_str(), 0640);
	struct {
		std::string path;
		mode_t expected;
	} cases[] = {
		{fTemp / "fresh", 0750},
		{Target(), 0640},
	};
	for (const auto& test : cases) {
		BAtomicFile file(test.path.c_str());
		ASSERT_EQ(B_OK, file.SetPermissions(0750));
		ASSERT_EQ(B_OK, file.Commit());
		EXPECT_EQ(B_NOT_ALLOWED, file.SetPermissions(0700));
		struct stat st;
		ASSERT_EQ(0, stat(test.path.c_str(), &st));
		EXPECT_EQ(test.expected, st.st_mode & 07777) << test.path;
	}
	BAtomicFile unset;
	EXPECT_NE(B_OK, unset.SetPermissions(0700));
}


TEST_F(AtomicFileTest, AttributesOfTheOldFileCarryOver)
{
	if (!xattrs_supported(fTemp.Path()))
		GTEST_SKIP() << "the temp folder's file system refuses user xattrs";
	setxattr(Target().c_str(), "user.mime_type", "text/x-old", 10, 0);
	setxattr(Target().c_str(), "user.kept", "CSTRk", 5, 0);

	BAtomicFile file(Target().c_str());
	BNodeInfo info(&file);
	ASSERT_EQ(B_OK, info.SetType("text/x-new"));
	file.Write("new", 3);
	ASSERT_EQ(B_OK, file.Commit());

	char value[32];
	ssize_t length = getxattr(Target().c_str(), "user.mime_type", value, sizeof(value));
	EXPECT_EQ("text/x-new", std::string(value, std::max<ssize_t>(length, 0)));
	length = getxattr(Target().c_str(), "user.kept", value, sizeof(value));
	EXPECT_EQ("CSTRk", std::string(value, std::max<ssize_t>(length, 0)));

	// After the commit the object is the target, e.g. to type it.
	ASSERT_EQ(B_OK, info.SetType("text/x-later"));
	length = getxattr(Target().c_str(), "user.mime_type", value, sizeof(value));
	EXPECT_EQ("text/x-later", std::string(value, std::max<ssize_t>(length, 0)));
}


TEST_F(AtomicFileTest, FlattenedMessageGoesThroughTheStream)
{
	BMessage settings('stng');
	settings.AddString("name", "value");
	BAtomicFile file(Target().c_str());
	ASSERT_EQ(B_OK, settings.Flatten(&file));
	ASSERT_EQ(B_OK, file.Commit());

	std::string flat = read_file(Target());
	BMessage readBack;
	ASSERT_EQ(B_OK, readBack.Unflatten(flat.data(), flat.size()));
	EXPECT_EQ((uint32)'stng', readBack.what);
	EXPECT_STREQ("value", readBack.FindString("name"));
}
