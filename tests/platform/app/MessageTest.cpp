#include <Message.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <EntryRef.h>
#include <GraphicsDefs.h>
#include <Messenger.h>
#include <String.h>

#include "MessagePrivate.h"

namespace {

TEST(MessageTest, NewMessageIsEmptyWithItsCode)
{
	BMessage plain;
	EXPECT_EQ(plain.what, 0u);
	EXPECT_TRUE(plain.IsEmpty());
	EXPECT_EQ(plain.CountNames(B_ANY_TYPE), 0);
	EXPECT_FALSE(plain.WasDropped());

	BMessage coded('abcd');
	EXPECT_EQ(coded.what, (uint32)'abcd');
}


TEST(MessageTest, EveryTypeComesBackInOrder)
{
	int anchor = 0;
	BMessage nested('nest');
	nested.AddInt32("inner", 7);
	rgb_color color = make_color(1, 2, 3, 4);

	BMessage message;
	ASSERT_EQ(message.AddBool("bool", true), B_OK);
	ASSERT_EQ(message.AddBool("bool", false), B_OK);
	ASSERT_EQ(message.AddInt8("int8", -8), B_OK);
	ASSERT_EQ(message.AddInt16("int16", -16000), B_OK);
	ASSERT_EQ(message.AddInt32("int32", 1), B_OK);
	ASSERT_EQ(message.AddInt32("int32", 2), B_OK);
	ASSERT_EQ(message.AddInt32("int32", 3), B_OK);
	ASSERT_EQ(message.AddInt64("int64", INT64_MIN), B_OK);
	ASSERT_EQ(message.AddFloat("float", 1.5f), B_OK);
	ASSERT_EQ(message.AddDouble("double", -2.25), B_OK);
	ASSERT_EQ(message.AddString("string", "first"), B_OK);
	ASSERT_EQ(message.AddString("string", BString("second")), B_OK);
	ASSERT_EQ(message.AddPoint("point", BPoint(3, 4)), B_OK);
	ASSERT_EQ(message.AddRect("rect", BRect(1, 2, 3, 4)), B_OK);
	ASSERT_EQ(message.AddPointer("pointer", &anchor), B_OK);
	ASSERT_EQ(message.AddMessage("message", &nested), B_OK);
	ASSERT_EQ(message.AddData("color", B_RGB_COLOR_TYPE, &color, sizeof(color)), B_OK);

	bool boolValue = false;
	EXPECT_EQ(message.FindBool("bool", 0, &boolValue), B_OK);
	EXPECT_TRUE(boolValue);
	EXPECT_FALSE(message.FindBool("bool", 1));
	EXPECT_EQ(message.FindInt8("int8"), -8);
	EXPECT_EQ(message.FindInt16("int16"), -16000);
	for (int32 i = 0; i < 3; i++)
		EXPECT_EQ(message.FindInt32("int32", i), i + 1);
	EXPECT_EQ(message.FindInt64("int64"), INT64_MIN);
	EXPECT_EQ(message.FindFloat("float"), 1.5f);
	EXPECT_EQ(message.FindDouble("double"), -2.25);
	EXPECT_STREQ(message.FindString("string", 0), "first");
	BString second;
	EXPECT_EQ(message.FindString("string", 1, &second), B_OK);
	EXPECT_STREQ(second.String(), "second");
	EXPECT_EQ(message.FindPoint("point"), BPoint(3, 4));
	EXPECT_EQ(message.FindRect("rect"), BRect(1, 2, 3, 4));
	void* pointer = NULL;
	EXPECT_EQ(message.FindPointer("pointer", &pointer), B_OK);
	EXPECT_EQ(pointer, &anchor);
	const void* constPointer = NULL;
	EXPECT_EQ(message.FindPointer("pointer", &constPointer), B_OK);
	EXPECT_EQ(constPointer, &anchor);
	BMessage found;
	EXPECT_EQ(message.FindMessage("message", &found), B_OK);
	EXPECT_EQ(found.what, (uint32)'nest');
	EXPECT_EQ(found.FindInt32("inner"), 7);
	const void* data;
	ssize_t size;
	EXPECT_EQ(message.FindData("color", B_RGB_COLOR_TYPE, &data, &size), B_OK);
	ASSERT_EQ(size, (ssize_t)sizeof(rgb_color));
	EXPECT_EQ(*static_cast<const rgb_color*>(data), color);

	// Fields keep the order in which they were first added.
	const char* expectedOrder[] = {"bool", "int8", "int16", "int32", "int64",
		"float", "double", "string", "point", "rect", "pointer", "message", "color"};
	ASSERT_EQ(message.CountNames(B_ANY_TYPE), 13);
	for (int32 i = 0; i < 13; i++) {
		char* name;
		ASSERT_EQ(message.GetInfo(B_ANY_TYPE, i, &name, NULL), B_OK);
		EXPECT_STREQ(name, expectedOrder[i]);
	}
}


TEST(MessageTest, MessengerIsStoredAsFixedValue)
{
	BMessenger messenger;
	BMessage message;
	ASSERT_EQ(message.AddMessenger("target", messenger), B_OK);
	bool fixedSize = false;
	type_code type;
	EXPECT_EQ(message.GetInfo("target", &type, &fixedSize), B_OK);
	EXPECT_EQ(type, (type_code)B_MESSENGER_TYPE);
	EXPECT_TRUE(fixedSize);
	BMessenger found;
	EXPECT_EQ(message.FindMessenger("target", &found), B_OK);
	EXPECT_TRUE(found == messenger);
	EXPECT_EQ(message.ReplaceMessenger("target", found), B_OK);
	EXPECT_TRUE(message.HasMessenger("target"));
}


struct StatusCase {
	const char* what;
	std::function<status_t(BMessage&)> call;
	status_t expected;
};


class MessageStatusTest : public testing::TestWithParam<StatusCase> {
};


TEST_P(MessageStatusTest, ReturnsTheOriginalStatus)
{
	BMessage message;
	message.AddInt32("int", 1);
	message.AddInt32("int", 2);
	message.AddString("text", "x");
	message.AddData("raw", B_RAW_TYPE, "abc", 3);
	message.AddData("unterminated", B_STRING_TYPE, "abc", 3);
	int64 wide = 5;
	message.AddData("wide", B_INT32_TYPE, &wide, sizeof(wide));
	BMessage before(message);

	EXPECT_EQ(GetParam().call(message), GetParam().expected) << GetParam().what;
	if (GetParam().expected != B_OK) {
		ssize_t size = message.FlattenedSize();
		EXPECT_EQ(size, before.FlattenedSize()) << GetParam().what << " changed the message";
	}
}


const std::string kLongName(256, 'n');
int32 gInt;
const char* gString;
BMessage gMessage;
entry_ref gRef;
const void* gData;
ssize_t gSize;

INSTANTIATE_TEST_SUITE_P(Calls, MessageStatusTest, testing::Values(
	StatusCase{"add with another type",
		[](BMessage& m) { return m.AddString("int", "x"); }, B_BAD_TYPE},
	StatusCase{"add null string",
		[](BMessage& m) { return m.AddString("new", (const char*)NULL); }, B_BAD_VALUE},
	StatusCase{"add null name",
		[](BMessage& m) { return m.AddInt32(NULL, 1); }, B_BAD_VALUE},
	StatusCase{"add empty data",
		[](BMessage& m) { return m.AddData("new", B_RAW_TYPE, "x", 0); }, B_BAD_VALUE},
	StatusCase{"add null data",
		[](BMessage& m) { return m.AddData("new", B_RAW_TYPE, NULL, 4); }, B_BAD_VALUE},
	StatusCase{"add other size to fixed field",
		[](BMessage& m) { return m.AddData("raw", B_RAW_TYPE, "ab", 2); }, B_BAD_VALUE},
	StatusCase{"add name too long for the format",
		[](BMessage& m) { return m.AddInt32(kLongName.c_str(), 1); }, B_BAD_VALUE},
	StatusCase{"add null message",
		[](BMessage& m) { return m.AddMessage("new", NULL); }, B_BAD_VALUE},
	StatusCase{"add null ref",
		[](BMessage& m) { return m.AddRef("new", NULL); }, B_BAD_VALUE},
	StatusCase{"find missing name",
		[](BMessage& m) { return m.FindInt32("none", &gInt); }, B_NAME_NOT_FOUND},
	StatusCase{"find missing name past index 0",
		[](BMessage& m) { return m.FindInt32("none", 1, &gInt); }, B_NAME_NOT_FOUND},
	StatusCase{"find other type",
		[](BMessage& m) { return m.FindString("int", &gString); }, B_BAD_TYPE},
	StatusCase{"find index past the end",
		[](BMessage& m) { return m.FindInt32("int", 2, &gInt); }, B_BAD_INDEX},
	StatusCase{"find negative index",
		[](BMessage& m) { return m.FindInt32("int", -1, &gInt); }, B_BAD_INDEX},
	StatusCase{"find null name",
		[](BMessage& m) { return m.FindInt32(NULL, &gInt); }, B_BAD_VALUE},
	StatusCase{"find into null int",
		[](BMessage& m) { return m.FindInt32("int", (int32*)NULL); }, B_BAD_VALUE},
	StatusCase{"find into null string",
		[](BMessage& m) { return m.FindString("text", (const char**)NULL); }, B_BAD_VALUE},
	StatusCase{"find into null message",
		[](BMessage& m) { return m.FindMessage("text", (BMessage*)NULL); }, B_BAD_VALUE},
	StatusCase{"find into null ref",
		[](BMessage& m) { return m.FindRef("text", (entry_ref*)NULL); }, B_BAD_VALUE},
	StatusCase{"find into null data",
		[](BMessage& m) { return m.FindData("raw", B_RAW_TYPE, NULL, &gSize); }, B_BAD_VALUE},
	StatusCase{"find any type",
		[](BMessage& m) { return m.FindData("int", B_ANY_TYPE, 1, &gData, &gSize); }, B_OK},
	StatusCase{"find string without NUL",
		[](BMessage& m) { return m.FindString("unterminated", &gString); }, B_BAD_DATA},
	StatusCase{"find int32 stored with another size",
		[](BMessage& m) { return m.FindInt32("wide", &gInt); }, B_BAD_DATA},
	StatusCase{"find message in a non-message",
		[](BMessage& m) { return m.FindMessage("raw", &gMessage); }, B_BAD_TYPE},
	StatusCase{"replace missing name",
		[](BMessage& m) { return m.ReplaceInt32("none", 1); }, B_NAME_NOT_FOUND},
	StatusCase{"replace past the end",
		[](BMessage& m) { return m.ReplaceInt32("int", 2, 9); }, B_BAD_INDEX},
	StatusCase{"replace with another type",
		[](BMessage& m) { return m.ReplaceString("int", "x"); }, B_BAD_TYPE},
	StatusCase{"replace fixed item with other size",
		[](BMessage& m) { return m.ReplaceData("raw", B_RAW_TYPE, "ab", 2); }, B_BAD_VALUE},
	StatusCase{"replace with null string",
		[](BMessage& m) { return m.ReplaceString("text", (const char*)NULL); }, B_BAD_VALUE},
	StatusCase{"remove missing name",
		[](BMessage& m) { return m.RemoveData("none"); }, B_NAME_NOT_FOUND},
	StatusCase{"remove past the end",
		[](BMessage& m) { return m.RemoveData("int", 2); }, B_BAD_INDEX},
	StatusCase{"remove missing field",
		[](BMessage& m) { return m.RemoveName("none"); }, B_NAME_NOT_FOUND},
	StatusCase{"remove null name",
		[](BMessage& m) { return m.RemoveName(NULL); }, B_BAD_VALUE}
));


// Settings code presets defaults and ignores the result of Find: a failed
// Find must not write (the original platform cleared the output first).
TEST(MessageTest, FailedFindLeavesOutputUntouched)
{
	BMessage message;
	message.AddInt32("int", 1);
	message.AddString("text", "x");
	message.AddData("unterminated", B_STRING_TYPE, "abc", 3);

	for (const char* name : {"none", "int", "text", "unterminated"}) {
		for (int32 index : {0, 5}) {
			SCOPED_TRACE(std::string(name) + " at " + std::to_string(index));
			bool boolValue = true;
			int8 int8Value = 8;
			int64 int64Value = 64;
			float floatValue = 1.25f;
			double doubleValue = 2.5;
			BRect rect(1, 2, 3, 4);
			BPoint point(5, 6);
			const char* string = "default";
			BString bstring("default");
			void* pointer = &boolValue;
			BMessage nested('keep');
			nested.AddInt32("kept", 1);
			entry_ref ref;
			ref.set_name("keep");
			const void* data = &doubleValue;
			ssize_t size = 99;

			if (strcmp(name, "int") != 0 || index != 0) {
				int32 int32Value = 32;
				message.FindInt32(name, index, &int32Value);
				EXPECT_EQ(int32Value, 32);
			}
			message.FindBool(name, index, &boolValue);
			message.FindInt8(name, index, &int8Value);
			message.FindInt64(name, index, &int64Value);
			message.FindFloat(name, index, &floatValue);
			message.FindDouble(name, index, &doubleValue);
			message.FindRect(name, index, &rect);
			message.FindPoint(name, index, &point);
			if (strcmp(name, "text") != 0 || index != 0) {
				message.FindString(name, index, &string);
				message.FindString(name, index, &bstring);
			}
			message.FindPointer(name, index, &pointer);
			message.FindMessage(name, index, &nested);
			message.FindRef(name, index, &ref);
			message.FindData(name, B_REF_TYPE, index, &data, &size);

			EXPECT_TRUE(boolValue);
			EXPECT_EQ(int8Value, 8);
			EXPECT_EQ(int64Value, 64);
			EXPECT_EQ(floatValue, 1.25f);
			EXPECT_EQ(doubleValue, 2.5);
			EXPECT_EQ(rect, BRect(1, 2, 3, 4));
			EXPECT_EQ(point, BPoint(5, 6));
			EXPECT_STREQ(string, "default");
			EXPECT_STREQ(bstring.String(), "default");
			EXPECT_EQ(pointer, &boolValue);
			EXPECT_EQ(nested.what, (uint32)'keep');
			EXPECT_EQ(nested.FindInt32("kept"), 1);
			EXPECT_STREQ(ref.name, "keep");
			EXPECT_EQ(data, &doubleValue);
			EXPECT_EQ(size, 99);
		}
	}
}


TEST(MessageTest, ShorthandFindersReturnDefaultsOnFailure)
{
	BMessage message;
	message.AddString("text", "x");
	EXPECT_EQ(message.FindInt32("text"), 0);
	EXPECT_EQ(message.FindInt64("none"), 0);
	EXPECT_FALSE(message.FindBool("none"));
	EXPECT_EQ(message.FindFloat("none"), 0.0f);
	EXPECT_EQ(message.FindDouble("none"), 0.0);
	EXPECT_EQ(message.FindString("none"), nullptr);
	EXPECT_EQ(message.FindString("text", 1), nullptr);
	EXPECT_EQ(message.FindPoint("none"), B_ORIGIN);
	EXPECT_FALSE(message.FindRect("none").IsValid());
}


TEST(MessageTest, EmptyStringStoresItsNul)
{
	BMessage message;
	ASSERT_EQ(message.AddString("empty", ""), B_OK);
	const void* data;
	ssize_t size;
	ASSERT_EQ(message.FindData("empty", B_STRING_TYPE, &data, &size), B_OK);
	EXPECT_EQ(size, 1);
	EXPECT_STREQ(message.FindString("empty"), "");
}


TEST(MessageTest, ReplaceChangesOneItemOnly)
{
	BMessage message;
	message.AddString("text", "one");
	message.AddString("text", "two");
	message.AddString("text", "three");
	message.AddInt32("int", 1);

	ASSERT_EQ(message.ReplaceString("text", 1, "a much longer second value"), B_OK);
	EXPECT_STREQ(message.FindString("text", 0), "one");
	EXPECT_STREQ(message.FindString("text", 1), "a much longer second value");
	EXPECT_STREQ(message.FindString("text", 2), "three");
	ASSERT_EQ(message.ReplaceString("text", 1, ""), B_OK);
	EXPECT_STREQ(message.FindString("text", 1), "");
	EXPECT_STREQ(message.FindString("text", 2), "three");

	ASSERT_EQ(message.ReplaceInt32("int", 5), B_OK);
	EXPECT_EQ(message.FindInt32("int"), 5);
	EXPECT_EQ(message.ReplaceInt32("missing", 5), B_NAME_NOT_FOUND);
	EXPECT_FALSE(message.HasInt32("missing"));
}


TEST(MessageTest, AddAndReplaceAcceptBytesFromTheMessageItself)
{
	BMessage message;
	message.AddString("text", "abcdefgh");
	const void* data;
	ssize_t size;
	ASSERT_EQ(message.FindData("text", B_STRING_TYPE, &data, &size), B_OK);
	ASSERT_EQ(message.AddData("text", B_STRING_TYPE, data, size, false), B_OK);
	ASSERT_EQ(message.FindData("text", B_STRING_TYPE, 0, &data, &size), B_OK);
	ASSERT_EQ(message.ReplaceData("text", B_STRING_TYPE, 1,
		static_cast<const char*>(data) + 4, size - 4), B_OK);
	EXPECT_STREQ(message.FindString("text", 0), "abcdefgh");
	EXPECT_STREQ(message.FindString("text", 1), "efgh");
}


TEST(MessageTest, RemovingTheLastItemRemovesTheField)
{
	BMessage message;
	message.AddInt32("a", 1);
	message.AddInt32("b", 1);
	message.AddInt32("b", 2);
	message.AddInt32("b", 3);
	message.AddInt32("c", 1);

	ASSERT_EQ(message.RemoveData("b", 1), B_OK);
	EXPECT_EQ(message.FindInt32("b", 0), 1);
	EXPECT_EQ(message.FindInt32("b", 1), 3);
	ASSERT_EQ(message.RemoveData("b", 0), B_OK);
	ASSERT_EQ(message.RemoveData("b", 0), B_OK);
	EXPECT_FALSE(message.HasInt32("b"));
	EXPECT_EQ(message.CountNames(B_ANY_TYPE), 2);

	// A removed name may come back with another type.
	EXPECT_EQ(message.AddString("b", "x"), B_OK);
	char* name;
	ASSERT_EQ(message.GetInfo(B_ANY_TYPE, 2, &name, NULL), B_OK);
	EXPECT_STREQ(name, "b");

	EXPECT_EQ(message.RemoveName("a"), B_OK);
	EXPECT_FALSE(message.HasInt32("a"));
	EXPECT_EQ(message.MakeEmpty(), B_OK);
	EXPECT_TRUE(message.IsEmpty());
}


// Hundreds of names, some removed from the middle: every lookup still finds
// its own field, and the fields keep their order.
TEST(MessageTest, ManyFieldsStayFoundThroughRemovals)
{
	const int32 kFields = 600;
	auto name = [](int32 i) { return "field " + std::to_string(i); };
	BMessage message;
	for (int32 i = 0; i < kFields; i++)
		ASSERT_EQ(message.AddInt32(name(i).c_str(), i), B_OK);
	for (int32 i = 0; i < kFields; i += 3) {
		if (i % 2 == 0)
			ASSERT_EQ(message.RemoveName(name(i).c_str()), B_OK);
		else
			ASSERT_EQ(message.RemoveData(name(i).c_str()), B_OK);
	}
	EXPECT_EQ(message.AddInt32(name(0).c_str(), -1), B_OK);

	BMessage copy(message);
	EXPECT_EQ(copy.FindInt32(name(0).c_str()), -1);
	int32 index = 0;
	for (int32 i = 1; i < kFields; i++) {
		if (i % 3 == 0) {
			EXPECT_FALSE(copy.HasInt32(name(i).c_str())) << i;
			continue;
		}
		EXPECT_EQ(copy.FindInt32(name(i).c_str()), i);
		char* found;
		ASSERT_EQ(copy.GetInfo(B_ANY_TYPE, index++, &found, NULL), B_OK);
		EXPECT_EQ(found, name(i));
	}
	char* last;
	ASSERT_EQ(copy.GetInfo(B_ANY_TYPE, index, &last, NULL), B_OK);
	EXPECT_EQ(last, name(0));
	EXPECT_EQ(copy.GetInfo(B_ANY_TYPE, index + 1, &last, NULL), B_BAD_INDEX);

	EXPECT_EQ(copy.MakeEmpty(), B_OK);
	EXPECT_FALSE(copy.HasInt32(name(1).c_str()));
	EXPECT_EQ(copy.GetInfo(B_ANY_TYPE, 0, &last, NULL), B_BAD_TYPE);
	EXPECT_EQ(message.FindInt32(name(1).c_str()), 1);
}


TEST(MessageTest, GetInfoDescribesFields)
{
	BMessage message;
	message.AddInt32("int", 1);
	message.AddInt32("int", 2);
	message.AddString("text", "x");
	message.AddString("more text", "y");

	type_code type = 0;
	int32 count = -1;
	bool fixedSize = false;
	EXPECT_EQ(message.GetInfo("int", &type, &count), B_OK);
	EXPECT_EQ(type, (type_code)B_INT32_TYPE);
	EXPECT_EQ(count, 2);
	EXPECT_EQ(message.GetInfo("int", &type, &fixedSize), B_OK);
	EXPECT_TRUE(fixedSize);
	EXPECT_EQ(message.GetInfo("text", &type, &fixedSize), B_OK);
	EXPECT_FALSE(fixedSize);
	EXPECT_EQ(message.GetInfo("none", &type, &count), B_NAME_NOT_FOUND);
	EXPECT_EQ(count, 0);

	char* name;
	EXPECT_EQ(message.GetInfo(B_STRING_TYPE, 1, &name, &type, &count), B_OK);
	EXPECT_STREQ(name, "more text");
	EXPECT_EQ(message.GetInfo(B_STRING_TYPE, 2, &name, &type, &count), B_BAD_INDEX);
	EXPECT_EQ(message.GetInfo(B_STRING_TYPE, -1, &name, &type, &count), B_BAD_INDEX);
	EXPECT_EQ(message.GetInfo(B_RECT_TYPE, 0, &name, &type, &count), B_BAD_TYPE);

	EXPECT_EQ(message.CountNames(B_STRING_TYPE), 2);
	EXPECT_EQ(message.CountNames(B_INT32_TYPE), 1);
	EXPECT_EQ(message.CountNames(B_RECT_TYPE), 0);
	EXPECT_TRUE(message.HasData("int", B_ANY_TYPE, 1));
	EXPECT_FALSE(message.HasData("int", B_ANY_TYPE, 2));
}


TEST(MessageTest, CopiesAreDeep)
{
	BMessage inner('innr');
	inner.AddString("name", "before");
	BMessage original('orig');
	original.AddInt32("int", 1);
	original.AddMessage("inner", &inner);
	// The nested message was copied in.
	inner.ReplaceString("name", "after");

	BMessage copy(original);
	copy.ReplaceInt32("int", 2);
	copy.AddString("new", "x");
	BMessage assigned;
	assigned.AddBool("old", true);
	assigned = original;

	EXPECT_EQ(original.FindInt32("int"), 1);
	EXPECT_FALSE(original.HasString("new"));
	EXPECT_EQ(copy.what, (uint32)'orig');
	EXPECT_EQ(assigned.FindInt32("int"), 1);
	EXPECT_FALSE(assigned.HasBool("old"));

	// FindMessage assigns: whatever the output held is replaced.
	BMessage found('prev');
	found.AddInt32("stale", 1);
	ASSERT_EQ(assigned.FindMessage("inner", &found), B_OK);
	EXPECT_EQ(found.what, (uint32)'innr');
	EXPECT_FALSE(found.HasInt32("stale"));
	EXPECT_STREQ(found.FindString("name"), "before");
}


TEST(MessageTest, DropInformationSurvivesRecodingAndCopying)
{
	BMessage message(B_SIMPLE_DATA);
	EXPECT_FALSE(message.WasDropped());
	BMessage::Private::SetDropInfo(message, BPoint(100, 200), BPoint(3, 4), false);

	message.what = 'csor';
	BMessage reposted(message);
	BMessage assigned;
	assigned = reposted;
	for (const BMessage* copy : {&reposted, &assigned}) {
		EXPECT_TRUE(copy->WasDropped());
		EXPECT_FALSE(copy->IsSourceRemote());
		BPoint offset;
		EXPECT_EQ(copy->DropPoint(&offset), BPoint(100, 200));
		EXPECT_EQ(offset, BPoint(3, 4));
		EXPECT_EQ(copy->what, (uint32)'csor');
	}

	BMessage remote;
	BMessage::Private::SetDropInfo(remote, BPoint(1, 1), B_ORIGIN, true);
	EXPECT_TRUE(remote.IsSourceRemote());
}


class MessageRefTest : public testing::Test {
protected:
	void SetUp() override
	{
		char folder[] = "/tmp/message-ref-XXXXXX";
		ASSERT_NE(mkdtemp(folder), nullptr);
		fFolder = folder;
	}

