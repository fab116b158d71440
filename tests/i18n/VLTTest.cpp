#include <gtest/gtest.h>

#include <set>
#include <string>

#include <DataIO.h>
#include <IniFile.h>
#include <List.h>
#include <VLT.h>

#include "TempFolder.h"

namespace {

const char* const kHeaderLines =
	"[ Informations ]\n"
	"Header = VLT File Format 100\n";


status_t
load_text(TVLT* table, const std::string& text)
{
	BMemoryIO stream(text.data(), text.size());
	TIniFile ini(&stream, TVLT::kMaxLine);
	return table->Load(&ini);
}


// The keys of the "Data" section of a language text, as a file lists them.
std::set<std::string>
data_keys(TIniFile* ini)
{
	ini->ChangeSection("Data");
	BList keys;
	ini->EnumKeys(&keys);
	std::set<std::string> result;
	for (int32 i = 0; i < keys.CountItems(); i++)
		result.insert(static_cast<const char*>(keys.ItemAt(i)));
	return result;
}


std::string missingKeyReported;

void
record_missing_key(const char* key)
{
	missingKeyReported = key;
}

}


TEST(VLTTest, EscapesDecodeLeftToRightInTheirOrder)
{
	struct {
		const char* stored;
		const char* decoded;
	} cases[] = {
		{"a#sb", "a b"},
		{"a##sb", "a#sb"},
		{"#s", " "},
		{"50#s%", "50 %"},
		{"##", "#"},
		{"##n", "#n"},
		{"###n", "#\n"},
		{"####", "##"},
		{"###", "##"},
		{"Port#s", "Port "},
		{"#n#t#s", "\n\t "},
		{"は変更されています。#n保存しますか？", "は変更されています。\n保存しますか？"},
		{"#", "#"},
		{"#x", "#x"},
		{"%s を別名で保存", "%s を別名で保存"},
	};
	for (const auto& test : cases)
		EXPECT_EQ(test.decoded, TVLT::DecodeText(test.stored)) << test.stored;
}


TEST(VLTTest, HeaderMustBeExact)
{
	struct {
		const char* header;
		status_t expected;
	} cases[] = {
		{"Header = VLT File Format 100   \n", 0},
		{"Header = VLT File Format 101\n", -1},
		{"Header = VLT File Format 100 extra\n", -1},
		{"", -1},
	};
	for (const auto& test : cases) {
		TVLT table;
		std::string text = std::string("[informations]\n") + test.header
			+ "Language = Test ( テスト )\n[data]\nKey = value\n";
		EXPECT_EQ(test.expected, load_text(&table, text)) << test.header;
		EXPECT_EQ(test.expected == 0 ? 1u : 0u, table.TextMap().size());
		EXPECT_EQ(test.expected == 0 ? "Test ( テスト )" : "", table.LanguageName());
	}
}


TEST(VLTTest, LoadsInformationAndDataOnly)
{
	TVLT table;
	ASSERT_EQ(0, load_text(&table, std::string(kHeaderLines)
		+ "Writer = Someone ( 誰か )\nSpecialThanks = You#n\n"
		"; a comment\n[ Data ]\nFirst = 1\nDup = first\ndup = second\n"
		"[ Elsewhere ]\nIgnored = x\n"));
	EXPECT_EQ("Someone ( 誰か )", table.Writer());
	EXPECT_EQ("You#n", table.SpecialThanks());
	EXPECT_STREQ("1", table.Text("First"));
	EXPECT_STREQ("first", table.Text("Dup"));
	EXPECT_STREQ("", table.Text("Ignored"));
	EXPECT_STREQ("", table.Text("Missing"));
}


TEST(VLTTest, MissingKeysAreReportedOnlyWhenAsked)
{
	TVLT table;
	TVLT::SetMissingKeyReporter(record_missing_key);
	missingKeyReported.clear();
	EXPECT_STREQ("", table.Text("Nowhere"));
	EXPECT_EQ("", missingKeyReported);

	table.SET_SHOW_DB_INFO(true);
	EXPECT_STREQ("", table.Text("Nowhere"));
	EXPECT_EQ("Nowhere", missingKeyReported);
	TVLT::SetMissingKeyReporter(nullptr);
}


