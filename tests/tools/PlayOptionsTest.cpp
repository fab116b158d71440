#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlayOptions.h"

namespace {

status_t
parse(std::vector<const char*> arguments, TPlayOptions* options,
	std::string* error)
{
	return parse_play_options(arguments.size(), arguments.data(), options,
		error);
}


TEST(PlayOptionsTest, DefaultsAreThePlayersSliders)
{
	TPlayOptions options;
	std::string error;
	ASSERT_EQ(B_OK, parse({"a.mid", "b.mid"}, &options, &error));
	EXPECT_EQ(std::vector<std::string>({"a.mid", "b.mid"}), options.files);
	EXPECT_EQ(100, options.tempo);
	EXPECT_EQ(0, options.key);
	EXPECT_EQ(100, options.volume);
	EXPECT_EQ(0, options.resetMask);
	EXPECT_EQ(300000, options.resetSilence);
	EXPECT_EQ(0, options.gap);
	EXPECT_FALSE(options.VirtualTime());
}


TEST(PlayOptionsTest, ReadsEveryOptionInBothForms)
{
	TPlayOptions options;
	std::string error;
	ASSERT_EQ(B_OK, parse({"--tempo=300", "--key", "-12", "--volume", "0",
		"--reset", "xg,gm", "--reset-silence=0", "--gap", "1.25", "-aMy Synth",
		"-b", "20", "--soundfont", "gm.sf2", "--wav", "out.wav", "--timing",
		"--", "--odd.mid"}, &options, &error)) << error;
	EXPECT_EQ(300, options.tempo);
	EXPECT_EQ(-12, options.key);
	EXPECT_EQ(0, options.volume);
	EXPECT_EQ(1 | 8, options.resetMask);
	EXPECT_EQ(0, options.resetSilence);
	EXPECT_EQ(1250000, options.gap);
	EXPECT_EQ("My Synth", options.devices[0]);
	EXPECT_EQ("20", options.devices[1]);
	EXPECT_EQ("gm.sf2", options.soundFont);
	EXPECT_EQ("out.wav", options.wavPath);
	EXPECT_TRUE(options.timing);
	EXPECT_TRUE(options.VirtualTime());
	EXPECT_EQ(std::vector<std::string>({"--odd.mid"}), options.files);
}


TEST(PlayOptionsTest, RefusesMistakesWithOneLine)
{
	struct Case {
		std::vector<const char*> arguments;
		const char* error;
	} cases[] = {
		{{}, "no files to play (see --help)"},
		{{"--frobnicate", "a.mid"}, "unknown option '--frobnicate' (see --help)"},
		{{"a.mid", "--tempo"}, "option '--tempo' needs a value"},
		{{"--tempo", "29", "a.mid"},
			"bad value '29' for --tempo: expected a percentage from 30 to 300"},
		{{"--tempo", "301", "a.mid"},
			"bad value '301' for --tempo: expected a percentage from 30 to 300"},
		{{"--tempo", "1e2", "a.mid"},
			"bad value '1e2' for --tempo: expected a percentage from 30 to 300"},
		{{"--key", "13", "a.mid"},
			"bad value '13' for --key: expected semitones from -12 to 12"},
		{{"--volume", "-1", "a.mid"},
			"bad value '-1' for --volume: expected a percentage from 0 to 200"},
		{{"--volume", "", "a.mid"},
			"bad value '' for --volume: expected a percentage from 0 to 200"},
		{{"--reset", "gm,mt32", "a.mid"},
			"bad value 'gm,mt32' for --reset: expected a list of gm, gs, 88,"
			" xg, or none"},
		{{"--reset", ",", "a.mid"},
			"bad value ',' for --reset: expected a list of gm, gs, 88, xg, or"
			" none"},
		{{"--gap", "-1", "a.mid"},
			"bad value '-1' for --gap: expected seconds from 0 to 3600"},
		{{"--gap", "nan", "a.mid"},
			"bad value 'nan' for --gap: expected seconds from 0 to 3600"},
		{{"--reset-silence", "61", "a.mid"},
			"bad value '61' for --reset-silence: expected seconds from 0 to 60"},
		{{"--dump=yes", "a.mid"}, "option '--dump' takes no value"},
		{{"--dump", "--wav", "x.wav", "a.mid"},
			"--dump and --wav cannot be combined"},
		{{"--dump", "-a", "synth", "a.mid"},
			"--dump plays on no device; -a and -b cannot be used with it"},
		{{"--real-time", "a.mid"}, "--real-time only applies to --dump"},
		{{"--wav=", "a.mid"}, "bad value '' for --wav: expected a file name"},
	};
	for (const Case& test : cases) {
		TPlayOptions options;
		std::string error;
		EXPECT_EQ(B_BAD_VALUE, parse(test.arguments, &options, &error))
			<< test.error;
		EXPECT_EQ(test.error, error);
	}
}


TEST(PlayOptionsTest, HelpAndListNeedNoFiles)
{
	TPlayOptions options;
	std::string error;
	ASSERT_EQ(B_OK, parse({"--tempo", "150", "-h", "--bogus"}, &options,
		&error));
	EXPECT_TRUE(options.help);
	ASSERT_EQ(B_OK, parse({"-l"}, &options, &error));
	EXPECT_TRUE(options.listDevices);
	EXPECT_FALSE(options.help);
}

}	// namespace
