#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SMFBuilder.h"
#include "ScopedVariable.h"
#include "TempFolder.h"

namespace {

typedef std::vector<std::string> Lines;

const int kExitFailure = 1;
const int kExitUsage = 2;
const int kExitNoOutput = 3;


// Four beats of piano at 120 bpm: two seconds of music.
std::string
four_beats(const TempFolder& folder)
{
	smf::Track track;
	track.Name(0, "Four beats").Tempo(0, 500000).Event(0, {0xC0, 0})
		.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60)
		.NoteOn(0, 0, 64, 100).NoteOff(480, 0, 64)
		.NoteOn(0, 0, 67, 100).NoteOff(480, 0, 67)
		.NoteOn(0, 0, 72, 100).NoteOff(480, 0, 72).End();
	smf::Bytes bytes = smf::File({track});
	std::string path = folder / "four.mid";
	write_whole_file(path, std::string(bytes.begin(), bytes.end()));
	return path;
}


// The length of a 16-bit stereo 44100 Hz WAV file in microseconds, from its
// data chunk; -1 when it has none.
int64_t
wav_length(const std::string& path)
{
	std::string wav = read_whole_file(path);
	size_t data = wav.find("data");
	if (data == std::string::npos || data + 8 > wav.size())
		return -1;
	const unsigned char* size
		= reinterpret_cast<const unsigned char*>(wav.data() + data + 4);
	uint32_t bytes = size[0] | size[1] << 8 | size[2] << 16
		| (uint32_t)size[3] << 24;
	return (int64_t)bytes / 4 * 1000000 / 44100;
}


TEST(PlayerCommandTest, HelpStatesTheDumpFormat)
{
	RunResult result = run_player({"--help"});
	ASSERT_TRUE(result.finished);
	EXPECT_EQ(0, result.exitStatus);
	EXPECT_EQ(0u, result.output.find("usage: vantumidi-play [options] FILE..."));
	EXPECT_NE(std::string::npos, result.output.find("TIME_US PORT HEX"));
	EXPECT_EQ("", result.errors);
}


TEST(PlayerCommandTest, BadUsageIsOneLineAndStatusTwo)
{
	TempFolder folder;
	std::string song = four_beats(folder);
	struct Case {
		std::vector<std::string> arguments;
		std::string error;
	} cases[] = {
		{{}, "no files to play (see --help)"},
		{{"--key", "99", song},
			"bad value '99' for --key: expected semitones from -12 to 12"},
		{{"-a", "No Such Device", song},
			"no output device \"No Such Device\" (see -l)"},
		{{"-a", "none", "-b", "none", song},
			"no output device: both ports are set to \"none\""},
		{{"--wav", folder / "out.wav", "-b", "Some Device", song},
			"--wav renders through the soft synth; -b can only be \"synth\" or"
			" \"none\""},
	};
	for (const Case& test : cases) {
		RunResult result = run_player(test.arguments);
		ASSERT_TRUE(result.finished);
		EXPECT_EQ(kExitUsage, result.exitStatus) << test.error;
		EXPECT_EQ(Lines({"vantumidi-play: " + test.error}),
			lines_of(result.errors));
		EXPECT_EQ("", result.output);
	}
}


TEST(PlayerCommandTest, ListsTheSoftSynth)
{
	RunResult result = run_player({"-l"});
	ASSERT_TRUE(result.finished);
	EXPECT_EQ(0, result.exitStatus);
	Lines lines = lines_of(result.output);
	ASSERT_GE(lines.size(), 2u);
	EXPECT_EQ("    ID  DEVICE", lines[0]);
	EXPECT_EQ("     -  Vantu MIDI Soft Synth (built in; \"synth\"; the default"
		" for port A)", lines[1]);
}