	void TearDown() override { rmdir(fFolder.c_str()); }

	entry_ref RefInFolder(const char* leaf)
	{
		struct stat info;
		EXPECT_EQ(stat(fFolder.c_str(), &info), 0);
		entry_ref ref;
		ref.device = info.st_dev;
		ref.directory = info.st_ino;
		ref.directory_path = fFolder;
		ref.set_name(leaf);
		return ref;
	}

	static entry_ref ThroughFlattening(const entry_ref& ref)
	{
		BMessage message;
		EXPECT_EQ(message.AddRef("ref", &ref), B_OK);
		std::vector<char> flat(message.FlattenedSize());
		EXPECT_EQ(message.Flatten(flat.data(), flat.size()), B_OK);
		BMessage copy;
		EXPECT_EQ(copy.Unflatten(flat.data(), flat.size()), B_OK);
		entry_ref found;
		EXPECT_EQ(copy.FindRef("ref", &found), B_OK);
		return found;
	}

	std::string fFolder;
};


TEST_F(MessageRefTest, RefKeepsItsPathThroughFlattening)
{
	entry_ref ref = RefInFolder("song.mid");
	entry_ref found = ThroughFlattening(ref);
	EXPECT_EQ(found.path(), fFolder + "/song.mid");
	EXPECT_EQ(found.directory_path, fFolder);
	EXPECT_STREQ(found.name, "song.mid");
	EXPECT_TRUE(found == ref);
}


TEST_F(MessageRefTest, RefIntoMissingFolderKeepsItsPath)
{
	entry_ref ref = RefInFolder("file");
	ref.directory_path = fFolder + "/gone";
	ref.device = (dev_t)-1;
	ref.directory = (ino_t)-1;
	entry_ref found = ThroughFlattening(ref);
	EXPECT_EQ(found.path(), fFolder + "/gone/file");
}


TEST_F(MessageRefTest, ForeignRefKeepsItsLeafOnly)
{
	// What an R5 file holds: device, directory and the leaf name.
	entry_ref foreign;
	foreign.device = 3;
	foreign.directory = 1234;
	foreign.set_name("Tune.mid");
	entry_ref found = ThroughFlattening(foreign);
	EXPECT_STREQ(found.name, "Tune.mid");
	EXPECT_TRUE(found.directory_path.empty());
	EXPECT_EQ(found.device, (dev_t)3);
	EXPECT_EQ(found.directory, (ino_t)1234);
}

}
