// Whole-program start latency of the command-line player: from the moment
// vantumidi-play is started to the moment its first Note On reaches the soft
// synth, as the player's --timing option reports it on the monotonic clock.
// Counts everything a user waits for: loading the program, the soundfont and
// the song, creating the synth and its output, the start of the play thread.
// Where no audio output exists the synth renders into a WAV file instead;
// that leaves out only the opening of the sound device.
//
//   bench_play_start_timing [runs]    (default 20)
//
// Finds the player beside the benchmark's build folder (bin/vantumidi-play).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../tests/engine/SMFBuilder.h"

extern char** environ;

namespace {

const int kExitNoOutput = 3;


long long
monotonic_now()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
}


struct Run {
	int exitStatus;
	std::string errors;
	long long spawned;
};


Run
run(const std::string& program, const std::vector<std::string>& arguments)
{
	Run result = {-1, "", 0};
	int errors[2];
	if (pipe2(errors, O_CLOEXEC) != 0)
		return result;
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
	posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
	posix_spawn_file_actions_adddup2(&actions, errors[1], 2);
	std::vector<char*> argv = {const_cast<char*>(program.c_str())};
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(NULL);

	pid_t pid;
	result.spawned = monotonic_now();
	int spawnError = posix_spawn(&pid, program.c_str(), &actions, NULL,
		argv.data(), environ);
	posix_spawn_file_actions_destroy(&actions);
	close(errors[1]);
	if (spawnError == 0) {
		char buffer[4096];
		ssize_t count;
		while ((count = read(errors[0], buffer, sizeof(buffer))) > 0)
			result.errors.append(buffer, count);
		int status;
		waitpid(pid, &status, 0);
		result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	}
	close(errors[0]);
	return result;
}


// The "start … us, note … us" figures of the --timing line.
bool
timing_of(const std::string& errors, long long* start, long long* note)
{
	size_t line = errors.find("timing: first Note On");
	if (line == std::string::npos)
		return false;
	return sscanf(errors.c_str() + errors.find("(start", line),
		"(start %lld us, note %lld us", start, note) == 2;
}


void
print_figures(const char* what, std::vector<long long> values)
{
	std::sort(values.begin(), values.end());
	printf("  %-34s median %7.1f ms   min %7.1f ms   max %7.1f ms\n", what,
		values[values.size() / 2] / 1000.0, values.front() / 1000.0,
		values.back() / 1000.0);
}

}	// namespace


int
main(int argc, char** argv)
{
	int runs = argc > 1 ? atoi(argv[1]) : 20;
	if (runs <= 0)
		runs = 20;
	std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
	std::string player
		= (self.parent_path().parent_path() / "bin/vantumidi-play").string();
	if (access(player.c_str(), X_OK) != 0) {
		fprintf(stderr, "%s not found; build the target vantumidi-play first\n",
			player.c_str());
		return 1;
	}

	char folderPattern[] = "/tmp/vantu-bench-XXXXXX";
	if (mkdtemp(folderPattern) == NULL)
		return 1;
	std::string folder = folderPattern;
	std::string song = folder + "/one-note.mid";
	std::string wav = folder + "/out.wav";
	smf::Track track;
	track.Name(0, "One note").NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).End();
	smf::Bytes bytes = smf::File({track});
	std::ofstream(song, std::ios::binary).write(
		reinterpret_cast<const char*>(bytes.data()), bytes.size());

	// To the audio output when there is one, else into a file.
	std::vector<std::string> arguments = {"--timing", song};
	const char* mode = "soft synth to the audio output";
	if (run(player, arguments).exitStatus == kExitNoOutput) {
		arguments = {"--timing", "--wav", wav, song};
		mode = "soft synth into a WAV file (no audio output here)";
	}

	std::vector<long long> total, toMain, mainToNote;
	for (int i = 0; i < runs; i++) {
		Run result = run(player, arguments);
		long long start, note;
		if (result.exitStatus != 0 || !timing_of(result.errors, &start, &note)) {
			fprintf(stderr, "run failed (%d): %s", result.exitStatus,
				result.errors.c_str());
			std::filesystem::remove_all(folder);
			return 1;
		}
		total.push_back(note - result.spawned);
		toMain.push_back(start - result.spawned);
		mainToNote.push_back(note - start);
	}
	std::filesystem::remove_all(folder);

	printf("vantumidi-play start to first note, %d runs, %s:\n", runs, mode);
	print_figures("start to first note (goal 300 ms)", total);
	print_figures("  of it: start to main()", toMain);
	print_figures("  of it: main() to first note", mainToNote);
	return 0;
}
