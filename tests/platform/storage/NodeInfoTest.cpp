#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>

#include <File.h>
#include <Message.h>
#include <MimeType.h>
#include <NodeInfo.h>

#include "StorageTestSupport.h"

namespace {

std::string type_of(const std::string& path)
{
	BNode node(path.c_str());
	BNodeInfo info(&node);
	char type[B_MIME_TYPE_LENGTH];
	if (info.GetType(type) != B_OK)
		return "<none>";
	return type;
}


class NodeInfoTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
	}

	TempFolder fTemp;
	ScopedEnvironment fDataHome{"XDG_DATA_HOME", (fTemp / "data").c_str()};
};

} // namespace


TEST_F(NodeInfoTest, TypeFromTheExtensionWhenNoAttributeSaysIt)
{
	struct Case {
		const char* name;
		const char* type;
	} cases[] = {
		{"song.mid", "audio/x-midi"},
		{"SONG.MID", "audio/x-midi"},
		{"karaoke.kar", "audio/x-midi"},
		{"song.midi", "audio/x-midi"},
		{"song.smf", "audio/x-midi"},
		{"page.htm", "text/html"},
		{"notes.txt", "text/plain"},
		{"archive.unknown", "<none>"},
		{"no-extension", "<none>"},
		{"trailing.", "<none>"},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		write_file(fTemp / test.name, "");
		EXPECT_EQ(test.type, type_of(fTemp / test.name));
	}
	mkdir((fTemp / "folder.mid").c_str(), 0755);
	EXPECT_EQ("application/x-vnd.Be-directory", type_of(fTemp / "folder.mid"));
}


TEST_F(NodeInfoTest, InstalledExtensionsComeBeforeTheBuiltInTable)
{
	BMimeType playlist("text/x-vnd.Test-PlayList");
	BMessage extensions;
	extensions.AddString("extensions", "lml");
	extensions.AddString("extensions", "mid");
	ASSERT_EQ(B_OK, playlist.SetFileExtensions(&extensions));
	write_file(fTemp / "list.LML", "");
	write_file(fTemp / "song.mid", "");
	EXPECT_EQ("text/x-vnd.Test-PlayList", type_of(fTemp / "list.LML"));
	EXPECT_EQ("text/x-vnd.Test-PlayList", type_of(fTemp / "song.mid"));
}


TEST_F(NodeInfoTest, TypeAttributeWins)
{
	if (!xattrs_supported(fTemp.Path()))
		GTEST_SKIP() << "the temp folder's file system refuses user xattrs";
	write_file(fTemp / "list.txt", "");
	BFile file((fTemp / "list.txt").c_str(), B_READ_WRITE);
	BNodeInfo info(&file);
	ASSERT_EQ(B_OK, info.SetType("text/x-vnd.Test-PlayList"));
	EXPECT_EQ("text/x-vnd.Test-PlayList", type_of(fTemp / "list.txt"));
	char raw[64] = {};
	EXPECT_EQ(24, getxattr((fTemp / "list.txt").c_str(), "user.mime_type", raw,
		sizeof(raw)));

	EXPECT_EQ(B_BAD_VALUE, info.SetType("not a type"));
	ASSERT_EQ(B_OK, info.SetType(nullptr));
	EXPECT_EQ("text/plain", type_of(fTemp / "list.txt"));
	EXPECT_EQ(B_OK, info.SetType(nullptr));
}


TEST_F(NodeInfoTest, SettingATypeWithoutAttributesFailsQuietly)
{
	const char* path = "/proc/self/comm";
	if (setxattr(path, "user.probe", "1", 1, 0) == 0 || errno != ENOTSUP)
		GTEST_SKIP() << "procfs unexpectedly takes user xattrs";
	BNode node(path);
	BNodeInfo info(&node);
	EXPECT_EQ(B_UNSUPPORTED, info.SetType("text/plain"));
	char type[B_MIME_TYPE_LENGTH];
	EXPECT_EQ(B_ENTRY_NOT_FOUND, info.GetType(type));
}


TEST_F(NodeInfoTest, NeedsAnOpenNode)
{
	BNode missing((fTemp / "missing").c_str());
	BNodeInfo info(&missing);
	EXPECT_EQ(B_ENTRY_NOT_FOUND, info.InitCheck());
	EXPECT_EQ(B_BAD_VALUE, BNodeInfo(nullptr).InitCheck());
	EXPECT_EQ(B_NO_INIT, BNodeInfo().InitCheck());
	char type[B_MIME_TYPE_LENGTH];
	EXPECT_EQ(B_NO_INIT, BNodeInfo().GetType(type));
}
