// vantumidi-play: plays Standard MIDI Files from the command line through
// the engine and output chains of the desktop program.

#include <cstdio>
#include <memory>

#include <Clock.h>
#include <Message.h>
#include <Messenger.h>
#include <MidiRoster.h>
#include <OS.h>
#include <OutputChains.h>
#include <SMFProducer.h>
#include <SongEndCode.h>
#include <String.h>
#include <VirtualClock.h>

#include <AlsaSequencer.h>

#include "DeviceSet.h"
#include "DumpWriter.h"
#include "ExitStatus.h"
#include "MessageInbox.h"
#include "OutputDevices.h"
#include "PlayOptions.h"
#include "Player.h"
#include "Problem.h"
#include "SignalWatch.h"

namespace {

// Owns the inbox looper, which only Quit() may end.
struct InboxQuitter {
	void operator()(TMessageInbox* inbox) const
	{
		if (inbox->Lock())
			inbox->Quit();
	}
};


void
report_timing(bigtime_t started, bigtime_t firstNoteOn)
{
	if (firstNoteOn < 0) {
		report_problem("timing: no Note On reached a device");
		return;
	}
	fprintf(stderr, "vantumidi-play: timing: first Note On reached the device"
		" %lld us after start (start %lld us, note %lld us, monotonic)\n",
		(long long)(firstNoteOn - started), (long long)started,
		(long long)firstNoteOn);
}


int
play(const TPlayOptions& options, TSignalWatch* signals, bigtime_t started)
{
	TSMFProducer song;
	TOutputChains chains(&song);
	if (chains.InitCheck() != B_OK) {
		report_problem("the output ports cannot be set up");
		return kExitFailure;
	}
	chains.SetVolume(options.volume);
	chains.SetKey(options.key);
	song.SetTempoRate(options.tempo);

	TDumpWriter dumpWriter(stdout, !options.VirtualTime());
	TDeviceSet devices;
	std::string problem;
	switch (devices.Connect(options, &chains, &dumpWriter, &problem)) {
		case TDeviceSet::kNoFailure:
			break;
		case TDeviceSet::kBadChoice:
			report_problem(problem);
			return kExitUsage;
		case TDeviceSet::kUnavailable:
			report_problem(problem);
			return kExitNoOutput;
	}
	if (options.timing)
		devices.AddTimingProbe(&chains);

	std::unique_ptr<TMessageInbox, InboxQuitter> inbox(new TMessageInbox);
	if (inbox->FileDescriptor() < 0 || signals->FileDescriptor() < 0) {
		report_problem("cannot wait for events");
		return kExitFailure;
	}
	inbox->Run();
	song.SetMessage(new BMessage(kMsgSongEnded));
	song.SetTarget(NULL, inbox.get());

	TPlayer player(options, &song, &chains, inbox.get(), signals);
	if (options.dump)
		player.SetDumpWriter(&dumpWriter);
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		for (BMidiConsumer* device : devices.Chosen(port))
			player.WatchDevice(port, device);
	}
	BMessenger watcher(NULL, inbox.get());
	BMidiRoster::StartWatching(&watcher);

	int status = player.PlayAll();

	BMidiRoster::StopWatching();
	song.Stop();
	if (devices.Finish() != B_OK) {
		report_problem(options.wavPath + ": the WAV file could not be written"
			" completely");
		status = kExitFailure;
	}
	if (options.timing)
		report_timing(started, devices.FirstNoteOn());
	return status;
}

}	// namespace


int
main(int argc, char** argv)
{
	const bigtime_t started = system_time();
	// Before any thread exists, so that every thread leaves the signals to it.
	TSignalWatch signals;

	TPlayOptions options;
	std::string error;
	if (parse_play_options(argc - 1, argv + 1, &options, &error) != B_OK) {
		report_problem(error);
		return kExitUsage;
	}
	if (options.help) {
		fputs(play_usage(), stdout);
		return kExitOK;
	}

	const bool offline = options.dump || !options.wavPath.empty();
	BString alsaFailure;
	if (!offline && BPrivate::attach_alsa_sequencer(&alsaFailure) != B_OK
		&& options.listDevices)
		report_problem(std::string("only the built-in devices: ")
			+ alsaFailure.String());
	if (options.listDevices) {
		list_output_devices(stdout);
		return kExitOK;
	}

	BVirtualClock virtualClock;
	const bool virtualTime = options.VirtualTime();
	if (virtualTime)
		set_current_clock(&virtualClock);
	int status = play(options, &signals, started);
	if (virtualTime)
		set_current_clock(NULL);
	return status;
}
