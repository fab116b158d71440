#include <gtest/gtest.h>

#include <sys/xattr.h>

#include <Node.h>
#include <TypeConstants.h>

#include "StorageTestSupport.h"

namespace {

class NodeAttributeTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
		if (!xattrs_supported(fTemp.Path()))
			GTEST_SKIP() << "the temp folder's file system refuses user xattrs";
		write_file(fTemp / "file", "content");
		ASSERT_EQ(B_OK, fNode.SetTo((fTemp / "file").c_str()));
	}

	std::string RawXattr(const char* name)
	{
		char buffer[256];
		ssize_t length = getxattr((fTemp / "file").c_str(), name, buffer,
			sizeof(buffer));
		return length < 0 ? std::string("<none>") : std::string(buffer, length);
	}

	std::vector<std::string> Names()
	{
		std::vector<std::string> names;
		char name[B_ATTR_NAME_LENGTH];
		fNode.RewindAttrs();
		while (fNode.GetNextAttrName(name) == B_OK)
			names.push_back(name);
		std::sort(names.begin(), names.end());
		return names;
	}

	TempFolder fTemp;
	BNode fNode;
};

} // namespace


TEST_F(NodeAttributeTest, TypedValuesRoundTrip)
{
	int32 number = 0x01020304;
	ASSERT_EQ(4, fNode.WriteAttr("Vantu:number", B_INT32_TYPE, 0, &number, 4));
	ASSERT_EQ(6, fNode.WriteAttr("Vantu:text", B_STRING_TYPE, 0, "hello", 6));

	attr_info info;
	ASSERT_EQ(B_OK, fNode.GetAttrInfo("Vantu:number", &info));
	EXPECT_EQ((uint32)B_INT32_TYPE, info.type);
	EXPECT_EQ(4, info.size);
	int32 readBack = 0;
	EXPECT_EQ(4, fNode.ReadAttr("Vantu:number", B_INT32_TYPE, 0, &readBack, 4));
	EXPECT_EQ(number, readBack);

	char text[16] = {};
	EXPECT_EQ(4, fNode.ReadAttr("Vantu:text", B_STRING_TYPE, 2, text, sizeof(text)));
	EXPECT_STREQ("llo", text);
	EXPECT_EQ(0, fNode.ReadAttr("Vantu:text", B_STRING_TYPE, 10, text, 4));
	// The stored form: the type code's characters, then the data.
	EXPECT_EQ(std::string("CSTRhello\0", 10), RawXattr("user.Vantu:text"));

	EXPECT_EQ(B_ENTRY_NOT_FOUND, fNode.ReadAttr("missing", B_ANY_TYPE, 0, text, 4));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, fNode.GetAttrInfo("missing", &info));
}


TEST_F(NodeAttributeTest, WritingAtAnOffsetKeepsTheStart)
{
	ASSERT_EQ(6, fNode.WriteAttr("a", B_RAW_TYPE, 0, "abcdef", 6));
	ASSERT_EQ(2, fNode.WriteAttr("a", B_RAW_TYPE, 2, "XY", 2));
	ASSERT_EQ(2, fNode.WriteAttr("a", B_RAW_TYPE, 8, "ZZ", 2));
	char buffer[16];
	ASSERT_EQ(10, fNode.ReadAttr("a", B_RAW_TYPE, 0, buffer, sizeof(buffer)));
	EXPECT_EQ(std::string("abXYef\0\0ZZ", 10), std::string(buffer, 10));
	ASSERT_EQ(1, fNode.WriteAttr("a", B_RAW_TYPE, 0, "q", 1));
	EXPECT_EQ(1, fNode.ReadAttr("a", B_RAW_TYPE, 0, buffer, sizeof(buffer)));
}


TEST_F(NodeAttributeTest, ShortRawValuesAreStoredBare)
{
	struct {
		const char* stored;
		type_code type;
		const char* data;
		size_t length;
		std::string raw;
	} cases[] = {
		{"empty", B_RAW_TYPE, "", 0, ""},
		{"short", B_RAW_TYPE, "ab", 2, "ab"},
		{"three", B_RAW_TYPE, "abc", 3, "abc"},
		{"long", B_RAW_TYPE, "abcd", 4, "RAWTabcd"},
		{"typed", B_STRING_TYPE, "a", 2, std::string("CSTRa\0", 6)},
	};
	for (const auto& test : cases) {
		ASSERT_EQ(static_cast<ssize_t>(test.length),
			fNode.WriteAttr(test.stored, test.type, 0, test.data, test.length));
		EXPECT_EQ(test.raw, RawXattr(("user." + std::string(test.stored)).c_str()))
			<< test.stored;
		attr_info info;
		ASSERT_EQ(B_OK, fNode.GetAttrInfo(test.stored, &info));
		EXPECT_EQ(test.type, info.type) << test.stored;
		EXPECT_EQ(static_cast<off_t>(test.length), info.size) << test.stored;
	}
}