TEST(VLTTest, LongValuesAreSplitNotOverflowed)
{
	TVLT table;
	const std::string longText(5000, 'x');
	ASSERT_EQ(0, load_text(&table, std::string(kHeaderLines) + "[Data]\nLong = "
		+ longText + "\nAfter = ok\n"));
	EXPECT_EQ(std::string(TVLT::kMaxLine - 7, 'x'), table.Text("Long"));
	EXPECT_STREQ("ok", table.Text("After"));
}


TEST(VLTTest, BuiltInTextIsComplete)
{
	TVLT table;
	ASSERT_EQ(0, table.Load(nullptr, TVLT::kBuiltInTextId));
	EXPECT_EQ(118u, table.TextMap().size());
	EXPECT_EQ("Japanese ( 日本語 )", table.LanguageName());
	EXPECT_EQ("PELKAN ( ＰＥＬＫＡＮ )", table.Writer());
	EXPECT_EQ("", table.SpecialThanks());
	EXPECT_STREQ("F・ファイル", table.Text("Menu_File"));
	EXPECT_STREQ("Port ", table.Text("Menu_MIDI_Port"));
	EXPECT_STREQ("B - 曲間に ", table.Text("CBox_Silence_Between_Songs"));
	EXPECT_STREQ(" 秒間スペースを空ける", table.Text("StrView_Silence_Interval_Between_Songs"));
	EXPECT_STREQ("★　Vantu MIDI　★", table.Text("Alert_Caption"));
	EXPECT_STREQ("", table.Text("About_Win_Win_Title_1"));
	EXPECT_STREQ("新規リスト ", table.Text("New_List"));

	TVLT unchanged;
	EXPECT_EQ(-1, unchanged.Load(nullptr, 3001));
	EXPECT_TRUE(unchanged.TextMap().empty());
}


TEST(VLTTest, EnglishFileHasTheBuiltInKeys)
{
	TVLT english;
	ASSERT_EQ(0, english.Load(VANTU_ENGLISH_VLT));
	EXPECT_EQ("English ( English )", english.LanguageName());

	TIniFile englishIni(VANTU_ENGLISH_VLT, B_READ_ONLY, TVLT::kMaxLine);
	TVLT builtIn;
	ASSERT_EQ(0, builtIn.Load(nullptr, TVLT::kBuiltInTextId));
	std::set<std::string> builtInKeys;
	for (const auto& [key, text] : builtIn.TextMap())
		builtInKeys.emplace(key);
	EXPECT_EQ(builtInKeys, data_keys(&englishIni));
}


TEST(VLTTest, FilesSavedWithAByteOrderMarkLoad)
{
	TempFolder folder;
	write_whole_file(folder / "Windows.vlt", "\xEF\xBB\xBF[ Informations ]\r\n"
		"Header = VLT File Format 100\r\n[ Data ]\r\nMenu_File = F#s-#sFile\r\n");
	TVLT table;
	ASSERT_EQ(0, table.Load((folder / "Windows.vlt").c_str()));
	EXPECT_STREQ("F - File", table.Text("Menu_File"));
}


TEST(VLTTest, UnreadableFilesLeaveTheTableEmpty)
{
	TempFolder folder;
	TVLT table;
	EXPECT_EQ(-1, table.Load((folder / "missing.vlt").c_str()));
	EXPECT_EQ(-1, table.Load(folder.Path().c_str()));
	write_whole_file(folder / "binary.vlt", std::string("\0\xff\x1b[\n=\n", 7));
	EXPECT_EQ(-1, table.Load((folder / "binary.vlt").c_str()));
	EXPECT_TRUE(table.TextMap().empty());
}
