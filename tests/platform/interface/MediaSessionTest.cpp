#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include <MediaSession.h>
#include <Messenger.h>
#include <SteppedClock.h>

#include "InterfaceKit.h"
#include "InterfaceTestSupport.h"
#include "PrivateBus.h"
#include "RecordingLooper.h"

using namespace interface_test;
using private_bus::PrivateBus;
using private_bus::ToolRun;

namespace {

const char kName[] = "VantuSessionTest";
const char kBusName[] = "org.mpris.MediaPlayer2.VantuSessionTest";
const char kPath[] = "/org/mpris/MediaPlayer2";
const char kPlayer[] = "org.mpris.MediaPlayer2.Player";
const bigtime_t kSecond = 1000000;


// A tool run to its end while the GUI loop serves the session.
std::string
run_tool(const std::vector<std::string>& arguments, int* status = nullptr)
{
	ToolRun tool(arguments);
	EXPECT_TRUE(pump_until([&] { return tool.Finished(); }, 10000))
		<< arguments[0] << " did not end";
	if (status != nullptr)
		*status = tool.ExitStatus();
	return tool.Output();
}


std::string
call(const std::string& interface, const std::string& method,
	const std::vector<std::string>& arguments = {}, const char* busName = kBusName)
{
	std::vector<std::string> command = {"gdbus", "call", "--session", "--dest", busName,
		"--object-path", kPath, "--method", interface + "." + method};
	command.insert(command.end(), arguments.begin(), arguments.end());
	int status = -1;
	const std::string output = run_tool(command, &status);
	EXPECT_EQ(status, 0) << interface << "." << method;
	return output;
}


std::string
get(const std::string& property, const std::string& interface = kPlayer)
{
	return call("org.freedesktop.DBus.Properties", "Get", {interface, property});
}


class MediaSessionTest : public testing::Test {
protected:
	void SetUp() override
	{
		if (fBus.Address().empty())
			GTEST_SKIP() << "no dbus-daemon to run a private session bus";
		if (!private_bus::have_program("gdbus"))
			GTEST_SKIP() << "no gdbus to call the session";
		BPrivate::ensure_interface_kit();
		fTarget = new RecordingLooper("session target");
		fTarget->Run();
		fSession = std::make_unique<BMediaSession>(kName, "Vantu Test", "vantutest",
			BMessenger(fTarget));
		ASSERT_EQ(fSession->InitCheck(), B_OK);
	}

	void TearDown() override
	{
		fSession.reset();
		if (fTarget != nullptr)
			fTarget->Finish();
	}

