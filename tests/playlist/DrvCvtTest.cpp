#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <DrvCvt.h>
#include <File.h>
#include <Message.h>

#include "TempFolder.h"

namespace {

class DrvCvtTest : public testing::Test {
protected:
	std::string TableFile() const
	{
		return fHome.Folder("Shared") + "/DriveLetter.arc";
	}

	// Converts with a buffer that shows whether it was written.
	std::string Convert(const TDrvCvt& converter, const char* entry,
		const char* container, bool* converted)
	{
		char path[TDrvCvt::kPathBufferSize];
		strcpy(path, "<unwritten>");
		*converted = converter.CvtPathWinToBe(entry, path, container);
		return path;
	}

	SettingsHome fHome;
};

}


TEST_F(DrvCvtTest, ConvertsDriveAndRootFormsWithTheDefaults)
{
	TDrvCvt converter;
	struct {
		const char* entry;
		const char* container;
		bool converted;
		const char* path;
	} cases[] = {
		{"C:\\MIDI\\a.mid", "", true, "/windows/MIDI/a.mid"},
		{"c:\\MIDI\\a.mid", nullptr, true, "/windows/MIDI/a.mid"},
		{"a:\\b.mid\r", "", true, "/no name/b.mid"},
		{"D:\\a.mid", "", false, "<unwritten>"},
		{"\\Songs\\b.mid", "/windows/lists/x.lst", true, "/windows/Songs/b.mid"},
		{"\\Songs\\b.mid", "/x.lst", true, "/x.lst/Songs/b.mid"},
		{"\\Songs\\b.mid", "", false, "<unwritten>"},
		{"Songs\\b.mid", "/windows/x.lst", false, "<unwritten>"},
		{"", "/windows/x.lst", false, "<unwritten>"},
		{"C", "", false, "<unwritten>"},
		{"1:\\x", "", false, "<unwritten>"},
	};
	for (const auto& test : cases) {
		bool converted = false;
		std::string path = Convert(converter, test.entry, test.container, &converted);
		EXPECT_EQ(test.converted, converted) << test.entry;
		EXPECT_EQ(test.path, path) << test.entry;
	}
}


TEST_F(DrvCvtTest, ConvertsShiftJisNamesToUtf8)
{
	TDrvCvt converter;
	bool converted = false;
	EXPECT_EQ("/windows/曲/日本.mid",
		Convert(converter, "C:\\\x8b\xc8\\\x93\xfa\x96\x7b.mid", "", &converted));
	EXPECT_TRUE(converted);
	// The second byte of 表 is 0x5c, a backslash: it must not become '/'.
	EXPECT_EQ("/windows/表/ソ.mid",
		Convert(converter, "c:\\\x95\x5c\\\x83\x5c.mid", "", &converted));
	EXPECT_EQ("/windows/曲.mid",
		Convert(converter, "\\\x8b\xc8.mid", "/windows/リスト/x.lst", &converted));
	EXPECT_EQ("/windows/already/ütf8.mid",
		Convert(converter, "C:\\already\\ütf8.mid", "", &converted));
}


TEST_F(DrvCvtTest, UnconvertibleShiftJisBytesBecomeTheSubstitute)
{
	TDrvCvt converter;
	struct {
		const char* entry;
		const char* path;
	} cases[] = {
		{"C:\\a.mid\x93", "/windows/a.mid\x1a"},
		{"C:\\\x8b\xc8\x82", "/windows/曲\x1a"},
		{"C:\\\x8b\xc8\x82\r", "/windows/曲\x1a"},
		{"C:\\a\xff\x8b\xc8", "/windows/a\x1a曲"},
		{"C:\\\x85\x40.mid", "/windows/\x1a@.mid"},
	};
	for (const auto& test : cases) {
		bool converted = false;
		EXPECT_EQ(test.path, Convert(converter, test.entry, "", &converted))
			<< test.entry;
		EXPECT_TRUE(converted) << test.entry;
	}
}


TEST_F(DrvCvtTest, ResultsThatDoNotFitFailCleanly)
{
	TDrvCvt converter;
	ASSERT_TRUE(converter.SetBeDL('E', BString(std::string(2000, 'v').c_str())));
	bool converted = true;
	std::string tooLong = "E:\\" + std::string(100, 'n');
	EXPECT_EQ("<unwritten>", Convert(converter, tooLong.c_str(), "", &converted));
	EXPECT_FALSE(converted);

	// Half-width katakana triple in length when converted.
	std::string kana = "C:\\" + std::string(1000, '\xb1');
	EXPECT_EQ("<unwritten>", Convert(converter, kana.c_str(), "", &converted));
	EXPECT_FALSE(converted);

	std::string fits = "E:\\" + std::string(2047 - 2001 - 1, 'n');
	EXPECT_EQ(2047u, Convert(converter, fits.c_str(), "", &converted).size());
	EXPECT_TRUE(converted);
}


TEST_F(DrvCvtTest, LettersAreCaseInsensitiveAndRooted)
{
	TDrvCvt converter;
	BString path;
	EXPECT_TRUE(converter.SetBeDL('e', BString("cdrom")));
	ASSERT_TRUE(converter.GetBeDL('E', &path));
	EXPECT_STREQ("/cdrom", path.String());
	EXPECT_FALSE(converter.SetBeDL('1', BString("/x")));
	EXPECT_FALSE(converter.GetBeDL('1', &path));
	EXPECT_FALSE(converter.GetBeDL('b', &path));
	EXPECT_TRUE(converter.SetBeDL('C', BString()));
	EXPECT_FALSE(converter.GetBeDL('c', &path));
}


TEST_F(DrvCvtTest, SavedTableReplacesTheDefaults)
{
	{
		TDrvCvt converter;
		converter.SetBeDL('C', BString());
		converter.SetBeDL('Z', BString("/zip"));
		ASSERT_EQ(B_OK, converter.Save());
	}
	BFile file(TableFile().c_str(), B_READ_ONLY);
	BMessage saved;
	ASSERT_EQ(B_OK, saved.Unflatten(&file));
	EXPECT_EQ(0u, saved.what);
	EXPECT_EQ(26, saved.CountNames(B_STRING_TYPE));

	TDrvCvt reloaded;
	bool converted = true;
	Convert(reloaded, "C:\\a.mid", "", &converted);
	EXPECT_FALSE(converted);
	BString path;
	ASSERT_TRUE(reloaded.GetBeDL('z', &path));
	EXPECT_STREQ("/zip", path.String());
	ASSERT_TRUE(reloaded.GetBeDL('A', &path));
	EXPECT_STREQ("/no name", path.String());
}


TEST_F(DrvCvtTest, PartialOrUnreadableTablesBehaveAsDocumented)
{
	BMessage partial;
	partial.AddString("D", "data");
	partial.AddInt32("E", 5);
	std::filesystem::create_directories(fHome.Folder("Shared"));
	{
		BFile file(TableFile().c_str(), B_WRITE_ONLY | B_CREATE_FILE);
		ASSERT_EQ(B_OK, partial.Flatten(&file));
	}
	TDrvCvt converter;
	BString path;
	EXPECT_FALSE(converter.GetBeDL('C', &path));
	EXPECT_FALSE(converter.GetBeDL('E', &path));
	ASSERT_TRUE(converter.GetBeDL('D', &path));
	EXPECT_STREQ("/data", path.String());

	write_whole_file(TableFile(), "garbage");
	TDrvCvt defaults;
	EXPECT_TRUE(defaults.GetBeDL('C', &path));
	EXPECT_STREQ("/windows", path.String());
	EXPECT_NE(B_OK, defaults.Load());
}