TEST_F(NodeAttributeTest, TypeAttributeIsTheSharedMimeInfoOne)
{
	const char type[] = "audio/x-midi";
	ASSERT_EQ((ssize_t)sizeof(type), fNode.WriteAttr("BEOS:TYPE", 'MIMS', 0,
		type, sizeof(type)));
	EXPECT_EQ("audio/x-midi", RawXattr("user.mime_type"));

	ASSERT_EQ(0, setxattr((fTemp / "file").c_str(), "user.mime_type",
		"text/plain", 10, 0));
	attr_info info;
	ASSERT_EQ(B_OK, fNode.GetAttrInfo("BEOS:TYPE", &info));
	EXPECT_EQ((uint32)'MIMS', info.type);
	EXPECT_EQ(11, info.size);
	char buffer[32];
	EXPECT_EQ(11, fNode.ReadAttr("BEOS:TYPE", 'MIMS', 0, buffer, sizeof(buffer)));
	EXPECT_STREQ("text/plain", buffer);
}


TEST_F(NodeAttributeTest, EnumerationShowsUserAttributesOnly)
{
	EXPECT_TRUE(Names().empty());
	fNode.WriteAttr("one", B_INT8_TYPE, 0, "1", 1);
	fNode.WriteAttr("two", B_INT8_TYPE, 0, "2", 1);
	setxattr((fTemp / "file").c_str(), "user.mime_type", "text/plain", 10, 0);
	// Written by another program, without a type prefix.
	setxattr((fTemp / "file").c_str(), "user.xy", "ab", 2, 0);
	EXPECT_EQ((std::vector<std::string>{"BEOS:TYPE", "one", "two", "xy"}), Names());

	attr_info info;
	ASSERT_EQ(B_OK, fNode.GetAttrInfo("xy", &info));
	EXPECT_EQ((uint32)B_RAW_TYPE, info.type);
	EXPECT_EQ(2, info.size);

	EXPECT_EQ(B_OK, fNode.RemoveAttr("one"));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, fNode.RemoveAttr("one"));
	EXPECT_EQ((std::vector<std::string>{"BEOS:TYPE", "two", "xy"}), Names());
}


TEST_F(NodeAttributeTest, NodeWithoutReadAccessStillOpens)
{
	if (geteuid() == 0)
		GTEST_SKIP() << "root reads every file";
	// Attributes follow the file's own permissions: writable, not readable.
	chmod((fTemp / "file").c_str(), 0200);
	BNode node((fTemp / "file").c_str());
	ASSERT_EQ(B_OK, node.InitCheck());
	struct stat st;
	EXPECT_EQ(B_OK, node.GetStat(&st));
	EXPECT_EQ(1, node.WriteAttr("a", B_RAW_TYPE, 0, "x", 1));
	char c;
	EXPECT_EQ(B_PERMISSION_DENIED, node.ReadAttr("a", B_RAW_TYPE, 0, &c, 1));
}


TEST(NodeTest, NodeIdentityAndStat)
{
	TempFolder temp;
	write_file(temp / "file", "12345");
	BNode node((temp / "file").c_str());
	ASSERT_EQ(B_OK, node.InitCheck());
	struct stat st;
	ASSERT_EQ(B_OK, node.GetStat(&st));
	EXPECT_EQ(5, st.st_size);
	BNode copy(node);
	EXPECT_EQ(node, copy);
	EXPECT_NE(node, BNode(temp.Path().c_str()));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, BNode((temp / "missing").c_str()).InitCheck());
	char name[B_ATTR_NAME_LENGTH];
	BNode unset;
	EXPECT_EQ(B_NO_INIT, unset.GetNextAttrName(name));
	EXPECT_EQ(B_NO_INIT, unset.WriteAttr("a", B_RAW_TYPE, 0, "x", 1));
}


TEST(NodeTest, FileSystemWithoutAttributesIsNotAnError)
{
	// procfs takes no user extended attributes.
	const char* path = "/proc/self/comm";
	if (setxattr(path, "user.probe", "1", 1, 0) == 0 || errno != ENOTSUP)
		GTEST_SKIP() << "procfs unexpectedly takes user xattrs";
	BNode node(path);
	ASSERT_EQ(B_OK, node.InitCheck());
	char buffer[8];
	attr_info info;
	EXPECT_EQ(B_ENTRY_NOT_FOUND, node.ReadAttr("a", B_RAW_TYPE, 0, buffer, 8));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, node.GetAttrInfo("a", &info));
	EXPECT_EQ(B_UNSUPPORTED, node.WriteAttr("a", B_RAW_TYPE, 0, "x", 1));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, node.RemoveAttr("a"));
	char name[B_ATTR_NAME_LENGTH];
	EXPECT_EQ(B_ENTRY_NOT_FOUND, node.GetNextAttrName(name));
}
