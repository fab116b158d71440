#include <Message.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <DataIO.h>
#include <EntryRef.h>

#include "FlatMessageBuilder.h"

namespace {

std::vector<char>
read_sample(const char* name)
{
	const std::string path = std::string(MESSAGE_SAMPLES_DIR "/") + name;
	std::ifstream file(path, std::ios::binary);
	EXPECT_TRUE(file.good()) << path;
	return std::vector<char>(std::istreambuf_iterator<char>(file), {});
}


// Some icon files put a four-byte tag of their own before the message.
std::vector<char>
read_icon_sample(const char* name)
{
	std::vector<char> bytes = read_sample(name);
	EXPECT_EQ(std::string(bytes.data(), 4), "IMSG");
	return std::vector<char>(bytes.begin() + 4, bytes.end());
}


std::vector<char>
flatten(const BMessage& message)
{
	ssize_t size = message.FlattenedSize();
	EXPECT_GT(size, 0);
	std::vector<char> buffer(size);
	EXPECT_EQ(message.Flatten(buffer.data(), size), B_OK);
	return buffer;
}


BMessage
small_message()
{
	BMessage message;
	message.AddInt32("a", 1);
	message.AddString("s", "hi");
	return message;
}


BMessage
message_with_every_type()
{
	BMessage inner('innr');
	inner.AddFloat("f", 1.5f);
	inner.AddFloat("f", -2.0f);
	BMessage outer('outr');
	outer.AddMessage("inner", &inner);
	outer.AddMessage("inner", &inner);

	BMessage message('all ');
	message.AddBool("bool", true);
	message.AddInt8("int8", -1);
	message.AddInt16("int16", 0x1234);
	message.AddInt32("int32", -5);
	message.AddInt32("int32", 6);
	message.AddInt64("int64", 0x123456789abcdefLL);
	message.AddFloat("float", 0.25f);
	message.AddDouble("double", 1e300);
	message.AddString("string", "");
	message.AddString("string", "seven");
	message.AddPoint("point", BPoint(1, 2));
	message.AddRect("rect", BRect(0, 0, 47, 47));
	message.AddMessage("outer", &outer);
	message.AddData("raw", B_RAW_TYPE, "12345", 5, false);
	message.AddData("raw", B_RAW_TYPE, "1", 1, false);
	// Big enough for the four-byte count and length form.
	std::string big(300, 'x');
	message.AddString("big", big.c_str());
	for (int32 i = 0; i < 300; i++)
		message.AddInt32("many", i);
	return message;
}


TEST(MessageFlattenTest, WritesTheOriginalBytes)
{
	std::vector<char> sample = read_sample("derived-r5-mini-a_int32-s_string.bin");
	BMessage message = small_message();
	EXPECT_EQ(message.FlattenedSize(), (ssize_t)sample.size());
	EXPECT_EQ(flatten(message), sample);
}


TEST(MessageFlattenTest, ReadsEitherCountForm)
{
	for (const char* name : {"derived-r5-mini-a_int32-s_string.bin",
			"derived-r5-nomini-a_int32-s_string.bin"}) {
		SCOPED_TRACE(name);
		std::vector<char> sample = read_sample(name);
		BMessage message('prev');
		ASSERT_EQ(message.Unflatten(sample.data(), sample.size()), B_OK);
		EXPECT_EQ(message.what, 0u);
		EXPECT_EQ(message.FindInt32("a"), 1);
		EXPECT_STREQ(message.FindString("s"), "hi");
		EXPECT_EQ(message.CountNames(B_ANY_TYPE), 2);
		// Our writer chooses the compact form where R5 would.
		EXPECT_EQ(flatten(message), read_sample("derived-r5-mini-a_int32-s_string.bin"));
	}
}


TEST(MessageFlattenTest, ReadsNestedSample)
{
	std::vector<char> sample = read_sample("derived-r5-nested-float-array.bin");
	BMessage message;
	ASSERT_EQ(message.Unflatten(sample.data()), B_OK);
	BMessage sub;
	ASSERT_EQ(message.FindMessage("sub", &sub), B_OK);
	EXPECT_EQ(sub.what, (uint32)'ABCD');
	EXPECT_EQ(sub.FindFloat("f", 0), 1.5f);
	EXPECT_EQ(sub.FindFloat("f", 1), -2.0f);
	// The sample spells out the four-byte form where R5 would have used the
	// compact one: 6 bytes less in the nested message (whose padded item
	// then shrinks from 48 to 40 bytes) and 3 in the outer field.
	EXPECT_EQ(message.FlattenedSize(), (ssize_t)sample.size() - 8 - 3);
}


TEST(MessageFlattenTest, EveryTypeSurvivesARoundTrip)
{
	BMessage original = message_with_every_type();
	std::vector<char> flat = flatten(original);
	BMessage copy;
	ASSERT_EQ(copy.Unflatten(flat.data(), flat.size()), B_OK);

	EXPECT_EQ(copy.what, (uint32)'all ');
	EXPECT_TRUE(copy.FindBool("bool"));
	EXPECT_EQ(copy.FindInt8("int8"), -1);
	EXPECT_EQ(copy.FindInt16("int16"), 0x1234);
	EXPECT_EQ(copy.FindInt32("int32", 0), -5);
	EXPECT_EQ(copy.FindInt32("int32", 1), 6);
	EXPECT_EQ(copy.FindInt64("int64"), 0x123456789abcdefLL);
	EXPECT_EQ(copy.FindFloat("float"), 0.25f);
	EXPECT_EQ(copy.FindDouble("double"), 1e300);
	EXPECT_STREQ(copy.FindString("string", 0), "");
	EXPECT_STREQ(copy.FindString("string", 1), "seven");
	EXPECT_EQ(copy.FindPoint("point"), BPoint(1, 2));
	EXPECT_EQ(copy.FindRect("rect"), BRect(0, 0, 47, 47));
	EXPECT_EQ(strlen(copy.FindString("big")), 300u);
	EXPECT_EQ(copy.FindInt32("many", 299), 299);
	const void* data;
	ssize_t size;
	ASSERT_EQ(copy.FindData("raw", B_RAW_TYPE, 0, &data, &size), B_OK);
	EXPECT_EQ(std::string(static_cast<const char*>(data), size), "12345");
	ASSERT_EQ(copy.FindData("raw", B_RAW_TYPE, 1, &data, &size), B_OK);
	EXPECT_EQ(size, 1);

	BMessage outer, inner;
	ASSERT_EQ(copy.FindMessage("outer", &outer), B_OK);
	ASSERT_EQ(outer.FindMessage("inner", 1, &inner), B_OK);
	EXPECT_EQ(inner.what, (uint32)'innr');
	EXPECT_EQ(inner.FindFloat("f", 1), -2.0f);

	EXPECT_EQ(flatten(copy), flat);
}


TEST(MessageFlattenTest, StreamHoldsMessagesBackToBack)
{
	BMessage first = small_message();
	BMessage second = message_with_every_type();
	BMallocIO stream;
	ssize_t firstSize = 0;
	ASSERT_EQ(first.Flatten(&stream, &firstSize), B_OK);
	EXPECT_EQ(firstSize, first.FlattenedSize());
	ASSERT_EQ(second.Flatten(&stream), B_OK);

	stream.Seek(0, SEEK_SET);
	BMessage readFirst, readSecond;
	ASSERT_EQ(readFirst.Unflatten(&stream), B_OK);
	EXPECT_EQ(stream.Position(), firstSize);
	ASSERT_EQ(readSecond.Unflatten(&stream), B_OK);
	EXPECT_EQ(flatten(readFirst), flatten(first));
	EXPECT_EQ(flatten(readSecond), flatten(second));
	EXPECT_EQ(readSecond.Unflatten(&stream), B_NOT_A_MESSAGE);
}


TEST(MessageFlattenTest, FlattenRefusesSmallBuffer)
{
	BMessage message = small_message();
	std::vector<char> buffer(message.FlattenedSize() - 1);
	EXPECT_EQ(message.Flatten(buffer.data(), buffer.size()), B_BAD_VALUE);
}


TEST(MessageFlattenTest, ReadsCompactR5File)
{
	std::vector<char> sample = read_sample("r5-mini-Website_Login.wonderbrush");
	BMessage message;
	ASSERT_EQ(message.Unflatten(sample.data(), sample.size()), B_OK);

	type_code type;
	int32 count;
	ASSERT_EQ(message.GetInfo("layer", &type, &count), B_OK);
	EXPECT_EQ(count, 2);
	BMessage layer, stroke;
	ASSERT_EQ(message.FindMessage("layer", 0, &layer), B_OK);
	EXPECT_STREQ(layer.FindString("name"), "button_login.png");
	EXPECT_EQ(layer.FindRect("construction bounds"), BRect(0, 0, 47, 47));
	EXPECT_EQ(layer.FindInt32("format"), 8200);
	ASSERT_EQ(layer.FindMessage("stroke", 0, &stroke), B_OK);
	EXPECT_STREQ(stroke.FindString("class", 4), "BitmapStroke");
	EXPECT_EQ(stroke.FindDouble("affine matrix", 8), 1.0);
	EXPECT_EQ(stroke.FindRect("bounds"), BRect(-0.5, -0.5, 48.5, 48.5));
	EXPECT_TRUE(stroke.FindBool("premultiplied"));
	EXPECT_EQ(stroke.FindInt8("opacity"), -1);

	// Same compact-form rule as the writer of the file: same size (only the
	// junk in its padding differs).
	EXPECT_EQ(message.FlattenedSize(), (ssize_t)sample.size());
}


TEST(MessageFlattenTest, ReadsFourByteFormR5File)
{
	std::vector<char> sample = read_icon_sample("r5-nomini-Misc_Sphere.iom");
	BMessage message;
	ASSERT_EQ(message.Unflatten(sample.data(), sample.size()), B_OK);

	BMessage styles, style, gradient;
	ASSERT_EQ(message.FindMessage("styles", &styles), B_OK);
	ASSERT_EQ(styles.FindMessage("style", 1, &style), B_OK);
	EXPECT_STREQ(style.FindString("name"), "sphere");
	EXPECT_EQ(style.FindInt32("color"), -16777216);
	ASSERT_EQ(style.FindMessage("gradient", &gradient), B_OK);
	EXPECT_STREQ(gradient.FindString("class"), "BPrivate::Icon::Gradient");
	EXPECT_FLOAT_EQ(gradient.FindFloat("offset", 1), 0.4412955343723297f);
	// A whole matrix stored as one 48-byte item.
	const void* data;
	ssize_t size;
	ASSERT_EQ(gradient.FindData("transformation", B_DOUBLE_TYPE, &data, &size), B_OK);
	EXPECT_EQ(size, 48);
	double value = 7;
	EXPECT_EQ(gradient.FindDouble("transformation", &value), B_BAD_DATA);
	EXPECT_EQ(value, 7);
}


TEST(MessageFlattenTest, ReadsHaikuNativeFileAndWritesItAsR5)
{
	std::vector<char> sample = read_icon_sample("haiku-native-HaikuDepot_StarGray.iom");
	BMessage haiku;
	ASSERT_EQ(haiku.Unflatten(sample.data(), sample.size()), B_OK);

	// Written again, nested messages included, in the R5 form.
	std::vector<char> flat = flatten(haiku);
	EXPECT_EQ(std::string(flat.data(), 4), "1BOF");
	BMessage message;
	ASSERT_EQ(message.Unflatten(flat.data(), flat.size()), B_OK);

	BMessage paths, path, styles, style, shapes, shape;
	ASSERT_EQ(message.FindMessage("paths", &paths), B_OK);
	ASSERT_EQ(paths.FindMessage("path", &path), B_OK);
	std::vector<char> nested = flatten(path);
	EXPECT_EQ(std::string(nested.data(), 4), "1BOF");
	EXPECT_STREQ(path.FindString("name"), "<path>");
	type_code type;
	int32 count;
	ASSERT_EQ(path.GetInfo("point", &type, &count), B_OK);
	EXPECT_EQ(count, 10);
	EXPECT_EQ(path.FindPoint("point", 9), BPoint(38, 24));
	EXPECT_TRUE(path.FindBool("path closed"));
	ASSERT_EQ(message.FindMessage("styles", &styles), B_OK);
	ASSERT_EQ(styles.FindMessage("style", &style), B_OK);
	EXPECT_EQ(style.FindInt32("color"), -5526613);
	ASSERT_EQ(message.FindMessage("shapes", &shapes), B_OK);
	ASSERT_EQ(shapes.FindMessage("shape", &shape), B_OK);
	EXPECT_EQ(shape.FindFloat("max visibility scale"), 4.0f);
}


TEST(MessageFlattenTest, ReadsBigEndianR5)
{
	FlatMessageBuilder be(true, 'swap');
	using B = FlatMessageBuilder;
	std::vector<char> ints = be.Value32(1);
	std::vector<char> second = be.Value32((uint32)-2);
	ints.insert(ints.end(), second.begin(), second.end());
	std::vector<char> rect;
	for (float edge : {1.0f, 2.0f, 3.0f, 4.0f}) {
		std::vector<char> bytes = be.Float(edge);
		rect.insert(rect.end(), bytes.begin(), bytes.end());
	}
	std::vector<char> ref = be.Value32(7);
	std::vector<char> directory = be.Value64(99);
	ref.insert(ref.end(), directory.begin(), directory.end());
	ref.insert(ref.end(), {'l', 'e', 'a', 'f', '\0'});

	FlatMessageBuilder nestedBuilder(true, 'nest');
	nestedBuilder.Field(B::VALID | B::MINI | B::FIXED | B::SINGLE, B_INT16_TYPE, 1,
		"short", be.Value16(0x1234));
	std::vector<char> nested = nestedBuilder.Build();

	be.Field(B::VALID | B::FIXED, B_INT32_TYPE, 2, "ints", ints)
		.Field(B::VALID | B::MINI | B::FIXED | B::SINGLE, B_DOUBLE_TYPE, 1, "double",
			be.Double(-0.5))
		.Field(B::VALID | B::FIXED | B::SINGLE, B_RECT_TYPE, 1, "rect", rect)
		.Field(B::VALID | B::MINI | B::SINGLE, B_STRING_TYPE, 1, "text",
			be.Item({'h', 'i', '\0'}))
		.Field(B::VALID | B::SINGLE, B_REF_TYPE, 1, "ref", be.Item(ref))
		.Field(B::VALID | B::SINGLE, B_MESSAGE_TYPE, 1, "nested", be.Item(nested));
	std::vector<char> flat = be.Build();

	BMessage message;
	ASSERT_EQ(message.Unflatten(flat.data(), flat.size()), B_OK);
	EXPECT_EQ(message.what, (uint32)'swap');
	EXPECT_EQ(message.FindInt32("ints", 0), 1);
	EXPECT_EQ(message.FindInt32("ints", 1), -2);
	EXPECT_EQ(message.FindDouble("double"), -0.5);
	EXPECT_EQ(message.FindRect("rect"), BRect(1, 2, 3, 4));
	EXPECT_STREQ(message.FindString("text"), "hi");
	entry_ref found;
	ASSERT_EQ(message.FindRef("ref", &found), B_OK);
	EXPECT_EQ(found.device, (dev_t)7);
	EXPECT_EQ(found.directory, (ino_t)99);
	EXPECT_STREQ(found.name, "leaf");
	BMessage inner;
	ASSERT_EQ(message.FindMessage("nested", &inner), B_OK);
	EXPECT_EQ(inner.what, (uint32)'nest');
	EXPECT_EQ(inner.FindInt16("short"), 0x1234);
}


// A message with nested, variable, repeated and large fields: every prefix
// of it is a truncated file.
TEST(MessageFlattenTest, EveryTruncationFailsCleanly)
{
	std::vector<char> flat = flatten(message_with_every_type());
	BMessage target('keep');
	target.AddInt32("kept", 1);
	for (size_t length = 0; length < flat.size(); length++) {
		std::vector<char> truncated(flat.begin(), flat.begin() + length);
		status_t status = target.Unflatten(truncated.data(), truncated.size());
		EXPECT_TRUE(status == B_BAD_DATA || status == B_NOT_A_MESSAGE)
			<< "length " << length << ": " << status;

		BMemoryIO stream(truncated.data(), truncated.size());
		status = target.Unflatten(&stream);
		EXPECT_TRUE(status == B_BAD_DATA || status == B_NOT_A_MESSAGE)
			<< "stream length " << length << ": " << status;
	}
	EXPECT_EQ(target.what, (uint32)'keep');
	EXPECT_EQ(target.FindInt32("kept"), 1);
	EXPECT_EQ(target.CountNames(B_ANY_TYPE), 1);
}


std::vector<char>
nested_messages(int depth)
{
	BMessage message;
	message.AddInt32("leaf", depth);
	std::vector<char> flat = flatten(message);
	for (int level = 1; level < depth; level++) {
		FlatMessageBuilder builder;
		builder.Field(FlatMessageBuilder::VALID | FlatMessageBuilder::SINGLE,
			B_MESSAGE_TYPE, 1, "m", builder.Item(flat));
		flat = builder.Build();
	}
	return flat;
}


TEST(MessageFlattenTest, NestingIsLimited)
{
	std::vector<char> deep = nested_messages(64);
	BMessage message;
	EXPECT_EQ(message.Unflatten(deep.data(), deep.size()), B_OK);
	std::vector<char> bomb = nested_messages(65);
	EXPECT_EQ(message.Unflatten(bomb.data(), bomb.size()), B_BAD_DATA);
}


struct CorruptCase {
	const char* what;
	std::vector<char> bytes;
	status_t expected;
};


class MessageCorruptTest : public testing::TestWithParam<CorruptCase> {
};


TEST_P(MessageCorruptTest, IsRefused)
{
	BMessage message('keep');
	// A heap copy of exactly the message's size, so that the sanitizer
	// reports any read past its end.
	const std::vector<char>& bytes = GetParam().bytes;
	std::unique_ptr<char[]> exact(new char[bytes.size()]);
	std::copy(bytes.begin(), bytes.end(), exact.get());
	EXPECT_EQ(message.Unflatten(exact.get(), bytes.size()), GetParam().expected)
		<< GetParam().what;
	EXPECT_EQ(message.what, (uint32)'keep');
	EXPECT_TRUE(message.IsEmpty());
}


using B = FlatMessageBuilder;
const uint8 kFixedSingle = B::VALID | B::MINI | B::FIXED | B::SINGLE;


std::vector<char>
patched(std::vector<char> bytes, size_t offset, std::vector<char> patch)
{
	std::copy(patch.begin(), patch.end(), bytes.begin() + offset);
	return bytes;
}


std::vector<char>
built(const std::function<void(B&)>& fill, std::optional<uint32> size = {},
	std::optional<uint32> checksum = {})
{
	B builder;
	fill(builder);
	builder.sizeOverride = size;
	builder.checksumOverride = checksum;
	return builder.Build();
}


// The data area of a Haiku native message whose one field holds the int32 1.
std::string
haiku_area(const std::string& name)
{
	return name + std::string("\0\1\0\0\0", 5);
}


// A Haiku native message: one fixed int32 field, by default "a" = 1; the
// message ends with its data area.
std::vector<char>
haiku_message(uint32 fieldCount = 1, uint16 nameLength = 2, uint32 offset = 0,
	const std::string& area = haiku_area("a"))
{
	B le;
	std::vector<char> bytes;
	auto add = [&bytes](const std::vector<char>& part) {
		bytes.insert(bytes.end(), part.begin(), part.end());
	};
	uint32 header[17] = {'1FMH', 0, 1, 0, 0, 0, 0, 0, 0, (uint32)area.size(),
		fieldCount, 5, (uint32)-1, (uint32)-1, (uint32)-1, (uint32)-1, (uint32)-1};
	for (uint32 word : header)
		add(le.Value32(word));
	add(le.Value16(3));
	add(le.Value16(nameLength));
	add(le.Value32(B_INT32_TYPE));
	add(le.Value32(1));
	add(le.Value32(4));
	add(le.Value32(offset));
	add(le.Value32((uint32)-1));
	add(std::vector<char>(area.begin(), area.end()));
	return bytes;
}


const std::vector<char> kSmall = {
	0x31, 0x42, 0x4f, 0x46, 0x01, 0x00, 0x00, 0x2e, 0x2e, 0x00, 0x00, 0x00,
	0x00, 0x00, 0x00, 0x00, 0x01, 0x0f, 0x47, 0x4e, 0x4f, 0x4c, 0x04, 0x01,
	0x61, 0x01, 0x00, 0x00, 0x00, 0x0b, 0x52, 0x54, 0x53, 0x43, 0x08, 0x01,
	0x73, 0x03, 0x00, 0x00, 0x00, 0x68, 0x69, 0x00, 0x00, 0x00};

INSTANTIATE_TEST_SUITE_P(Inputs, MessageCorruptTest, testing::Values(
	CorruptCase{"empty", {}, B_NOT_A_MESSAGE},
	CorruptCase{"unknown magic", patched(kSmall, 0, {'J', 'U', 'N', 'K'}), B_NOT_A_MESSAGE},
	CorruptCase{"Dano format", patched(kSmall, 0, {'2', 'B', 'O', 'F'}), B_NOT_A_MESSAGE},
	CorruptCase{"bad checksum", patched(kSmall, 4, {0x02}), B_BAD_DATA},
	CorruptCase{"size beyond the buffer",
		built([](B&) {}, 1000), B_BAD_DATA},
	CorruptCase{"size smaller than the fields",
		built([](B& b) { b.Field(kFixedSingle, B_INT32_TYPE, 1, "a", b.Value32(1)); }, 18),
		B_BAD_DATA},
	CorruptCase{"size negative", built([](B&) {}, 0x80000000u), B_BAD_DATA},
	CorruptCase{"bytes after the end marker",
		built([](B& b) { b.Raw({0, 0}); }), B_BAD_DATA},
	CorruptCase{"count overflow",
		built([](B& b) {
			b.Field(B::VALID | B::FIXED, B_INT32_TYPE, 0x7fffffff, "a", b.Value32(1));
		}), B_BAD_DATA},
	CorruptCase{"negative count",
		built([](B& b) {
			b.Field(B::VALID | B::FIXED, B_INT32_TYPE, 0xffffffff, "a", b.Value32(1));
		}), B_BAD_DATA},
	CorruptCase{"zero count",
		built([](B& b) { b.Field(B::VALID | B::MINI, B_STRING_TYPE, 0, "a", {}); }),
		B_BAD_DATA},
	CorruptCase{"data length past the end",
		built([](B& b) {
			b.Field(B::VALID | B::FIXED | B::SINGLE, B_INT32_TYPE, 1, 0x10000000, "a",
				b.Value32(1));
		}), B_BAD_DATA},
	CorruptCase{"fixed items of unequal size",
		built([](B& b) {
			b.Field(B::VALID | B::MINI | B::FIXED, B_RAW_TYPE, 2, "a", {1, 2, 3});
		}), B_BAD_DATA},
	CorruptCase{"item length past its field",
		built([](B& b) {
			b.Field(B::VALID | B::MINI | B::SINGLE, B_STRING_TYPE, 1, "a",
				patched(b.Item({'x', 0}), 0, b.Value32(100)));
		}), B_BAD_DATA},
	CorruptCase{"zero item length",
		built([](B& b) {
			b.Field(B::VALID | B::MINI | B::SINGLE, B_STRING_TYPE, 1, "a", b.Value32(0)
				);
		}), B_BAD_DATA},
	CorruptCase{"items shorter than their field",
		built([](B& b) {
			std::vector<char> data = b.Item({'x', 0});
			data.resize(data.size() + 8);
			b.Field(B::VALID | B::MINI | B::SINGLE, B_STRING_TYPE, 1, "a", data);
		}), B_BAD_DATA},
	CorruptCase{"name used twice",
		built([](B& b) {
			b.Field(kFixedSingle, B_INT32_TYPE, 1, "a", b.Value32(1));
			b.Field(kFixedSingle, B_INT32_TYPE, 1, "a", b.Value32(2));
		}), B_BAD_DATA},
	CorruptCase{"name used again hundreds of fields later",
		built([](B& b) {
			for (int32 i = 0; i < 500; i++)
				b.Field(kFixedSingle, B_INT32_TYPE, 1, std::to_string(i), b.Value32(i));
			b.Field(kFixedSingle, B_INT32_TYPE, 1, "7", b.Value32(1));
		}), B_BAD_DATA},
	CorruptCase{"NUL inside a name",
		built([](B& b) {
			b.Field(kFixedSingle, B_INT32_TYPE, 1, std::string("a\0b", 3), b.Value32(1));
		}), B_BAD_DATA},
	CorruptCase{"corrupt nested message",
		built([](B& b) {
			b.Field(B::VALID | B::SINGLE, B_MESSAGE_TYPE, 1, "m",
				b.Item(patched(kSmall, 4, {0x02})));
		}), B_BAD_DATA},
	CorruptCase{"no end marker",
		patched(built([](B& b) {
			b.Field(kFixedSingle, B_INT32_TYPE, 1, "a", b.Value32(1));
		}), 29, {0x01}), B_BAD_DATA},
	CorruptCase{"Haiku field count too large", haiku_message(0x10000000), B_BAD_DATA},
	CorruptCase{"Haiku name without NUL", haiku_message(1, 1), B_BAD_DATA},
	CorruptCase{"Haiku field past the data", haiku_message(1, 2, 1), B_BAD_DATA},
	// The value's four bytes would fit the data area; with the name before
	// them they run past it, and past the end of the buffer.
	CorruptCase{"Haiku name and data past the data",
		haiku_message(1, 8, 0, std::string("abcdefg\0", 8)), B_BAD_DATA}
));


TEST(MessageFlattenTest, HaikuTestMessageIsValid)
{
	std::vector<char> bytes = haiku_message();
	BMessage message;
	ASSERT_EQ(message.Unflatten(bytes.data(), bytes.size()), B_OK);
	EXPECT_EQ(message.FindInt32("a"), 1);
}


TEST(MessageFlattenTest, StreamWithHugeSizeAllocatesLittle)
{
	std::vector<char> bytes = built([](B&) {}, 0x7ffffff0);
	BMemoryIO stream(bytes.data(), bytes.size());
	BMessage message;
	EXPECT_EQ(message.Unflatten(&stream), B_BAD_DATA);
}


// Messages nested by AddMessage as deep as Unflatten reads flatten and read
// back; one level more is refused where it would be added, so that no
// message is ever written that cannot be read.
TEST(MessageFlattenTest, WritingAndReadingShareTheNestingLimit)
{
	BMessage chain;
	chain.AddInt32("leaf", 0);
	for (int level = 1; level <= 63; level++) {
		BMessage outer;
		ASSERT_EQ(outer.AddMessage("m", &chain), B_OK) << level;
		chain = outer;
	}
	std::vector<char> flat = flatten(chain);
	BMessage copy;
	EXPECT_EQ(copy.Unflatten(flat.data(), flat.size()), B_OK);

	BMessage holder;
	EXPECT_EQ(holder.AddMessage("m", &chain), B_BAD_VALUE);
	EXPECT_EQ(holder.AddData("m", B_MESSAGE_TYPE, flat.data(), flat.size(), false),
		B_BAD_VALUE);
	EXPECT_TRUE(holder.IsEmpty());
	BMessage shallow('shal');
	ASSERT_EQ(holder.AddMessage("m", &shallow), B_OK);
	EXPECT_EQ(holder.ReplaceMessage("m", &chain), B_BAD_VALUE);
	// Bytes that are no message at all would not read back either.
	EXPECT_EQ(holder.AddData("junk", B_MESSAGE_TYPE, "junk", 4), B_BAD_VALUE);
	EXPECT_EQ(holder.ReplaceData("m", B_MESSAGE_TYPE, "junk", 4), B_BAD_VALUE);

	std::vector<char> held = flatten(holder);
	ASSERT_EQ(copy.Unflatten(held.data(), held.size()), B_OK);
	BMessage found;
	ASSERT_EQ(copy.FindMessage("m", &found), B_OK);
	EXPECT_EQ(found.what, (uint32)'shal');
	EXPECT_FALSE(copy.HasData("junk", B_ANY_TYPE));
}


// Haiku allows field names of any length. Such a message reads; R5 has one
// byte for a name's length, so it does not flatten on its own, and nested in
// another message it keeps its Haiku form.
TEST(MessageFlattenTest, HaikuLongNamesRead)
{
	const std::string longName(300, 'n');
	std::vector<char> haiku = haiku_message(1, longName.size() + 1, 0,
		haiku_area(longName));
	BMessage message;
	ASSERT_EQ(message.Unflatten(haiku.data(), haiku.size()), B_OK);
	EXPECT_EQ(message.FindInt32(longName.c_str()), 1);
	EXPECT_EQ(message.FlattenedSize(), B_NAME_TOO_LONG);
	std::vector<char> buffer(4096);
	EXPECT_EQ(message.Flatten(buffer.data(), buffer.size()), B_NAME_TOO_LONG);
	BMessage holder;
	EXPECT_EQ(holder.AddMessage("m", &message), B_NAME_TOO_LONG);

	B r5;
	r5.Field(B::VALID | B::SINGLE, B_MESSAGE_TYPE, 1, "m", r5.Item(haiku));
	std::vector<char> outer = r5.Build();
	ASSERT_EQ(holder.Unflatten(outer.data(), outer.size()), B_OK);
	std::vector<char> again = flatten(holder);
	BMessage copy;
	ASSERT_EQ(copy.Unflatten(again.data(), again.size()), B_OK);
	BMessage nested;
	ASSERT_EQ(copy.FindMessage("m", &nested), B_OK);
	EXPECT_EQ(nested.FindInt32(longName.c_str()), 1);
}


struct MiniFormCase {
	const char* what;
	int32 count;
	size_t itemSize;
	bool fixedSize;
	uint32 dataLength;
	bool mini;
};


void
PrintTo(const MiniFormCase& form, std::ostream* stream)
{
	*stream << form.what;
}


class MessageMiniFormTest : public testing::TestWithParam<MiniFormCase> {
};


// The one-byte count and length are used only where both are below 256.
TEST_P(MessageMiniFormTest, FieldFormFollowsItsSizesAndReadsBack)
{
	const MiniFormCase& form = GetParam();
	BMessage message;
	for (int32 i = 0; i < form.count; i++) {
		std::vector<char> item(form.itemSize, (char)('a' + i % 26));
		ASSERT_EQ(message.AddData("f", B_RAW_TYPE, item.data(), item.size(),
			form.fixedSize), B_OK);
	}
	std::vector<char> flat = flatten(message);

	// The field follows the 17-byte header: flags, type, the count unless
	// there is one item, then the data length.
	const size_t kField = 17;
	uint8 flags = (uint8)flat[kField];
	EXPECT_EQ((flags & B::MINI) != 0, form.mini) << form.what;
	EXPECT_EQ((flags & B::SINGLE) != 0, form.count == 1) << form.what;
	size_t width = form.mini ? 1 : 4;
	size_t at = kField + 5;
	auto number = [&](size_t offset) {
		uint32 value = 0;
		memcpy(&value, flat.data() + offset, width);
		return value;
	};
	if (form.count != 1) {
		EXPECT_EQ(number(at), (uint32)form.count) << form.what;
		at += width;
	}
	EXPECT_EQ(number(at), form.dataLength) << form.what;

	BMessage copy;
	ASSERT_EQ(copy.Unflatten(flat.data(), flat.size()), B_OK) << form.what;
	type_code type;
	int32 count;
	ASSERT_EQ(copy.GetInfo("f", &type, &count), B_OK);
	ASSERT_EQ(count, form.count);
	for (int32 i = 0; i < form.count; i++) {
		const void* data;
		ssize_t size;
		ASSERT_EQ(copy.FindData("f", B_RAW_TYPE, i, &data, &size), B_OK);
		ASSERT_EQ(size, (ssize_t)form.itemSize);
		EXPECT_EQ(static_cast<const char*>(data)[0], (char)('a' + i % 26));
	}
}


INSTANTIATE_TEST_SUITE_P(Sizes, MessageMiniFormTest, testing::Values(
	MiniFormCase{"one item of 255 bytes", 1, 255, true, 255, true},
	MiniFormCase{"one item of 256 bytes", 1, 256, true, 256, false},
	MiniFormCase{"one item of 257 bytes", 1, 257, true, 257, false},
	MiniFormCase{"255 items", 255, 1, true, 255, true},
	MiniFormCase{"256 items", 256, 1, true, 256, false},
	MiniFormCase{"257 items", 257, 1, true, 257, false},
	MiniFormCase{"255 items of 2 bytes", 255, 2, true, 510, false},
	MiniFormCase{"variable item padded to 248", 1, 244, false, 248, true},
	MiniFormCase{"variable item padded to 256", 1, 245, false, 256, false},
	MiniFormCase{"255 variable items", 255, 1, false, 255 * 8, false}
));

}
