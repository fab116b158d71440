#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <DataIO.h>
#include <IniFile.h>
#include <List.h>

#include "GermanLocale.h"
#include "TempFolder.h"

namespace {

// An INI object over an in-memory copy of text.
class IniText {
public:
	explicit IniText(const std::string& text, int32 maxLine = 2048)
	{
		fStream.Write(text.data(), text.size());
		fIni = std::make_unique<TIniFile>(&fStream, maxLine);
	}

	TIniFile& Ini() { return *fIni; }

	std::string Value(const char* section, const char* key)
	{
		std::vector<char> value(fIni->MaxLine() + 1);
		fIni->ChangeSection(section);
		if (!fIni->ReadValue(key, value.data()))
			return "<missing>";
		return value.data();
	}

	// What Flush(true) writes.
	std::string Written()
	{
		fStream.SetSize(0);
		EXPECT_TRUE(fIni->Flush(true));
		return std::string(static_cast<const char*>(fStream.Buffer()),
			fStream.BufferLength());
	}

private:
	BMallocIO fStream;
	std::unique_ptr<TIniFile> fIni;
};


std::vector<std::string>
names(const BList& list)
{
	std::vector<std::string> result;
	for (int32 i = 0; i < list.CountItems(); i++)
		result.push_back(static_cast<const char*>(list.ItemAt(i)));
	return result;
}

}


TEST(IniFileTest, ParsesLinesAsTheFormatDefines)
{
	IniText text(
		"top = first\n"
		"  ;  note  \n"
		"[ Data ]\n"
		"Key = a = b\n"
		"   spaced   =   value with  blanks   \n"
		"no equals sign here\n"
		"\n"
		"[Other]\r\n"
		"crlf = yes\r\n"
		"[ unclosed \n"
		"k=v");
	EXPECT_EQ("first", text.Value(TIniFile::kGlobalSectionName, "top"));
	EXPECT_EQ("a = b", text.Value("data", "KEY"));
	EXPECT_EQ("value with  blanks", text.Value("DATA", "spaced"));
	EXPECT_EQ("no equals sign here", text.Value("Data", ""));
	EXPECT_EQ("yes", text.Value("other", "crlf"));
	EXPECT_EQ("v", text.Value("unclosed", "k"));

	text.Ini().ChangeSection(TIniFile::kGlobalSectionName);
	char comment[64];
	ASSERT_TRUE(text.Ini().ReadComment(comment));
	EXPECT_STREQ("note", comment);
	EXPECT_FALSE(text.Ini().ReadComment(comment));

	BList sections;
	text.Ini().EnumSections(&sections);
	EXPECT_EQ((std::vector<std::string>{TIniFile::kGlobalSectionName, "Data",
		"Other", "unclosed"}), names(sections));
}


TEST(IniFileTest, CrLfAndLfTextsLoadTheSame)
{
	IniText lf("[ S ]\nA = 1\n; c\nB = 2\n");
	IniText crlf("[ S ]\r\nA = 1\r\n; c\r\nB = 2\r\n");
	EXPECT_EQ(lf.Written(), crlf.Written());
}


TEST(IniFileTest, WritesSectionsCommentsAndPairsInOrder)
{
	IniText text("g = 1\n  ;  note  \n[Data]\nKey=a = b\n;x\n[data]\nshadowed = 1\n");
	EXPECT_EQ(
		"; note\n"
		"g = 1\n"
		"\n"
		"[ Data ]\n"
		"; x\n"
		"Key = a = b\n"
		"\n"
		"[ data ]\n"
		"shadowed = 1\n"
		"\n", text.Written());
	// The first of two same-named sections is the one found.
	EXPECT_EQ("<missing>", text.Value("DATA", "shadowed"));
}