	PrivateBus fBus;
	RecordingLooper* fTarget = nullptr;
	std::unique_ptr<BMediaSession> fSession;
};


TEST_F(MediaSessionTest, EachMethodArrivesAsItsMessage)
{
	const struct {
		const char* interface;
		const char* method;
		std::vector<std::string> arguments;
		uint32 what;
	} cases[] = {
		{kPlayer, "Play", {}, B_MEDIA_PLAY_REQUESTED},
		{kPlayer, "Pause", {}, B_MEDIA_PAUSE_REQUESTED},
		{kPlayer, "PlayPause", {}, B_MEDIA_PLAY_PAUSE_REQUESTED},
		{kPlayer, "Stop", {}, B_MEDIA_STOP_REQUESTED},
		{kPlayer, "Next", {}, B_MEDIA_NEXT_REQUESTED},
		{kPlayer, "Previous", {}, B_MEDIA_PREVIOUS_REQUESTED},
		{kPlayer, "Seek", {"--", "-2500000"}, B_MEDIA_SEEK_REQUESTED},
		{"org.mpris.MediaPlayer2", "Raise", {}, B_MEDIA_RAISE_REQUESTED},
	};
	for (const auto& entry : cases) {
		SCOPED_TRACE(entry.method);
		call(entry.interface, entry.method, entry.arguments);
		const std::vector<BMessage> received = fTarget->Drain();
		ASSERT_EQ(received.size(), 1u);
		EXPECT_EQ(received[0].what, entry.what);
	}
	call(kPlayer, "Seek", {"--", "-2500000"});
	const std::vector<BMessage> seek = fTarget->Drain();
	ASSERT_EQ(seek.size(), 1u);
	int64 offset = 0;
	EXPECT_EQ(seek[0].FindInt64("offset", &offset), B_OK);
	EXPECT_EQ(offset, -2500000);
}


// A position meant for a song that has gone since, or outside the song, is
// dropped by the session: the program never hears of it.
TEST_F(MediaSessionTest, SetPositionReachesTheProgramOnlyForTheCurrentSong)
{
	fSession->SetTrack({7, "Song", 60 * kSecond});
	const std::string current = std::string("/") + kName + "/track/7";
	const struct {
		std::string track;
		const char* position;
		bool posted;
	} cases[] = {
		{current, "30000000", true},
		{std::string("/") + kName + "/track/6", "30000000", false},
		{current, "61000000", false},
		{current, "-1", false},
	};
	for (const auto& entry : cases) {
		SCOPED_TRACE(entry.track + " " + entry.position);
		call(kPlayer, "SetPosition", {"--", entry.track, entry.position});
		const std::vector<BMessage> received = fTarget->Drain();
		ASSERT_EQ(received.size(), entry.posted ? 1u : 0u);
		if (entry.posted) {
			EXPECT_EQ(received[0].what, uint32(B_MEDIA_SET_POSITION_REQUESTED));
			int64 position = 0;
			EXPECT_EQ(received[0].FindInt64("position", &position), B_OK);
			EXPECT_EQ(position, 30000000);
		}
	}
}


TEST_F(MediaSessionTest, PropertiesShowWhatTheProgramSet)
{
	EXPECT_EQ(get("PlaybackStatus"), "(<'Stopped'>,)\n");
	EXPECT_EQ(get("Metadata"),
		"(<{'mpris:trackid': <objectpath '/org/mpris/MediaPlayer2/TrackList/NoTrack'>}>,)\n");
	EXPECT_EQ(get("CanPlay"), "(<false>,)\n");

	fSession->SetPlaybackStatus(media_playback_status::Paused);
	fSession->SetTrack({3, "Träumerei 'live'", 95 * kSecond});
	fSession->SetCapabilities(true, true, false, true, false);
	EXPECT_EQ(get("PlaybackStatus"), "(<'Paused'>,)\n");
	const std::string metadata = get("Metadata");
	EXPECT_NE(metadata.find("'mpris:trackid': <objectpath '/VantuSessionTest/track/3'>"),
		std::string::npos) << metadata;
	EXPECT_NE(metadata.find("'xesam:title': <\"Träumerei 'live'\">"), std::string::npos)
		<< metadata;
	EXPECT_NE(metadata.find("'mpris:length': <int64 95000000>"), std::string::npos)
		<< metadata;
	const struct {
		const char* property;
		const char* interface;
		const char* value;
	} cases[] = {
		{"CanPlay", kPlayer, "(<true>,)\n"},
		{"CanPause", kPlayer, "(<true>,)\n"},
		{"CanGoNext", kPlayer, "(<false>,)\n"},
		{"CanGoPrevious", kPlayer, "(<true>,)\n"},
		{"CanSeek", kPlayer, "(<false>,)\n"},
		{"CanControl", kPlayer, "(<true>,)\n"},
		{"Identity", "org.mpris.MediaPlayer2", "(<'Vantu Test'>,)\n"},
		{"DesktopEntry", "org.mpris.MediaPlayer2", "(<'vantutest'>,)\n"},
		{"CanQuit", "org.mpris.MediaPlayer2", "(<false>,)\n"},
		{"CanRaise", "org.mpris.MediaPlayer2", "(<true>,)\n"},
	};
	for (const auto& entry : cases)
		EXPECT_EQ(get(entry.property, entry.interface), entry.value) << entry.property;
}


// Setters called from other threads run their bus work on the GUI thread,
// in the order they were called.
TEST_F(MediaSessionTest, SettersFromAnotherThreadArriveInOrder)
{
	std::thread other([this] {
		fSession->SetPlaybackStatus(media_playback_status::Playing);
		fSession->SetTrack({1, "First", 0});
		fSession->SetTrack({2, "Second", 0});
	});
	other.join();
	settle();
	EXPECT_EQ(get("PlaybackStatus"), "(<'Playing'>,)\n");
	EXPECT_NE(get("Metadata").find("'Second'"), std::string::npos);
}


// The player makes and ends its session on its window's thread, where Qt
// has no event loop: the session still lives, and dies, on the GUI thread.
TEST_F(MediaSessionTest, ASessionMadeAndEndedOnAnotherThreadWorks)
{
	// Runs `work` on a thread of its own while this thread, the GUI
	// thread, goes on serving Qt as the program's does.
	const auto onOtherThread = [](const std::function<void()>& work) {
		std::atomic<bool> done = false;
		std::thread other([&] {
			work();
			done = true;
		});
		while (!done)
			QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
		other.join();
	};
	std::unique_ptr<BMediaSession> second;
	onOtherThread([&] {
		second = std::make_unique<BMediaSession>(kName, "Vantu Test", "vantutest",
			BMessenger(fTarget));
	});
	ASSERT_EQ(second->InitCheck(), B_OK);
	second->SetPlaybackStatus(media_playback_status::Playing);
	settle();
	EXPECT_EQ(call("org.freedesktop.DBus.Properties", "Get", {kPlayer, "PlaybackStatus"},
		second->BusName().c_str()), "(<'Playing'>,)\n");
	onOtherThread([&] { second.reset(); });
	EXPECT_EQ(get("PlaybackStatus"), "(<'Stopped'>,)\n");
}


// A client reads the position when it wants it; the session runs it on from
// the last one set, at the rate set, without the program waking.
TEST_F(MediaSessionTest, PositionRunsOnFromTheLastOneSet)
{
	BSteppedClock clock(100 * kSecond);
	BClock* previous = set_current_clock(&clock);
	fSession->SetTrack({1, "Song", 10 * kSecond});
	fSession->SetPosition(2 * kSecond, 1.5);
	clock.Advance(2 * kSecond);
	const std::string moving = get("Position");
	const std::string rate = get("Rate");
	clock.Advance(20 * kSecond);
	const std::string atEnd = get("Position");
	fSession->SetPosition(3 * kSecond, 0);
	clock.Advance(5 * kSecond);
	const std::string standing = get("Position");
	const std::string rateKept = get("Rate");
	set_current_clock(previous);

	EXPECT_EQ(moving, "(<int64 5000000>,)\n");
	EXPECT_EQ(rate, "(<1.5>,)\n");
	EXPECT_EQ(atEnd, "(<int64 10000000>,)\n");
	EXPECT_EQ(standing, "(<int64 3000000>,)\n");
	EXPECT_EQ(rateKept, "(<1.5>,)\n");
}


// Each change is announced once; a value set again is not announced; a
// jump of the position is announced as Seeked.
TEST_F(MediaSessionTest, ChangesAreAnnouncedOnce)
{
	ToolRun monitor({"gdbus", "monitor", "--session", "--dest", kBusName});
	// The monitor listens once it reports a change made after it started;
	// only what follows the last such change counts.
	uint64 probe = 100;
	ASSERT_TRUE(pump_until([&] {
		fSession->SetTrack({probe++, "probe", 0});
		monitor.Finished();
		return monitor.Output().find("'probe'") != std::string::npos;
	})) << monitor.Output();
	fSession->SetPlaybackStatus(media_playback_status::Playing);
	fSession->SetPlaybackStatus(media_playback_status::Playing);
	fSession->SetTrack({4, "Announced", 0});
	fSession->SetTrack({4, "Announced", 0});
	fSession->SetCapabilities(true, false, false, false, false);
	fSession->SetPosition(kSecond, 1.0);
	fSession->SetPosition(42 * kSecond, 1.0, true);
	ASSERT_TRUE(pump_until([&] {
		monitor.Finished();
		return monitor.Output().find("Seeked") != std::string::npos;
	})) << monitor.Output();
	const std::string output = monitor.Output().substr(monitor.Output().rfind("'probe'"));
	auto count = [&](const std::string& text) {
		size_t found = 0;
		for (size_t at = output.find(text); at != std::string::npos;
				at = output.find(text, at + 1)) {
			found++;
		}
		return found;
	};
	EXPECT_EQ(count("'PlaybackStatus': <'Playing'>"), 1u) << output;
	EXPECT_EQ(count("'Announced'"), 1u) << output;
	EXPECT_EQ(count("{'CanPlay': <true>}"), 1u) << output;
	EXPECT_EQ(count("Seeked (int64 42000000,)"), 1u) << output;
	EXPECT_EQ(count("PropertiesChanged"), 3u) << output;
}


TEST_F(MediaSessionTest, ASecondSessionTakesTheNameOfItsInstance)
{
	BMediaSession second(kName, "Vantu Test", "vantutest", BMessenger(fTarget));
	ASSERT_EQ(second.InitCheck(), B_OK);
	EXPECT_EQ(fSession->BusName(), kBusName);
	EXPECT_EQ(second.BusName(),
		std::string(kBusName) + ".instance" + std::to_string(getpid()));
	call(kPlayer, "Next", {}, second.BusName().c_str());
	const std::vector<BMessage> received = fTarget->Drain();
	ASSERT_EQ(received.size(), 1u);
	EXPECT_EQ(received[0].what, uint32(B_MEDIA_NEXT_REQUESTED));
}


// Without a session bus nothing is offered, nothing is printed, and the
// setters still work.
TEST(MediaSessionWithoutBus, IsNotOfferedAndSaysNothing)
{
	ASSERT_EQ(getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);
	BPrivate::ensure_interface_kit();
	testing::internal::CaptureStderr();
	{
		BMediaSession session(kName, "Vantu Test", "vantutest", BMessenger());
		EXPECT_EQ(session.InitCheck(), B_NO_INIT);
		EXPECT_EQ(session.BusName(), "");
		session.SetPlaybackStatus(media_playback_status::Playing);
		session.SetTrack({1, "Song", kSecond});
		session.SetCapabilities(true, true, true, true, true);
		session.SetPosition(0, 1.0, true);
		settle();
	}
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}
