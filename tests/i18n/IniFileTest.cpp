#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <DataIO.h>
#include <IniFile.h>
#include <List.h>

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
