#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <CommandLine.h>

#include "TempFolder.h"

namespace {

struct Parsed {
	TCommandLine line;
	std::string out;
	std::string err;
};


Parsed
parse(const std::vector<std::string>& strings, const std::string& workingDir)
{
	std::vector<const char*> arguments = {"/usr/bin/VantuMIDI"};
	for (const std::string& argument : strings)
		arguments.push_back(argument.c_str());
	std::ostringstream out;
	std::ostringstream err;
	Parsed parsed;
	parsed.line = TCommandLine::Parse(arguments.size(), arguments.data(), workingDir, out,
		err);
	parsed.out = out.str();
	parsed.err = err.str();
	return parsed;
}


class CommandLineTest : public testing::Test {
protected:
	void SetUp() override
	{
		std::ofstream(fFolder / "song.mid") << "MThd";
		std::ofstream(fFolder / "-dash.mid") << "MThd";
		std::filesystem::create_directory(fFolder / "sub");
	}

	TempFolder fFolder;
};

}


TEST_F(CommandLineTest, OptionsThatEndAtOnceAnswerOnTheRightStream)
{
	struct {
		std::vector<std::string> arguments;
		int status;
		const char* out;
		const char* err;
	} cases[] = {
		{{"--version"}, 0, "Vantu MIDI Ver 5.34\n", ""},
		{{"--help"}, 0, "Usage: VantuMIDI [OPTION]... [FILE]...", ""},
		{{"-h"}, 0, "Usage: VantuMIDI", ""},
		// The first of them counts; what follows is not looked at.
		{{"--version", "--bogus"}, 0, "Vantu MIDI Ver 5.34\n", ""},
		{{"--bogus"}, 2, "", "VantuMIDI: unknown option '--bogus'\nUsage: VantuMIDI"},
		{{"song.mid", "-x"}, 2, "", "unknown option '-x'"},
	};
	for (const auto& c : cases) {
		const Parsed parsed = parse(c.arguments, fFolder.Path());
		SCOPED_TRACE(c.arguments.front());
		EXPECT_TRUE(parsed.line.exitNow);
		EXPECT_EQ(c.status, parsed.line.exitStatus);
		EXPECT_EQ(0u, parsed.out.find(c.out)) << parsed.out;
		if (c.err[0] == '\0')
			EXPECT_EQ("", parsed.err);
		else
			EXPECT_NE(std::string::npos, parsed.err.find(c.err)) << parsed.err;
	}
}


TEST_F(CommandLineTest, FilesBecomeAbsoluteAndMissingOnesAreReportedAndSkipped)
{
	const std::string folder = fFolder.Path();
	struct {
		std::vector<std::string> arguments;
		std::vector<std::string> files;
		const char* err;
		bool reset;
	} cases[] = {
		{{}, {}, "", false},
		{{"song.mid", "sub"}, {folder + "/song.mid", folder + "/sub"}, "", false},
		{{"./sub/../song.mid", "sub/."}, {folder + "/song.mid", folder + "/sub"}, "", false},
		{{folder + "/song.mid"}, {folder + "/song.mid"}, "", false},
		{{"gone.mid", "song.mid"}, {folder + "/song.mid"}, "gone.mid: no such file", false},
		// After "--" a name that looks like an option is a file.
		{{"--", "-dash.mid"}, {folder + "/-dash.mid"}, "", false},
		{{"--reset-preferences", "song.mid"}, {folder + "/song.mid"}, "", true},
		{{"-"}, {}, "-: no such file", false},
	};
	for (const auto& c : cases) {
		const Parsed parsed = parse(c.arguments, folder);
		SCOPED_TRACE(testing::PrintToString(c.arguments));
		EXPECT_FALSE(parsed.line.exitNow);
		EXPECT_EQ(c.files, parsed.line.files);
		EXPECT_EQ(c.reset, parsed.line.resetPreferences);
		EXPECT_EQ("", parsed.out);
		if (c.err[0] == '\0')
			EXPECT_EQ("", parsed.err);
		else
			EXPECT_NE(std::string::npos, parsed.err.find(c.err)) << parsed.err;
	}
}


// Installed, the program lies in a folder of its own behind a link in bin/:
// its add-on folders are those beside the real executable.
TEST_F(CommandLineTest, HelpNamesTheAddOnFoldersBesideTheExecutableAndTheUsers)
{
	const std::string program = std::filesystem::read_symlink("/proc/self/exe").parent_path();
	const std::string user = std::string(getenv("XDG_DATA_HOME")) + "/VantuMIDI";
	const std::string folders = "  " + program + "/Language\n  " + user + "/Language\n  "
		+ program + "/Loader\n  " + user + "/Loader\n";

	const Parsed parsed = parse({"--help"}, fFolder.Path());
	EXPECT_NE(std::string::npos, parsed.out.find(folders)) << parsed.out;
}
