// CPU time of the command-line player's --dump against midicsv on the same
// song: a 5 MB format 1 file shaped like busy real files (DenseSong.h).
// Both write to /dev/null; each runs `runs` times and its least user+system
// time counts. Goal: the dump costs no more than midicsv.
//
//   bench_dump_timing [runs] [other vantumidi-play ...]    (default 5 runs)
//
// Finds the player beside the benchmark's build folder (bin/vantumidi-play).
// Other players named on the command line (an older build, say) are timed
// in the same run; midicsv (Debian package midicsv) when it is installed.

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
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <DataIO.h>

#include "DenseSong.h"
#include "SMFProducer.h"
#include "SMFTrack.h"

extern char** environ;

namespace {

const size_t kSongBytes = 5 * 1000 * 1000;


double
seconds(const timeval& time)
{
	return time.tv_sec + time.tv_usec / 1e6;
}


double
monotonic_seconds()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return now.tv_sec + now.tv_nsec / 1e9;
}


struct Timing {
	bool ok;
	double cpu;
	double wall;
};


// Runs a program (looked up in PATH) with its output to /dev/null.
Timing
time_run(const std::vector<std::string>& arguments)
{
	Timing timing = {false, 0, 0};
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
	posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
	std::vector<char*> argv;
	for (const std::string& argument : arguments)
		argv.push_back(const_cast<char*>(argument.c_str()));
	argv.push_back(NULL);

	const double started = monotonic_seconds();
	pid_t pid;
	int spawnError = posix_spawnp(&pid, argv[0], &actions, NULL, argv.data(),
		environ);
	posix_spawn_file_actions_destroy(&actions);
	if (spawnError != 0)
		return timing;
	int status;
	rusage usage;
	if (wait4(pid, &status, 0, &usage) != pid)
		return timing;
	timing.wall = monotonic_seconds() - started;
	timing.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
	timing.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
	return timing;
}


// The least CPU time of `runs` runs, with the wall time of that run.
bool
report(const std::string& what, const std::vector<std::string>& arguments,
	int runs)
{
	Timing best = {false, 0, 0};
	for (int i = 0; i < runs; i++) {
		Timing timing = time_run(arguments);
		if (!timing.ok) {
			printf("  %-40s did not run to its end\n", what.c_str());
			return false;
		}
		if (!best.ok || timing.cpu < best.cpu)
			best = timing;
	}
	printf("  %-40s CPU %6.3f s   wall %6.3f s\n", what.c_str(), best.cpu,
		best.wall);
	return true;
}


size_t
count_events(const smf::Bytes& bytes)
{
	TSMFProducer song;
	BMemoryIO stream(bytes.data(), bytes.size());
	if (song.SetTo(&stream) != 0)
		return 0;
	size_t events = 0;
	for (int32 i = 0; i < song.CountTracks(); i++)
		events += song.TrackAt(i)->CountEvents();
	return events;
}

}	// namespace


int
main(int argc, char** argv)
{
	int runs = argc > 1 ? atoi(argv[1]) : 5;
	if (runs <= 0)
		runs = 5;
	std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
	std::vector<std::string> players
		= {(self.parent_path().parent_path() / "bin/vantumidi-play").string()};
	for (int i = 2; i < argc; i++)
		players.push_back(argv[i]);
	for (const std::string& player : players) {
		if (access(player.c_str(), X_OK) != 0) {
			fprintf(stderr, "%s not found; build the target vantumidi-play first\n",
				player.c_str());
			return 1;
		}
	}

	char folderPattern[] = "/tmp/vantu-bench-XXXXXX";
	if (mkdtemp(folderPattern) == NULL)
		return 1;
	const std::string folder = folderPattern;
	const std::string song = folder + "/dense.mid";
	const smf::Bytes bytes = DenseSong(kSongBytes);
	std::ofstream(song, std::ios::binary).write(
		reinterpret_cast<const char*>(bytes.data()), bytes.size());

	printf("a %zu-byte song of %zu events to /dev/null, least of %d runs:\n",
		bytes.size(), count_events(bytes), runs);
	bool ok = true;
	for (const std::string& player : players)
		ok = report(player + " --dump", {player, "--dump", song}, runs) && ok;
	if (access("/usr/bin/midicsv", X_OK) == 0)
		ok = report("midicsv", {"midicsv", song, "/dev/null"}, runs) && ok;
	else
		printf("  midicsv is not installed: nothing to compare with\n");
	std::filesystem::remove_all(folder);
	return ok ? 0 : 1;
}
