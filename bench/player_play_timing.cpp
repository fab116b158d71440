// The desktop player's start latency: from the Play command reaching the
// player's window to the song's first Note On reaching the devices of
// port A, on the real clock, with system resets and the silence between
// songs off (the preferences' defaults). Port A feeds the real soft synth,
// which renders into a WAV file (VANTU_SOFTSYNTH_WAV) so that no audio
// device is needed, and a recording consumer that notes the arrival.
// Then the cost of the position update the window handles once a second
// while a song moves (a stopped or paused player has no timer at all).
//
//   bench_player_play_timing [runs]    (default 50)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <Application.h>
#include <InterfaceKit.h>

#include "../tests/player/PlayerDriver.h"

namespace {

bigtime_t
first_note_on(const BMidiRecordingConsumer* device)
{
	for (const auto& event : device->Events()) {
		if ((event.data[0] & 0xF0) == 0x90 && event.data.size() == 3 && event.data[2] != 0)
			return event.arrival;
	}
	return -1;
}


bigtime_t
cpu_time()
{
	rusage usage;
	getrusage(RUSAGE_SELF, &usage);
	return bigtime_t(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000
		+ usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

}	// namespace


int
main(int argc, char** argv)
{
	const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
	setenv("QT_QPA_PLATFORM", "offscreen", 0);
	PlayerDriver driver([](const std::string& fault) {
		fprintf(stderr, "driving the player: %s\n", fault.c_str());
		exit(1);
	});
	setenv("VANTU_SOFTSYNTH_WAV", (driver.fFolder / "out.wav").c_str(), 1);
	int kitArgc = 1;
	BPrivate::init_interface_kit(kitArgc, argv);
	new BApplication("application/x-vnd.PELKAN-player-bench");
	PlayerDriver::ResetRecords();

	BMidiRecordingConsumer* probe = new BMidiRecordingConsumer("Timing Probe");
	probe->Register();
	driver.fRealSynth = true;
	driver.Open({driver.MakeSong("song.mid",
		{{0, 400, 60}, {0, 400, 64}, {0, 400, 67}}, 500)});
	if (!driver.StatusText().empty()) {
		printf("no soft synth here:%s\n", driver.StatusText().c_str());
		driver.Close();
		return 0;
	}
	driver.fView->ConnectMidiOut(0, probe->ID());

	std::vector<bigtime_t> latencies;
	for (int run = 0; run < runs; run++) {
		probe->Clear();
		const bigtime_t start = system_time();
		driver.Post(kMsgPlay);
		bigtime_t arrival;
		while ((arrival = first_note_on(probe)) < 0)
			snooze(50);
		latencies.push_back(arrival - start);
		driver.Post(kMsgStop);
	}
	std::sort(latencies.begin(), latencies.end());
	printf("play to first Note On at the device, %d runs: median %.2f ms, "
		"min %.2f ms, 90%% %.2f ms, max %.2f ms\n", runs,
		latencies[runs / 2] / 1000.0, latencies.front() / 1000.0,
		latencies[runs * 9 / 10] / 1000.0, latencies.back() / 1000.0);

	const int updates = 10000;
	const bigtime_t before = cpu_time();
	for (int update = 0; update < updates; update++)
		driver.Post(kMsgUpdatePosRqtd);
	printf("position update, once a second while playing: %.1f us of CPU each\n",
		double(cpu_time() - before) / updates);
	driver.Close();
	return 0;
}
