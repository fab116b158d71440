// What the built-in soft synth costs to make, on the real clock: finding and
// loading the General MIDI sound font, starting FluidSynth and its audio
// output (or opening a WAV file instead), and joining the MIDI roster, then
// its release. The first creation in a process is shown apart, since it also
// pays for FluidSynth's own start and the sound font's first read from disk,
// which is what a starting program waits for.
//
//   bench_softsynth_create_timing [runs]    (default 20)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <OS.h>
#include <SoftSynth.h>

#include "SoftSynthCreation.h"
#include "TempFolder.h"

namespace {

// Creates and releases the synth `runs` times; false when it cannot be made
// here, with the reason printed.
bool
time_creation(const char* label, const std::string& wavPath, int runs)
{
	std::vector<bigtime_t> creations;
	std::vector<bigtime_t> releases;
	for (int run = 0; run < runs; run++) {
		std::string problem;
		const bigtime_t start = system_time();
		BSoftSynth* synth = pelkan::create_soft_synth("", wavPath, &problem);
		const bigtime_t created = system_time();
		if (synth == NULL) {
			printf("%s: cannot be made here (%.2f ms to fail): %s\n", label,
				(created - start) / 1000.0, problem.c_str());
			return false;
		}
		synth->Release();
		creations.push_back(created - start);
		releases.push_back(system_time() - created);
	}
	const bigtime_t first = creations.front();
	std::sort(creations.begin(), creations.end());
	std::sort(releases.begin(), releases.end());
	printf("%s, %d runs: first %.2f ms; median %.2f ms, min %.2f ms, max %.2f ms; "
		"release median %.2f ms\n", label, runs, first / 1000.0,
		creations[runs / 2] / 1000.0, creations.front() / 1000.0,
		creations.back() / 1000.0, releases[runs / 2] / 1000.0);
	return true;
}

}	// namespace


int
main(int argc, char** argv)
{
	const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
	TempFolder folder;
	time_creation("into a WAV file", folder / "out.wav", runs);
	time_creation("to the audio output", "", runs);
	return 0;
}
