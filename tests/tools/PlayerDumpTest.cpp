#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SMFBuilder.h"
#include "TempFolder.h"

namespace {

typedef std::vector<std::string> Lines;


void
write_song(const std::string& path, const smf::Bytes& bytes)
{
	write_whole_file(path, std::string(bytes.begin(), bytes.end()));
}


// 480 ticks a beat at 500000 µs: a beat is half a second. A note on channel
// 1 that moves to port B after its first beat, and a drum on channel 10.
smf::Bytes
two_port_song()
{
	smf::Track conductor;
	conductor.Name(0, "Tiny").Tempo(0, 500000).End();
	smf::Track melody;
	melody.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).Port(0, 1)
		.NoteOn(0, 0, 62, 100).NoteOff(480, 0, 62).End();
	smf::Track drums;
	drums.NoteOn(0, 9, 36, 100).NoteOff(240, 9, 36).End();
	return smf::File({conductor, melody, drums});
}


// A note that the song never ends, and a System Exclusive message.
smf::Bytes
hanging_note_song()
{
	smf::Track track;
	track.SysEx(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7})
		.NoteOn(0, 2, 64, 90).NoteOn(960, 3, 48, 80).NoteOff(0, 3, 48).End();
	return smf::File({track});
}


class PlayerDumpTest : public testing::Test {
protected:
	void SetUp() override
	{
		fSong = fFolder / "song.mid";
		write_song(fSong, two_port_song());
	}

	Lines Dump(std::vector<std::string> options)
	{
		options.insert(options.begin(), "--dump");
		options.push_back(fSong);
		RunResult result = run_player(options);
		EXPECT_TRUE(result.finished);
		EXPECT_EQ(0, result.exitStatus) << result.errors;
		EXPECT_EQ("", result.errors);
		return lines_of(result.output);
	}

	TempFolder fFolder;
	std::string fSong;
};


TEST_F(PlayerDumpTest, PrintsEveryMessageWithItsTimeAndPort)
{
	EXPECT_EQ(Lines({
		"0 A 903c64",
		"0 A 992464",
		"250000 A 892400",
		"500000 A 803c00",
		"500000 B 903e64",
		"1000000 B 803e00"
	}), Dump({}));
}


TEST_F(PlayerDumpTest, SlidersChangeWhatLeavesThePorts)
{
	struct Case {
		std::vector<std::string> options;
		Lines expected;
	} cases[] = {
		// Transposed, but never the drums on channel 10.
		{{"--key", "2"}, {"0 A 903e64", "0 A 992464", "250000 A 892400",
			"500000 A 803e00", "500000 B 904064", "1000000 B 804000"}},
		{{"--key=-12"}, {"0 A 903064", "0 A 992464", "250000 A 892400",
			"500000 A 803000", "500000 B 903264", "1000000 B 803200"}},
		// Velocities of Note Ons only.
		{{"--volume", "50"}, {"0 A 903c32", "0 A 992432", "250000 A 892400",
			"500000 A 803c00", "500000 B 903e32", "1000000 B 803e00"}},
		{{"--volume", "200"}, {"0 A 903c7f", "0 A 99247f", "250000 A 892400",
			"500000 A 803c00", "500000 B 903e7f", "1000000 B 803e00"}},
		{{"--tempo", "200"}, {"0 A 903c64", "0 A 992464", "125000 A 892400",
			"250000 A 803c00", "250000 B 903e64", "500000 B 803e00"}},
		{{"--tempo", "50"}, {"0 A 903c64", "0 A 992464", "500000 A 892400",
			"1000000 A 803c00", "1000000 B 903e64", "2000000 B 803e00"}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.options[0]);
		EXPECT_EQ(test.expected, Dump(test.options));
	}
}