TEST(IniFileTest, TypedValuesRoundTrip)
{
	IniText text("");
	TIniFile& ini = text.Ini();
	ini.ChangeSection("Values");
	ini.WriteValue("flag", true);
	ini.WriteValue("off", false);
	ini.WriteValue("int", static_cast<int32>(-2147483647 - 1));
	ini.WriteValue("wide", static_cast<int64>(1) << 40);
	ini.WriteValue("real", 0.1f);
	ini.WriteValue("whole", 3.0f);
	ini.WriteValue("color", make_color(255, 128, 0, 255));
	EXPECT_TRUE(ini.IsModified());

	EXPECT_EQ("1", text.Value("Values", "flag"));
	EXPECT_EQ("-2147483648", text.Value("Values", "int"));
	EXPECT_EQ("1099511627776", text.Value("Values", "wide"));
	EXPECT_EQ("0.1", text.Value("Values", "real"));
	EXPECT_EQ("3", text.Value("Values", "whole"));
	EXPECT_EQ("255 128 0 255", text.Value("Values", "color"));

	IniText reread(text.Written());
	TIniFile& again = reread.Ini();
	again.ChangeSection("values");
	bool flag = false;
	bool off = true;
	int32 number = 0;
	int64 wide = 0;
	float real = 0;
	rgb_color color = {};
	EXPECT_TRUE(again.ReadValue("flag", &flag));
	EXPECT_TRUE(again.ReadValue("off", &off));
	EXPECT_TRUE(again.ReadValue("int", &number));
	EXPECT_TRUE(again.ReadValue("wide", &wide));
	EXPECT_TRUE(again.ReadValue("real", &real));
	EXPECT_TRUE(again.ReadValue("color", &color));
	EXPECT_TRUE(flag);
	EXPECT_FALSE(off);
	EXPECT_EQ(-2147483647 - 1, number);
	EXPECT_EQ(static_cast<int64>(1) << 40, wide);
	EXPECT_FLOAT_EQ(0.1f, real);
	EXPECT_EQ(make_color(255, 128, 0, 255), color);

	int32 untouched = 5;
	EXPECT_FALSE(again.ReadValue("missing", &untouched));
	EXPECT_EQ(5, untouched);
}


TEST(IniFileTest, KeysSectionsAndDeletion)
{
	IniText text("[A]\nx = 1\ny = 2\nX = 3\n[B]\n");
	TIniFile& ini = text.Ini();
	EXPECT_TRUE(ini.SectionExists("a"));
	EXPECT_FALSE(ini.SectionExists("C"));
	EXPECT_FALSE(ini.IsModified());

	ini.ChangeSection("A");
	BList keys;
	ini.EnumKeys(&keys);
	EXPECT_EQ((std::vector<std::string>{"x", "y", "X"}), names(keys));
	EXPECT_EQ("1", text.Value("A", "X"));

	ini.DeleteKey("Y");
	EXPECT_FALSE(ini.KeyExists("y"));
	EXPECT_TRUE(ini.IsModified());

	ini.DeleteSection("b");
	EXPECT_FALSE(ini.SectionExists("B"));
	ini.CreateSection("First", 1);
	BList sections;
	ini.EnumSections(&sections);
	EXPECT_EQ((std::vector<std::string>{TIniFile::kGlobalSectionName, "First", "A"}),
		names(sections));
}


TEST(IniFileTest, LongLinesAreSplitAndLongWritesCut)
{
	const std::string longValue(25, 'v');
	IniText text("k = " + longValue + "\n" + std::string(10, 'w') + "\n", 10);
	// "k = vvvvvv" then "vvvvvvvvvv" then "vvvvvvvvv": the rest of a long
	// line reads as lines of their own.
	BList keys;
	text.Ini().EnumKeys(&keys);
	EXPECT_EQ(4, keys.CountItems());
	EXPECT_EQ("vvvvvv", text.Value(TIniFile::kGlobalSectionName, "k"));

	text.Ini().WriteValue(std::string(40, 'K').c_str(), std::string(40, 'V').c_str());
	EXPECT_EQ(std::string(10, 'V'), text.Value(TIniFile::kGlobalSectionName,
		std::string(10, 'K').c_str()));
}


