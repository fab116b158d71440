// Offline rendering with the soft synth, as the command-line player's WAV
// mode does it: a dense three-minute song through the sequencer on
// free-running virtual time, the output chain and the synth into a WAV file;
// next to it the fluidsynth program rendering the same file with the same
// sound font (fluidsynth -F out.wav -ni SOUNDFONT song.mid). "realtime" is
// how many times faster than real time.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <DataIO.h>
#include <Looper.h>
#include <Message.h>
#include <MidiLocalProducer.h>
#include <SoftSynth.h>
#include <VirtualClock.h>

#include "SongEndWaiter.h"
#include "../tests/engine/SMFBuilder.h"
#include "MidiFilter.h"
#include "NoteOnManager.h"
#include "SMFProducer.h"
#include "SongEndCode.h"

extern char** environ;

namespace {

const uint32 kDivision = 480;
const uint32 kTempo = 500000;
const double kSongSeconds = 180;
const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2",
	"/usr/share/sounds/sf2/TimGM6mb.sf2",
	"/usr/share/soundfonts/default.sf2"};


// Fifteen instruments in eighth notes, each note held for a beat, chords
// moving every bar, and drums in sixteenths: about 70 notes a second.
smf::Bytes
DenseThreeMinuteSong()
{
	const uint32 eighth = kDivision / 2;
	const uint32 bars = kSongSeconds / 2;
	const uint8 programs[] = {0, 4, 11, 19, 24, 32, 40, 42, 48, 52, 56, 61, 65,
		73, 81};
	const uint8 chordRoots[] = {48, 53, 55, 45};

	std::vector<smf::Track> tracks;
	smf::Track conductor;
	conductor.Tempo(0, kTempo).End();
	tracks.push_back(conductor);

	uint8 channel = 0;
	for (uint8 program : programs) {
		if (channel == 9)
			channel++;
		smf::Track track;
		track.Event(0, {uint8(0xC0 | channel), program});
		track.Event(0, {uint8(0xB0 | channel), 10, uint8(channel * 8)});
		// Two notes sound at once: each lasts two eighths and starts an
		// eighth after the one before.
		uint8 sounding[2] = {0, 0};
		for (uint32 step = 0; step < bars * 8; step++) {
			uint8 root = chordRoots[step / 8 % 4];
			uint8 note = root + (channel % 5) * 3 + (step * 7 + channel) % 12;
			uint32 delta = step > 0 ? eighth : 0;
			if (step >= 2) {
				track.NoteOff(delta, channel, sounding[step % 2]);
				delta = 0;
			}
			track.NoteOn(delta, channel, note, 70 + step % 40);
			sounding[step % 2] = note;
		}
		track.NoteOff(eighth, channel, sounding[0])
			.NoteOff(0, channel, sounding[1]).End();
		tracks.push_back(track);
		channel++;
	}

	smf::Track drums;
	const uint32 sixteenth = kDivision / 4;
	for (uint32 step = 0; step < bars * 16; step++) {
		drums.NoteOn(0, 9, 42, 90);
		if (step % 4 == 0)
			drums.NoteOn(0, 9, step % 8 == 0 ? 36 : 38, 110);
		drums.NoteOff(sixteenth, 9, 42);
	}
	drums.End();
	tracks.push_back(drums);
	return smf::File(tracks, kDivision);
}


std::string
FindSoundFont()
{
	for (const char* path : kSoundFonts) {
		if (access(path, R_OK) == 0)
			return path;
	}
	return std::string();
}


struct Files {
	Files()
	{
		std::string pattern = (std::filesystem::temp_directory_path()
			/ "softsynth-bench-XXXXXX").string();
		if (mkdtemp(pattern.data()) != NULL)
			folder = pattern;
		song = folder + "/song.mid";
		wav = folder + "/out.wav";
		smf::Bytes bytes = DenseThreeMinuteSong();
		std::ofstream(song, std::ios::binary).write(
			reinterpret_cast<const char*>(bytes.data()), bytes.size());
	}

	~Files()
	{
		std::error_code ignored;
		std::filesystem::remove_all(folder, ignored);
	}

	std::string folder;
	std::string song;
	std::string wav;
};


void
ReportSpeed(benchmark::State& state)
{
	state.counters["realtime"] = benchmark::Counter(kSongSeconds,
		benchmark::Counter::kIsIterationInvariantRate);
}


void
SoftSynthRender(benchmark::State& state)
{
	std::string soundFont = FindSoundFont();
	if (soundFont.empty()) {
		state.SkipWithError("no sound font installed");
		return;
	}
	Files files;
	smf::Bytes bytes = DenseThreeMinuteSong();
	SongEndWaiter* waiter = new SongEndWaiter;
	waiter->Run();

	for (auto _ : state) {
		BVirtualClock clock(0);
		BClock* previous = set_current_clock(&clock);
		BSoftSynth::Options options;
		options.soundFont = soundFont.c_str();
		options.wavFile = files.wav.c_str();
		BSoftSynth* synth;
		BString reason;
		if (BSoftSynth::Create(options, &synth, &reason) != B_OK) {
			state.SkipWithError(reason.String());
			set_current_clock(previous);
			break;
		}
		TMidiFilter* filter = new TMidiFilter("Vantu MIDI OUT A");
		TNoteOnManager* manager = new TNoteOnManager;
		manager->Connect(filter);
		filter->Producer()->Connect(synth);
		{
			TSMFProducer song;
			song.SetMessage(new BMessage(kMsgSongEnded));
			song.SetTarget(waiter);
			BMemoryIO stream(bytes.data(), bytes.size());
			song.SetTo(&stream);
			song.Producer(0)->Connect(manager);
			song.Play();
			waiter->WaitForEnd();
			song.Stop();
		}
		synth->Finish();
		synth->Release();
		filter->Release();
		manager->Release();
		set_current_clock(previous);
	}
	waiter->Lock();
	waiter->Quit();
	ReportSpeed(state);
}


void
FluidSynthProgram(benchmark::State& state)
{
	std::string soundFont = FindSoundFont();
	if (soundFont.empty()) {
		state.SkipWithError("no sound font installed");
		return;
	}
	Files files;
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null",
		O_WRONLY, 0);
	posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null",
		O_WRONLY, 0);
	const char* arguments[] = {"fluidsynth", "-F", files.wav.c_str(), "-ni",
		soundFont.c_str(), files.song.c_str(), NULL};

	for (auto _ : state) {
		pid_t child;
		int status = 0;
		if (posix_spawnp(&child, "fluidsynth", &actions, NULL,
				const_cast<char**>(arguments), environ) != 0
			|| waitpid(child, &status, 0) != child
			|| !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
			state.SkipWithError("the fluidsynth program did not run");
			break;
		}
	}
	posix_spawn_file_actions_destroy(&actions);
	ReportSpeed(state);
}

}	// namespace


BENCHMARK(SoftSynthRender)->Unit(benchmark::kMillisecond)->UseRealTime()
	->Iterations(1)->Repetitions(3);
BENCHMARK(FluidSynthProgram)->Unit(benchmark::kMillisecond)->UseRealTime()
	->Iterations(1)->Repetitions(3);