TEST_F(PlayerDumpTest, ResetsComeFirstEachFollowedByItsQuiet)
{
	const Lines song = Dump({});
	struct Case {
		std::vector<std::string> options;
		Lines resets;
	} cases[] = {
		{{"--reset", "gm", "--reset-silence", "0"},
			{"0 A f07e7f0901f7", "0 B f07e7f0901f7"}},
		{{"--reset", "gm"},
			{"-300000 A f07e7f0901f7", "-300000 B f07e7f0901f7"}},
		// Always in the order GM, GS, 88, XG, whatever the list's order.
		{{"--reset=xg,GM", "--reset-silence", "1.5"},
			{"-3000000 A f07e7f0901f7", "-3000000 B f07e7f0901f7",
			"-1500000 A f043104c00007e00f7", "-1500000 B f043104c00007e00f7"}},
		{{"--reset", "gs,88", "--reset-silence", "0.25"},
			{"-500000 A f04110421240007f0041f7",
			"-500000 B f04110421240007f0041f7",
			"-250000 A f04110421200007f0001f7",
			"-250000 B f04110421200007f0001f7"}},
		{{"--reset", "none"}, {}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.options[0] + " " + test.options[1]);
		Lines expected = test.resets;
		expected.insert(expected.end(), song.begin(), song.end());
		EXPECT_EQ(expected, Dump(test.options));
	}
}


TEST_F(PlayerDumpTest, EndsTheNotesTheSongLeftSounding)
{
	write_song(fSong, hanging_note_song());
	EXPECT_EQ(Lines({
		"0 A f043104c00007e00f7",
		"0 A 924035",
		"1000000 A 93302f",
		"1000000 A 833000",
		// After the song: the note it never ended, with velocity 64.
		"1000000 A 824040"
	}), Dump({"--volume", "59"}));
}


TEST_F(PlayerDumpTest, EachFileStartsAtZeroAndABadFileIsSkipped)
{
	std::string bad = fFolder / "bad.mid";
	write_whole_file(bad, "MThd but not really");
	std::string second = fFolder / "second.mid";
	write_song(second, hanging_note_song());
	RunResult result = run_player({"--dump", "--gap", "2", fSong, bad,
		fFolder / "missing.mid", second});
	ASSERT_TRUE(result.finished);

	EXPECT_EQ(1, result.exitStatus);
	Lines expected = Dump({});
	expected.insert(expected.end(), {"0 A f043104c00007e00f7", "0 A 92405a",
		"1000000 A 933050", "1000000 A 833000", "1000000 A 824040"});
	EXPECT_EQ(expected, lines_of(result.output));
	EXPECT_EQ(Lines({
		"vantumidi-play: " + bad + ": not a Standard MIDI File, or damaged",
		"vantumidi-play: " + fFolder / "missing.mid"
			+ ": No such file or directory"
	}), lines_of(result.errors));
}


TEST(PlayerCommandTest, CtrlCSilencesEveryDeviceAndExits)
{
	TempFolder folder;
	std::string song = folder / "long.mid";
	smf::Track track;
	track.NoteOn(0, 0, 60, 100).NoteOff(480 * 600, 0, 60).End();
	write_song(song, smf::File({track}));

	ChildProcess player(VANTUMIDI_PLAY, {"--dump", "--real-time", song});
	ASSERT_TRUE(player.Started());
	ASSERT_TRUE(player.WaitForOutputLine(20000000));
	ASSERT_TRUE(player.Signal(SIGINT));
	ASSERT_TRUE(player.Finish(20000000));

	EXPECT_EQ(130, player.ExitStatus());
	Lines messages;
	for (const std::string& line : lines_of(player.Output()))
		messages.push_back(line.substr(line.find(' ') + 1));
	Lines expected = {"A 903c64", "A 803c40"};
	for (const char* port : {"A", "B"}) {
		for (int channel = 0; channel < 16; channel++) {
			for (const char* controller : {"7b00", "7800", "7900"}) {
				char line[16];
				snprintf(line, sizeof(line), "%s b%x%s", port, channel,
					controller);
				expected.push_back(line);
			}
		}
	}
	EXPECT_EQ(expected, messages);
	EXPECT_EQ(Lines({"vantumidi-play: interrupted (Interrupt); every device"
		" was silenced"}), lines_of(player.Errors()));
}

}	// namespace