TEST(IniFileTest, ModifiedFileIsWrittenOnDestructionOnly)
{
	TempFolder folder;
	const std::string path = folder / "settings.ini";
	write_whole_file(path, "[S]\nk=v\n");
	{
		TIniFile ini(path.c_str(), B_READ_WRITE, 256);
		ini.ChangeSection("Looked At");
	}
	EXPECT_EQ("[S]\nk=v\n", read_whole_file(path));
	{
		TIniFile ini(path.c_str(), B_READ_WRITE | B_ERASE_FILE, 256);
		ini.ChangeSection("S");
		ini.WriteValue("k", "new");
	}
	EXPECT_EQ("\n[ S ]\nk = new\n\n", read_whole_file(path));
}


TEST(IniFileTest, FoldersAndMissingFilesLoadEmpty)
{
	TempFolder folder;
	TIniFile missing((folder / "missing.ini").c_str(), B_READ_ONLY, 256);
	BList sections;
	missing.EnumSections(&sections);
	EXPECT_EQ(1, sections.CountItems());

	TIniFile directory(folder.Path().c_str(), B_READ_ONLY, 256);
	BList directorySections;
	directory.EnumSections(&directorySections);
	EXPECT_EQ(1, directorySections.CountItems());
}


TEST(IniFileTest, ByteOrderMarkBeforeTheFirstLineIsSkipped)
{
	struct {
		const char* name;
		std::string text;
		const char* expectedValue;
	} cases[] = {
		{"mark then header", "\xEF\xBB\xBF[ S ]\r\nk = v\r\n", "v"},
		{"mark then blank", "\xEF\xBB\xBF  [S]\nk=v\n", "v"},
		{"no mark", "[S]\nk=v\n", "v"},
		{"mark on a later line stays text", "[S]\n\xEF\xBB\xBFk=v\n", "<missing>"},
		{"cut mark stays text", "\xEF\xBB[S]\nk=v\n", "<missing>"},
	};
	for (const auto& test : cases) {
		IniText text(test.text);
		EXPECT_EQ(test.expectedValue, text.Value("S", "k")) << test.name;
	}

	IniText onlyMark("\xEF\xBB\xBF");
	BList sections;
	onlyMark.Ini().EnumSections(&sections);
	BList keys;
	onlyMark.Ini().EnumKeys(&keys);
	EXPECT_EQ(1, sections.CountItems());
	EXPECT_EQ(0, keys.CountItems());

	// The bytes of a mark that begin the first key survive a write-back.
	IniText twoMarks("\xEF\xBB\xBF\xEF\xBB\xBFk = v\n");
	IniText reread(twoMarks.Written());
	EXPECT_EQ("v", reread.Value(TIniFile::kGlobalSectionName, "\xEF\xBB\xBFk"));
}


TEST(IniFileTest, DuplicateNamesFindTheFirstInListOrder)
{
	IniText text("[A]\nk = 1\nK = 2\nk = 3\n[a]\nk = shadowed\n[B]\n");
	TIniFile& ini = text.Ini();
	EXPECT_EQ("1", text.Value("A", "k"));
	ini.DeleteKey("K");
	EXPECT_EQ("2", text.Value("A", "k"));
	ini.DeleteKey("k");
	EXPECT_EQ("3", text.Value("A", "k"));
	ini.DeleteKey("k");
	EXPECT_FALSE(ini.KeyExists("k"));
	ini.WriteValue("k", "4");
	EXPECT_EQ("4", text.Value("A", "k"));

	// A section put before the first of its name is the one found.
	ini.CreateSection("a", 1);
	EXPECT_EQ("<missing>", text.Value("A", "k"));
	ini.DeleteSection("A");
	EXPECT_EQ("4", text.Value("A", "k"));
	ini.DeleteSection("A");
	EXPECT_EQ("shadowed", text.Value("A", "k"));
	ini.DeleteSection("A");
	EXPECT_FALSE(ini.SectionExists("a"));
	EXPECT_TRUE(ini.SectionExists("b"));

	// The global section is never deleted, even by its name.
	ini.DeleteSection(TIniFile::kGlobalSectionName);
	EXPECT_TRUE(ini.SectionExists(TIniFile::kGlobalSectionName));

	TIniFile unbound(64);
	unbound.DeleteSection("A");
	unbound.DeleteKey("k");
	EXPECT_FALSE(unbound.SectionExists("A"));
}


