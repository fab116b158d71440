#include <string>
#include <vector>

#include <QCoreApplication>

#include "PlayerRig.h"
#include "PrivateBus.h"

using private_bus::PrivateBus;
using private_bus::ToolRun;

namespace {

const char kBusName[] = "org.mpris.MediaPlayer2.VantuMIDI";


// The player on a session bus of the test's own, called and read by the
// desktop's tools while the window's messages and the bus are served.
class NowPlayingTest : public RigTest {
protected:
	void SetUp() override
	{
		RigTest::SetUp();
		if (fBus.Address().empty())
			GTEST_SKIP() << "no dbus-daemon to run a private session bus";
		for (const char* tool : {"gdbus", "playerctl"}) {
			if (!private_bus::have_program(tool))
				GTEST_SKIP() << "no " << tool << " to reach the player";
		}
		// Play starts the song at once: no resets, no silence first.
		gPref.sendSysResets = false;
		gPref.silenceBetweenSongs = false;
	}

	std::string Tool(const std::vector<std::string>& arguments)
	{
		ToolRun tool(arguments);
		const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
		while (!tool.Finished()) {
			QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
			Pump();
			if (std::chrono::steady_clock::now() > giveUp) {
				ADD_FAILURE() << arguments[0] << " " << arguments[1] << " did not end";
				return "";
			}
		}
		Pump();
		EXPECT_EQ(tool.ExitStatus(), 0) << arguments[0] << " " << arguments[1];
		std::string output = tool.Output();
		while (!output.empty() && output.back() == '\n')
			output.pop_back();
		return output;
	}

	void Call(const std::string& method, const std::vector<std::string>& arguments = {})
	{
		std::vector<std::string> command = {"gdbus", "call", "--session", "--dest", kBusName,
			"--object-path", "/org/mpris/MediaPlayer2", "--method",
			"org.mpris.MediaPlayer2.Player." + method};
		command.insert(command.end(), arguments.begin(), arguments.end());
		Tool(command);
	}

	std::string Playerctl(const std::vector<std::string>& arguments)
	{
		std::vector<std::string> command = {"playerctl", "--player=VantuMIDI"};
		command.insert(command.end(), arguments.begin(), arguments.end());
		return Tool(command);
	}

	// What a tool shows of a time in microseconds: seconds.
	static std::string Seconds(bigtime_t time)
	{
		return std::to_string(time / 1000000) + "." + std::to_string(time % 1000000 / 100000);
	}

	PrivateBus fBus;
};


TEST_F(NowPlayingTest, MediaKeysDriveThePlayerAndTheDesktopSeesItsState)
{
	const std::string a = MakeSong("a.mid", {{0, 100, 60}}, 5000);
	const std::string b = MakeSong("b.mid", {{0, 100, 62}}, 5000);
	const std::string c = MakeSong("c.mid", {{0, 100, 64}}, 5000);
	Run([&]() {
		Open({a, b, c});
		EXPECT_EQ(Playerctl({"status"}), "Stopped");
		const struct {
			const char* method;
			TTirokaState state;
			int32 song;
			const char* status;
		} steps[] = {
			{"Play", TS_Playing, 0, "Playing"},
			{"Pause", TS_Paused, 0, "Paused"},
			{"PlayPause", TS_Playing, 0, "Playing"},
			{"Next", TS_Playing, 1, "Playing"},
			{"Next", TS_Playing, 2, "Playing"},
			{"Previous", TS_Playing, 1, "Playing"},
			{"PlayPause", TS_Paused, 1, "Paused"},
			{"Play", TS_Playing, 1, "Playing"},
			{"Play", TS_Playing, 1, "Playing"},
			{"Stop", TS_Stopped, 1, "Stopped"},
			{"Pause", TS_Stopped, 1, "Stopped"},
			{"PlayPause", TS_Playing, 1, "Playing"},
		};
		for (const auto& step : steps) {
			SCOPED_TRACE(step.method);
			Call(step.method);
			Advance(100000);
			EXPECT_EQ(gAppPrivacy.State(), step.state);
			EXPECT_EQ(fView->CurSongIdx(), step.song);
			EXPECT_EQ(Playerctl({"status"}), step.status);
			EXPECT_EQ(Playerctl({"metadata", "title"}), fView->SongTitle());
		}
	});
}


// The title is the one the window shows; length and position are times,
// through the song's tempo changes and at the tempo slider's rate, and the
// position runs on while nothing wakes the player.
TEST_F(NowPlayingTest, TitleLengthAndPositionInTime)
{
	// 1 ms a tick for 1000 ticks, then 2 ms a tick for 1000 more: 3 s.
	const std::string song = WriteFile("tempo.mid", smf::File({smf::Track()
		.Name(0, "Night Song").Tempo(0, 500000).NoteOn(0, 0, 60, 90)
		.Tempo(1000, 1000000).NoteOff(1000, 0, 60).End()}, kDivision));
	Run([&]() {
		Open({song});
		Call("Play");
		EXPECT_EQ(fView->SongTitle(), "Night Song");
		EXPECT_EQ(Playerctl({"metadata", "--format", "{{title}}|{{mpris:length}}"}),
			"Night Song|3000000");
		Advance(1500000);
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(1500000));
		// Nothing of the player runs now, yet the position moves on.
		fClock.AdvanceTo(fClock.Now() + 400000);
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(1900000));
		Call("Pause");
		Advance(5000000);
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(1900000));
		EXPECT_EQ(Playerctl({"metadata", "--format", "{{title}}"}), "Night Song");
		Call("Play");
		Slide("SliderTempo", 200, kMsgTempoChanged);
		Advance(500000);
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(2900000));
	});
}


// A seek moves the song by time, through its tempo changes; one past the
// end is the next song; a stopped song does not move. The position slider's
// seek reaches the desktop too.
TEST_F(NowPlayingTest, SeeksFromTheDesktopMoveTheSong)
{
	const std::string first = WriteFile("first.mid", smf::File({smf::Track()
		.Tempo(0, 500000).NoteOn(0, 0, 60, 90).Tempo(1000, 1000000)
		.NoteOff(1000, 0, 60).End()}, kDivision));
	const std::string second = MakeSong("second.mid", {{0, 100, 62}}, 5000);
	Run([&]() {
		Open({first, second});
		Call("Play");
		Call("SetPosition", {Playerctl({"metadata", "mpris:trackid"}), "2000000"});
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(2000000));
		Call("Seek", {"--", "-1500000"});
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(500000));
		Slide("SliderPos", 75, kMsgPosChanged);
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(2000000));
		EXPECT_EQ(fView->CurSongIdx(), 0);
		// The largest offset there is: no overflow makes it a step back.
		Call("Seek", {"--", "9223372036854775807"});
		EXPECT_EQ(fView->CurSongIdx(), 1);
		Call("Stop");
		Call("SetPosition", {Playerctl({"metadata", "mpris:trackid"}), "1000000"});
		EXPECT_EQ(gAppPrivacy.State(), TS_Stopped);
		EXPECT_EQ(Playerctl({"position"}).substr(0, 3), Seconds(0));
	});
}

}	// namespace
