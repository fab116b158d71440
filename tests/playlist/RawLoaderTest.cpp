#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "LoaderTestSupport.h"

namespace {

class RawLoaderTest : public testing::Test {
protected:
	void SetUp() override
	{
		fLoader = make_loader_from(RAW_LOADER_FILE);
		ASSERT_NE(nullptr, fLoader);
	}

	std::string Write(const std::string& content)
	{
		const std::string path = fFolder / "list.txt";
		write_whole_file(path, content);
		return path;
	}

	// `count` lines that name no MIDI file.
	static std::string Lines(int count)
	{
		std::string lines;
		for (int i = 0; i < count; i++)
			lines += "line " + std::to_string(i) + "\n";
		return lines;
	}

	TempFolder fFolder;
	std::unique_ptr<TContainerLoader> fLoader;
};

}


TEST_F(RawLoaderTest, FirstLineThatEndsInMidMakesARawList)
{
	const struct {
		const char* line;
		bool midiName;
	} cases[] = {
		{"a.mid", true},
		{"SONG.MID", true},
		{"a.Mid\r", true},
		{"pyramid", true},
		{"mid", true},
		{"C:\\MIDI\\a.mid", true},
		{"  ../a.mid", true},
		{"id", false},
		{"", false},
		{"a.midi", false},
		{"a.mid ", false},
		{"a.txt", false},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(test.line);
		const Detection detection = detect(*fLoader, Write(std::string(test.line) + "\n"));
		EXPECT_EQ(test.midiName, detection.loadable);
		EXPECT_EQ(test.midiName ? kSupportRawList : kUnwrittenKind, detection.kind);
	}
}


TEST_F(RawLoaderTest, NamesOnLinesTwoToElevenMakeASemiRawList)
{
	const struct {
		std::string content;
		bool loadable;
		TSupportFmt kind;
	} cases[] = {
		{"My songs\n\nC:\\MIDI\\a.mid\n", true, kSupportSemiRawList},
		{Lines(1) + "a.mid", true, kSupportSemiRawList},
		{Lines(10) + "a.mid\n", true, kSupportSemiRawList},
		{Lines(11) + "a.mid\n", false, kUnwrittenKind},
		{Lines(3), false, kUnwrittenKind},
		{"", false, kUnwrittenKind},
		{"TirokaList$1\n/a.mid\n", true, kSupportSemiRawList},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(testing::PrintToString(test.content.substr(0, 30)));
		const Detection detection = detect(*fLoader, Write(test.content));
		EXPECT_EQ(test.loadable, detection.loadable);
		EXPECT_EQ(test.kind, detection.kind);
	}
}


TEST_F(RawLoaderTest, FoldersAreRefusedWithoutWritingTheKind)
{
	std::filesystem::create_directory(fFolder / "songs.mid");
	std::filesystem::create_directory_symlink(fFolder / "songs.mid", fFolder / "link.mid");
	for (const char* name : {"songs.mid", "link.mid", "missing.mid"}) {
		const Detection detection = detect(*fLoader, fFolder / name);
		EXPECT_FALSE(detection.loadable) << name;
		EXPECT_EQ(kUnwrittenKind, detection.kind) << name;
	}
}


TEST_F(RawLoaderTest, LoadsEveryLineThatEndsInMidAsWritten)
{
	int32 status;
	const std::list<std::string> entries = load_entries(*fLoader,
		Write("Title\r\n  C:\\MIDI\\a.mid\r\n\nb.MID\nc.midi\nd.txt\n../e.mid"),
		&status);
	EXPECT_EQ(0, status);
	EXPECT_EQ((std::list<std::string>{"  C:\\MIDI\\a.mid", "b.MID", "../e.mid"}),
		entries);
}


TEST_F(RawLoaderTest, LongAndBinaryLinesAreSplitSafely)
{
	std::string binary;
	for (int i = 0; i < 100000; i++)
		binary.push_back(static_cast<char>((i * 7919) % 256 == '\n' ? 0 : (i * 7919) % 256));
	int32 status;
	const std::list<std::string> entries = load_entries(*fLoader,
		Write(binary + "\n" + std::string(2045, 'x') + "a.mid\nlast.mid"), &status);
	EXPECT_EQ(0, status);
	// The long line is cut after 2047 bytes; its rest still ends in "mid".
	EXPECT_EQ((std::list<std::string>{"mid", "last.mid"}), entries);
}


TEST_F(RawLoaderTest, UnreadableListFails)
{
	std::list<std::string> entries;
	EXPECT_EQ(-1, fLoader->Load(ref_for(fFolder / "missing.txt"), &entries));
	EXPECT_EQ(-1, fLoader->Load(ref_for(fFolder.Path()), &entries));
	EXPECT_TRUE(entries.empty());
}


TEST_F(RawLoaderTest, IdentifiesItself)
{
	EXPECT_EQ("Container Loader Raw List", fLoader->Name());
	EXPECT_EQ("Ver 1.10", fLoader->Version());
	EXPECT_EQ(RAW_LOADER_FILE, fLoader->Path());
	EXPECT_EQ(2, fLoader->SpecificationNumber());
	const std::string description = fLoader->Description();
	EXPECT_EQ(2, std::count(description.begin(), description.end(), '\n'));
}