TEST(IniFileTest, ListedNamesStayValidWhileTheyExist)
{
	IniText text("[S]\nfirst = 1\nsecond = 2\nthird = 3\n");
	TIniFile& ini = text.Ini();
	ini.ChangeSection("S");
	BList keys;
	ini.EnumKeys(&keys);
	BList sections;
	ini.EnumSections(&sections);

	for (int i = 0; i < 1000; i++) {
		const std::string name = "added" + std::to_string(i);
		ini.WriteValue(name.c_str(), "x");
		ini.CreateSection(name.c_str(), 1);
		ini.ChangeSection("S");
	}
	ini.DeleteKey("second");
	ini.WriteValue("third", std::string(1000, 'v').c_str());

	EXPECT_STREQ("first", static_cast<const char*>(keys.ItemAt(0)));
	EXPECT_STREQ("third", static_cast<const char*>(keys.ItemAt(2)));
	EXPECT_STREQ(TIniFile::kGlobalSectionName,
		static_cast<const char*>(sections.ItemAt(0)));
	EXPECT_STREQ("S", static_cast<const char*>(sections.ItemAt(1)));
}


TEST(IniFileTest, TextsTheLineFormatCannotHoldAreRefused)
{
	struct {
		const char* key;
		const char* value;
		bool stored;
	} cases[] = {
		{"plain", "value", true},
		{"a[0]", "x = [y] ; z", true},
		{"", "keyless", true},
		{"a=b", "v", false},
		{"[Section]", "v", false},
		{"  [Section", "v", false},
		{"; comment", "v", false},
		{"two\nlines", "v", false},
		{"cr\r", "v", false},
		{"k", "line\n[ Evil ]\nevil = 1", false},
		{"k", "carriage\rreturn", false},
	};
	for (const auto& test : cases) {
		IniText text("[S]\nold = 1\n");
		TIniFile& ini = text.Ini();
		ini.ChangeSection("S");
		EXPECT_EQ(test.stored, ini.WriteValue(test.key, test.value)) << test.key;
		EXPECT_EQ(test.stored, ini.IsModified()) << test.key;

		IniText reread(text.Written());
		BList sections;
		reread.Ini().EnumSections(&sections);
		EXPECT_EQ(2, sections.CountItems()) << test.key;
		reread.Ini().ChangeSection("S");
		BList keys;
		reread.Ini().EnumKeys(&keys);
		EXPECT_EQ(test.stored ? 2 : 1, keys.CountItems()) << test.key;
		if (test.stored) {
			EXPECT_EQ(test.value, reread.Value("S", test.key)) << test.key;
		}
	}

	IniText text("");
	EXPECT_FALSE(text.Ini().WriteComment("one\nkey = two"));
	EXPECT_FALSE(text.Ini().WriteValue("a=b", static_cast<int32>(1)));
	EXPECT_FALSE(text.Ini().IsModified());
	EXPECT_TRUE(text.Ini().WriteComment("one line"));
}


TEST(IniFileTest, AddValueAddsOnlyANewKey)
{
	IniText text("[S]\nOld = 1\n");
	TIniFile& ini = text.Ini();
	ini.ChangeSection("S");
	EXPECT_FALSE(ini.AddValue("old", 2));
	EXPECT_FALSE(ini.AddValue("a=b", 2));
	EXPECT_FALSE(ini.IsModified());
	EXPECT_TRUE(ini.AddValue("new", -3));
	EXPECT_FALSE(ini.AddValue("NEW", 4));

	IniText reread(text.Written());
	EXPECT_EQ("1", reread.Value("S", "Old"));
	EXPECT_EQ("-3", reread.Value("S", "new"));
}