TEST(PlayerCommandTest, DumpOfOnlyBadFilesFailsWithALinePerFile)
{
	TempFolder folder;
	write_whole_file(folder / "empty.mid", "");
	RunResult result = run_player({"--dump", folder / "empty.mid",
		folder.Path()});
	ASSERT_TRUE(result.finished);
	EXPECT_EQ(kExitFailure, result.exitStatus);
	EXPECT_EQ("", result.output);
	EXPECT_EQ(Lines({
		"vantumidi-play: " + folder / "empty.mid"
			+ ": not a Standard MIDI File, or damaged",
		"vantumidi-play: " + folder.Path() + ": is a folder, not a file"
	}), lines_of(result.errors));
}


TEST(PlayerCommandTest, UnwritableWavOrMissingSoundFontIsStatusThree)
{
	TempFolder folder;
	std::string song = four_beats(folder);
	struct Case {
		std::vector<std::string> arguments;
		std::string start;
	} cases[] = {
		{{"--wav", folder / "no/such/folder/out.wav", song},
			"vantumidi-play: the soft synth cannot start: "},
		{{"--soundfont", folder / "missing.sf2", "--wav", folder / "out.wav",
			song}, "vantumidi-play: the soft synth cannot start: "},
	};
	for (const Case& test : cases) {
		RunResult result = run_player(test.arguments);
		ASSERT_TRUE(result.finished);
		EXPECT_EQ(kExitNoOutput, result.exitStatus);
		Lines lines = lines_of(result.errors);
		ASSERT_EQ(1u, lines.size()) << result.errors;
		EXPECT_EQ(0u, lines[0].find(test.start)) << lines[0];
	}
}


TEST(PlayerCommandTest, DoubleTempoHalvesTheRenderedSong)
{
	TempFolder folder;
	std::string song = four_beats(folder);
	int64_t lengths[2];
	const char* const tempos[2] = {"100", "200"};
	for (int i = 0; i < 2; i++) {
		std::string wav = folder / (std::string("out") + tempos[i] + ".wav");
		RunResult result = run_player({"--tempo", tempos[i], "--wav", wav,
			song});
		ASSERT_TRUE(result.finished);
		if (result.exitStatus == kExitNoOutput)
			GTEST_SKIP() << "no soft synth here: " << result.errors;
		ASSERT_EQ(0, result.exitStatus) << result.errors;
		lengths[i] = wav_length(wav);
		ASSERT_GT(lengths[i], 0);
	}
	// Both end with the same release of the last note.
	EXPECT_NEAR(1000000, lengths[0] - lengths[1], 25000);
}


TEST(PlayerCommandTest, TheEnvironmentSendsRealTimePlayIntoAWavFile)
{
	TempFolder folder;
	smf::Track track;
	track.Tempo(0, 500000).NoteOn(0, 0, 60, 100).NoteOff(120, 0, 60).End();
	smf::Bytes bytes = smf::File({track});
	const std::string song = folder / "short.mid";
	write_whole_file(song, std::string(bytes.begin(), bytes.end()));
	const std::string fromEnvironment = folder / "environment.wav";
	ScopedVariable variable("VANTU_SOFTSYNTH_WAV", fromEnvironment.c_str());

	// --wav wins over the environment.
	const std::string fromOption = folder / "option.wav";
	RunResult rendered = run_player({"--wav", fromOption, song});
	ASSERT_TRUE(rendered.finished);
	if (rendered.exitStatus == kExitNoOutput)
		GTEST_SKIP() << "no soft synth here: " << rendered.errors;
	ASSERT_EQ(0, rendered.exitStatus) << rendered.errors;
	EXPECT_GE(wav_length(fromOption), 125000);
	EXPECT_EQ(-1, wav_length(fromEnvironment));

	// Without it the song plays on the real clock, an eighth of a second,
	// into the environment's file instead of an audio device.
	RunResult played = run_player({song});
	ASSERT_TRUE(played.finished);
	ASSERT_EQ(0, played.exitStatus) << played.errors;
	EXPECT_GE(wav_length(fromEnvironment), 125000);
}

}	// namespace
