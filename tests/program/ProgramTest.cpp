#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Entry.h>
#include <ExitState.h>
#include <NativeListWriter.h>
#include <Pref.h>

#include "PrivateBus.h"
#include "SMFProducer.h"
#include "TempFolder.h"
#include "TitleText.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const kProgram = VANTU_PROGRAM;
// A child that has not ended by then hangs; it is killed and the test fails.
const auto kWatchdog = std::chrono::seconds(60);


std::string
read_file(const std::string& path)
{
	std::ifstream stream(path);
	std::stringstream text;
	text << stream.rdbuf();
	return text.str();
}


// Every file below `folder`, as paths relative to it.
std::vector<std::string>
files_below(const std::string& folder)
{
	std::vector<std::string> files;
	std::error_code error;
	for (auto it = fs::recursive_directory_iterator(folder, error);
			it != fs::recursive_directory_iterator(); it.increment(error)) {
		if (it->is_regular_file())
			files.push_back(fs::relative(it->path(), folder).string());
	}
	return files;
}


// The program started as a child in a home of its own: settings, data and
// the runtime folder (and so its single-instance socket) are the test's.
// Output goes to files the test reads after the child has ended.
class Child {
public:
	Child(const TempFolder& home, std::vector<std::string> arguments,
		std::vector<std::string> unset = {}, bool offscreen = true)
		:
		fOut(home / ("out-" + std::to_string(sCount))),
		fErr(home / ("err-" + std::to_string(sCount)))
	{
		sCount++;
		std::vector<std::string> environment;
		for (char** variable = environ; *variable != nullptr; variable++) {
			const std::string entry = *variable;
			const std::string name = entry.substr(0, entry.find('='));
			bool keep = name != "HOME" && name.rfind("XDG_", 0) != 0
				&& name != "QT_QPA_PLATFORM";
			for (const std::string& gone : unset)
				keep = keep && name != gone;
			if (keep)
				environment.push_back(entry);
		}
		environment.push_back("HOME=" + home.Path());
		environment.push_back("XDG_CONFIG_HOME=" + home / "config");
		environment.push_back("XDG_DATA_HOME=" + home / "data");
		environment.push_back("XDG_RUNTIME_DIR=" + home / "runtime");
		if (offscreen)
			environment.push_back("QT_QPA_PLATFORM=offscreen");
		fs::create_directories(home / "runtime");
		fs::permissions(home / "runtime", fs::perms::owner_all);

		arguments.insert(arguments.begin(), kProgram);
		std::vector<char*> argv;
		for (std::string& argument : arguments)
			argv.push_back(argument.data());
		argv.push_back(nullptr);
		std::vector<char*> envp;
		for (std::string& entry : environment)
			envp.push_back(entry.data());
		envp.push_back(nullptr);

		posix_spawn_file_actions_t actions;
		posix_spawn_file_actions_init(&actions);
		posix_spawn_file_actions_addopen(&actions, 1, fOut.c_str(),
			O_WRONLY | O_CREAT | O_TRUNC, 0600);
		posix_spawn_file_actions_addopen(&actions, 2, fErr.c_str(),
			O_WRONLY | O_CREAT | O_TRUNC, 0600);
		EXPECT_EQ(0, posix_spawn(&fPid, kProgram, &actions, nullptr, argv.data(),
			envp.data()));
		posix_spawn_file_actions_destroy(&actions);
	}

	~Child()
	{
		if (fPid > 0) {
			kill(fPid, SIGKILL);
			waitpid(fPid, nullptr, 0);
		}
	}

	// The exit status; -1 when it did not end in time (it is then killed)
	// or ended by a signal.
	int Wait()
	{
		const auto deadline = std::chrono::steady_clock::now() + kWatchdog;
		int status = 0;
		while (waitpid(fPid, &status, WNOHANG) == 0) {
			if (std::chrono::steady_clock::now() > deadline) {
				ADD_FAILURE() << "the program did not end";
				return -1;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(20));
		}
		fPid = -1;
		return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	}

	void Signal(int signal) { kill(fPid, signal); }

	std::string Out() const { return read_file(fOut); }
	std::string Err() const { return read_file(fErr); }

private:
	static inline int sCount = 0;
	std::string fOut;
	std::string fErr;
	pid_t fPid = -1;
};


TExitState
saved_exit_state(const TempFolder& home)
{
	TExitState state;
	const std::string path = home / "config/PELKAN/VantuMIDI/VantuMIDI_ExitStates.arc";
	EXPECT_TRUE(state.Load(BEntry(path.c_str()))) << path;
	return state;
}