TEST(IniFileTest, NumberTextsParseAsDefined)
{
	struct {
		const char* text;
		int32 integer;
		float real;
	} cases[] = {
		{"42", 42, 42},
		{"+7", 7, 7},
		{"  -3x", -3, -3},
		{"99999999999", 2147483647, 99999999999.0f},
		{"-99999999999999999999", -2147483647 - 1, -99999999999999999999.0f},
		{"1.5", 1, 1.5f},
		{"2.5e3", 2, 2500},
		// Written by builds that formatted numbers in the user's locale.
		{"0,25", 0, 0.25f},
		// Not a number: the out value keeps what it held.
		{"x", -1, -1},
		{"", -1, -1},
		{"+-1", -1, -1},
		{"1e999", 1, -1},
	};
	for (const auto& test : cases) {
		IniText text(std::string("n = ") + test.text + "\n");
		int32 integer = -1;
		float real = -1;
		EXPECT_TRUE(text.Ini().ReadValue("n", &integer));
		EXPECT_TRUE(text.Ini().ReadValue("n", &real));
		EXPECT_EQ(test.integer, integer) << test.text;
		EXPECT_FLOAT_EQ(test.real, real) << test.text;
	}
}


TEST(IniFileTest, NumbersKeepTheirFormInAGermanLocale)
{
	GermanLocale german;
	if (!german.IsActive())
		GTEST_SKIP() << "no German locale could be made";
	char formatted[16];
	snprintf(formatted, sizeof(formatted), "%g", 0.25);
	ASSERT_STREQ("0,25", formatted) << "the locale has no decimal comma";

	IniText text("[N]\nreal = 1.5\nwide = -1234567\ncolor = 1 2 3 4\n");
	TIniFile& ini = text.Ini();
	ini.ChangeSection("N");
	float real = 0;
	int64 wide = 0;
	rgb_color color = {};
	EXPECT_TRUE(ini.ReadValue("real", &real));
	EXPECT_TRUE(ini.ReadValue("wide", &wide));
	EXPECT_TRUE(ini.ReadValue("color", &color));
	EXPECT_FLOAT_EQ(1.5f, real);
	EXPECT_EQ(-1234567, wide);
	EXPECT_EQ(make_color(1, 2, 3, 4), color);

	ini.WriteValue("quarter", 0.25f);
	ini.WriteValue("large", 1234567.0f);
	ini.WriteValue("count", static_cast<int32>(1234567));
	EXPECT_EQ("0.25", text.Value("N", "quarter"));
	EXPECT_EQ("1.23457e+06", text.Value("N", "large"));
	EXPECT_EQ("1234567", text.Value("N", "count"));
}


TEST(IniFileTest, WriteBackReplacesTheWholeFile)
{
	TempFolder folder;
	const std::string path = folder / "settings.ini";
	const std::string before = "[ S ]\r\nkey = a long value\r\nother = 2\r\n";
	write_whole_file(path, before);
	ASSERT_EQ(0, chmod(path.c_str(), 0640));
	// A second name of the old file shows whether it was written in place.
	ASSERT_EQ(0, link(path.c_str(), (folder / "old.ini").c_str()));
	{
		TIniFile ini(path.c_str(), B_READ_WRITE, 256);
		ini.ChangeSection("S");
		ini.WriteValue("key", "v");
	}
	EXPECT_EQ("\n[ S ]\nkey = v\nother = 2\n\n", read_whole_file(path));
	EXPECT_EQ(before, read_whole_file(folder / "old.ini"));
	struct stat info;
	ASSERT_EQ(0, stat(path.c_str(), &info));
	EXPECT_EQ(0640u, info.st_mode & 07777);

	// A second write-back of the same object replaces the new file.
	{
		TIniFile ini(path.c_str(), B_READ_WRITE, 256);
		ini.ChangeSection("S");
		ini.WriteValue("key", "first");
		EXPECT_TRUE(ini.Flush(false));
		ini.DeleteKey("other");
		EXPECT_TRUE(ini.Flush(false));
	}
	EXPECT_EQ("\n[ S ]\nkey = first\n\n", read_whole_file(path));
}


