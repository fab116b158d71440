#include <gtest/gtest.h>

#include <string>

#include <CLNative100.h>

#include "LoaderTestSupport.h"

namespace {

class CLNative100Test : public testing::Test {
protected:
	std::string Write(const std::string& content)
	{
		const std::string path = fFolder / "list.lml";
		write_whole_file(path, content);
		return path;
	}

	TempFolder fFolder;
	TCLNative100 fLoader;
};

}


TEST_F(CLNative100Test, RecognisesOnlyTheExactHeaderLine)
{
	const struct {
		std::string content;
		bool loadable;
	} cases[] = {
		{"TirokaList$1\n", true},
		{"TirokaList$1\r\n/a.mid\r\n", true},
		{"TirokaList$1", true},
		{"TirokaList$1 \n", false},
		{" TirokaList$1\n", false},
		{"\xEF\xBB\xBFTirokaList$1\n", false},
		{"TirokaList$10\n", false},
		{"TirokaList$\n", false},
		{std::string("TirokaList$1\0\n", 14), false},
		{"", false},
		{"\n", false},
		{std::string(100000, '\xff'), false},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(testing::PrintToString(test.content.substr(0, 20)));
		const Detection detection = detect(fLoader, Write(test.content));
		EXPECT_EQ(test.loadable, detection.loadable);
		EXPECT_EQ(kSupportNative100, detection.kind);
	}
}


TEST_F(CLNative100Test, FolderAndMissingFileAreNotLists)
{
	for (const std::string& path : {fFolder.Path(), fFolder / "missing.lml"}) {
		const Detection detection = detect(fLoader, path);
		EXPECT_FALSE(detection.loadable) << path;
		EXPECT_EQ(kSupportNative100, detection.kind);
	}
}


TEST_F(CLNative100Test, LoadsEveryLineAfterTheHeader)
{
	const std::string longLine(3000, 'x');
	const std::string fullLine(2047, 'y');
	const struct {
		std::string content;
		std::list<std::string> entries;
	} cases[] = {
		{"TirokaList$1\n", {}},
		{"TirokaList$1", {}},
		{"TirokaList$1\n/a.mid\n\nC:\\MIDI\\b.mid\n", {"/a.mid", "", "C:\\MIDI\\b.mid"}},
		{"TirokaList$1\n/a.mid\n/b.mid", {"/a.mid", "/b.mid"}},
		{"TirokaList$1\r\n/a.mid\r\nb.mid\r\n", {"/a.mid", "b.mid"}},
		{"TirokaList$1\n" + longLine + "\n/c.mid\n",
			{longLine.substr(0, 2047), longLine.substr(2047), "/c.mid"}},
		// The line feed after a full line is read as a line of its own.
		{"TirokaList$1\n" + fullLine + "\n", {fullLine, ""}},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(testing::PrintToString(test.content.substr(0, 40)));
		int32 status;
		EXPECT_EQ(test.entries, load_entries(fLoader, Write(test.content), &status));
		EXPECT_EQ(0, status);
	}
}


TEST_F(CLNative100Test, UnreadableListLeavesTheEntriesAlone)
{
	for (const std::string& path : {fFolder.Path(), fFolder / "missing.lml"}) {
		std::list<std::string> entries{"kept"};
		EXPECT_EQ(-1, fLoader.Load(ref_for(path), &entries)) << path;
		EXPECT_EQ(std::list<std::string>{"kept"}, entries);
	}
}


TEST_F(CLNative100Test, IdentifiesItself)
{
	EXPECT_EQ("Container Loader Native 100", fLoader.Name());
	EXPECT_EQ("Ver 1.10", fLoader.Version());
	EXPECT_EQ("", fLoader.Path());
	EXPECT_EQ(2, fLoader.SpecificationNumber());
}