std::string
demo_song()
{
	return (fs::path(kProgram).parent_path() / "Demo/morning-walk.mid").string();
}


// The child is up and handing-over works once a second start, naming
// nothing, has been taken: that start is queued behind the first's own
// files, and the signal handler is in place.
void
wait_until_running(const TempFolder& home)
{
	// The first start has claimed the display once its socket is there; a
	// start before that would be the first itself.
	const auto deadline = std::chrono::steady_clock::now() + kWatchdog;
	const auto claimed = [&home]() {
		std::error_code error;
		for (const auto& entry : fs::directory_iterator(home / "runtime", error)) {
			if (entry.is_socket())
				return true;
		}
		return false;
	};
	while (!claimed()) {
		ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no socket";
		std::this_thread::sleep_for(std::chrono::milliseconds(20));
	}
	Child raise(home, {});
	ASSERT_EQ(0, raise.Wait()) << raise.Err();
}

}


TEST(ProgramTest, OptionsAnswerWithoutAWindowOrTheSettings)
{
	struct {
		std::vector<std::string> arguments;
		int status;
		const char* out;
		const char* err;
	} cases[] = {
		{{"--version"}, 0, "Vantu MIDI Ver 5.34\n", ""},
		{{"--help"}, 0, "Usage: VantuMIDI [OPTION]... [FILE]...", ""},
		{{"--frobnicate"}, 2, "", "VantuMIDI: unknown option '--frobnicate'"},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.arguments.front());
		TempFolder home;
		Child child(home, c.arguments);
		EXPECT_EQ(c.status, child.Wait());
		EXPECT_EQ(0u, child.Out().find(c.out)) << child.Out();
		if (c.err[0] == '\0')
			EXPECT_EQ("", child.Err());
		else
			EXPECT_EQ(0u, child.Err().find(c.err)) << child.Err();
		EXPECT_TRUE(files_below(home / "config").empty());
	}
}


TEST(ProgramTest, NoDisplayIsOneLineAndStatusOneBeforeAnySettingIsWritten)
{
	TempFolder home;
	Child child(home, {"--reset-preferences"}, {"DISPLAY", "WAYLAND_DISPLAY"}, false);
	EXPECT_EQ(1, child.Wait());
	const std::string err = child.Err();
	EXPECT_EQ(1, std::count(err.begin(), err.end(), '\n')) << err;
	EXPECT_NE(std::string::npos, err.find("display")) << err;
	EXPECT_TRUE(files_below(home / "config").empty());
}


TEST(ProgramTest, FirstStartListsTheDemoAndSigtermSavesTheState)
{
	TempFolder home;
	Child first(home, {});
	wait_until_running(home);
	first.Signal(SIGTERM);
	ASSERT_EQ(0, first.Wait()) << first.Err();

	const TExitState state = saved_exit_state(home);
	EXPECT_EQ("Ver 5.34", state.lastVersion);
	// The new list was never saved: the session's end kept it aside, and the
	// next start reopens it.
	const std::string recovered = home / "config/PELKAN/VantuMIDI/Recovered";
	ASSERT_EQ(0u, state.mainListFile.rfind(recovered, 0)) << state.mainListFile;
	EXPECT_NE(std::string::npos, read_file(state.mainListFile).find(demo_song()))
		<< read_file(state.mainListFile);
	EXPECT_TRUE(fs::exists(home / "config/PELKAN/VantuMIDI/VantuMIDI_AIDatabase.dat"));
}


TEST(ProgramTest, SecondStartHandsOverItsFilesAndSigtermLeavesTheListFileAlone)
{
	TempFolder home;
	TempFolder music;
	const std::string song1 = music / "one.mid";
	const std::string song2 = music / "two.mid";
	fs::copy_file(demo_song(), song1);
	fs::copy_file(demo_song(), song2);
	const std::string list = music / "Evening.lml";
	ASSERT_EQ(B_OK, write_native_list(list.c_str(), {song1}, nullptr));
	const std::string listBefore = read_file(list);
	{
		// The last run ended with that list.
		TExitState state;
		state.mainListFile = list;
		const std::string folder = home / "config/PELKAN/VantuMIDI";
		fs::create_directories(folder);
		ASSERT_TRUE(state.Save(BEntry((folder + "/VantuMIDI_ExitStates.arc").c_str())));
	}

	Child first(home, {});
	wait_until_running(home);
	Child second(home, {song2});
	EXPECT_EQ(0, second.Wait()) << second.Err();
	first.Signal(SIGTERM);
	ASSERT_EQ(0, first.Wait()) << first.Err();

	EXPECT_EQ(listBefore, read_file(list));
	const TExitState state = saved_exit_state(home);
	EXPECT_EQ(home / "config/PELKAN/VantuMIDI/Recovered/Evening.lml", state.mainListFile);
	const std::string recovered = read_file(state.mainListFile);
	EXPECT_NE(std::string::npos, recovered.find(song1)) << recovered;
	EXPECT_NE(std::string::npos, recovered.find(song2)) << recovered;
}