TEST(IniFileTest, FilesOpenedForReadingAreNeverWritten)
{
	TempFolder folder;
	const std::string path = folder / "language.vlt";
	write_whole_file(path, "[S]\nk=v\n");
	{
		TIniFile ini(path.c_str(), B_READ_ONLY, 256);
		ini.ChangeSection("S");
		ini.WriteValue("k", "changed");
		EXPECT_FALSE(ini.Flush(true));
	}
	EXPECT_EQ("[S]\nk=v\n", read_whole_file(path));
}


TEST(IniFileTest, StreamsAreCutAfterTheNewText)
{
	BMallocIO stream;
	const std::string before = "[ S ]\r\nkey = a long value\r\nother = 2\r\n";
	stream.Write(before.data(), before.size());
	{
		TIniFile ini(&stream, 256);
		ini.ChangeSection("S");
		ini.WriteValue("key", "v");
	}
	EXPECT_EQ("\n[ S ]\nkey = v\nother = 2\n\n",
		std::string(static_cast<const char*>(stream.Buffer()),
			stream.BufferLength()));

	// A caller's buffer of fixed size ends after the new text as well.
	std::string fixed = before;
	BMemoryIO memory(fixed.data(), fixed.size());
	TIniFile ini(&memory, 256);
	ini.ChangeSection("S");
	ini.WriteValue("key", "v");
	EXPECT_TRUE(ini.Flush(false));
	off_t size = 0;
	memory.GetSize(&size);
	EXPECT_EQ(static_cast<off_t>(std::string("\n[ S ]\nkey = v\nother = 2\n\n").size()),
		size);
}


TEST(IniFileTest, ForEachKeySeesWhatEnumKeysAndReadValueSee)
{
	const char* const texts[] = {
		"[S]\na = 1\nb = 2\n",
		"[S]\nk = 1\nK = 2\nother = x\nk = 3\n",
		"[S]\nnoequals\n= empty key\nk =\n",
		"[S]\n",
	};
	for (const char* source : texts) {
		IniText text(source);
		TIniFile& ini = text.Ini();
		ini.ChangeSection("S");
		// Once as loaded, once after the first key went and one was added.
		for (int round = 0; round < 2; round++) {
			std::vector<std::string> expected;
			BList keys;
			ini.EnumKeys(&keys);
			char value[2049];
			for (const std::string& key : names(keys)) {
				ASSERT_TRUE(ini.ReadValue(key.c_str(), value));
				expected.push_back(key + "=" + value);
			}
			std::vector<std::string> visited;
			ini.ForEachKey([&visited](std::string_view key,
					std::string_view value) {
				EXPECT_EQ('\0', key.data()[key.size()]);
				EXPECT_EQ('\0', value.data()[value.size()]);
				visited.push_back(std::string(key) + "=" + std::string(value));
			});
			EXPECT_EQ(expected, visited) << source;

			if (keys.CountItems() > 0)
				ini.DeleteKey(static_cast<const char*>(keys.ItemAt(0)));
			ini.WriteValue("added", "4");
		}
	}
}


TEST(IniFileTest, KeysWrittenAndDeletedOverAndOverKeepTheirOrder)
{
	IniText text("[S]\nfirst = 1\n");
	TIniFile& ini = text.Ini();
	ini.ChangeSection("S");
	for (int i = 0; i < 600; i++) {
		const std::string key = "key" + std::to_string(i);
		ini.WriteValue(key.c_str(), "v");
		if (i >= 2)
			ini.DeleteKey(("key" + std::to_string(i - 2)).c_str());
	}
	ini.WriteValue("last", "2");
	BList keys;
	ini.EnumKeys(&keys);
	EXPECT_EQ((std::vector<std::string>{"first", "key598", "key599", "last"}),
		names(keys));
	EXPECT_EQ("\n[ S ]\nfirst = 1\nkey598 = v\nkey599 = v\nlast = 2\n\n",
		text.Written());
}