TEST(ProgramTest, ResetPreferencesWritesTheDefaultsAndStartsFromTheDefaultState)
{
	TempFolder home;
	TempFolder music;
	const std::string folder = home / "config/PELKAN/VantuMIDI";
	fs::create_directories(folder);
	const std::string list = music / "Kept.lml";
	ASSERT_EQ(B_OK, write_native_list(list.c_str(), {}, nullptr));
	{
		TPref pref;
		pref.autoSortKind = 2;
		pref.sendSysResets = true;
		ASSERT_TRUE(pref.Save(BEntry((folder + "/VantuMIDI_Prefs.arc").c_str())));
		TExitState state;
		state.mainListFile = list;
		state.playMode = 3;
		ASSERT_TRUE(state.Save(BEntry((folder + "/VantuMIDI_ExitStates.arc").c_str())));
	}

	Child first(home, {"--reset-preferences"});
	wait_until_running(home);
	first.Signal(SIGTERM);
	ASSERT_EQ(0, first.Wait()) << first.Err();

	TPref pref;
	pref.autoSortKind = -1;
	ASSERT_TRUE(pref.Load(BEntry((folder + "/VantuMIDI_Prefs.arc").c_str())));
	EXPECT_EQ(TPref().autoSortKind, pref.autoSortKind);
	EXPECT_FALSE(pref.sendSysResets);
	// Not the last run's list or mode: the run began from the defaults.
	const TExitState state = saved_exit_state(home);
	EXPECT_NE(list, state.mainListFile);
	EXPECT_EQ(0, state.playMode);
}


// The running program is a media player of the desktop's session bus: its
// "now playing" shows the song the window shows, and the media keys control
// it. (The other tests run without a bus, as over ssh.)
TEST(ProgramTest, TheDesktopSeesWhatPlaysAndItsMediaKeysControlIt)
{
	private_bus::PrivateBus bus;
	if (bus.Address().empty() || !private_bus::have_program("playerctl"))
		GTEST_SKIP() << "no dbus-daemon or playerctl for a session bus of the test's own";
	const auto playerctl = [](const std::vector<std::string>& arguments) {
		std::vector<std::string> command = {"playerctl", "--player=VantuMIDI"};
		command.insert(command.end(), arguments.begin(), arguments.end());
		private_bus::ToolRun tool(command);
		const auto deadline = std::chrono::steady_clock::now() + kWatchdog;
		while (!tool.Finished() && std::chrono::steady_clock::now() < deadline)
			std::this_thread::sleep_for(std::chrono::milliseconds(20));
		std::string output = tool.Output();
		return output.substr(0, output.find('\n'));
	};
	const auto waitForStatus = [&](const std::string& status) {
		const auto deadline = std::chrono::steady_clock::now() + kWatchdog;
		while (playerctl({"status"}) != status) {
			if (std::chrono::steady_clock::now() > deadline)
				return false;
			std::this_thread::sleep_for(std::chrono::milliseconds(50));
		}
		return true;
	};
	TSMFProducer song;
	entry_ref ref;
	ASSERT_EQ(B_OK, get_ref_for_path(demo_song().c_str(), &ref));
	ASSERT_EQ(B_OK, song.SetTo(&ref));
	std::string rawTitle;
	const bool titled = song.GetTitle(&rawTitle) == B_OK;
	const std::string title = pelkan::song_title(titled ? &rawTitle : nullptr, demo_song());

	TempFolder home;
	Child first(home, {demo_song()});
	wait_until_running(home);
	ASSERT_TRUE(waitForStatus("Playing")) << first.Err();
	EXPECT_EQ(title, playerctl({"metadata", "title"}));
	playerctl({"pause"});
	EXPECT_TRUE(waitForStatus("Paused"));
	playerctl({"play-pause"});
	EXPECT_TRUE(waitForStatus("Playing"));
	playerctl({"stop"});
	EXPECT_TRUE(waitForStatus("Stopped"));
	first.Signal(SIGTERM);
	ASSERT_EQ(0, first.Wait()) << first.Err();
}
