// Loads any bytes as a Standard MIDI File and plays the whole song on
// free-running virtual time, so the reader and the sequencer both see them.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <string>

#include <DataIO.h>
#include <Looper.h>
#include <Message.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <VirtualClock.h>

#include "SongEndWaiter.h"
#include "SMFProducer.h"
#include "SongEndCode.h"

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	static SongEndWaiter* waiter = [] {
		SongEndWaiter* looper = new SongEndWaiter;
		looper->Run();
		return looper;
	}();
	// Each song starts its own time line, so deadlines never pile up.
	BVirtualClock clock(0);
	BClock* previousClock = set_current_clock(&clock);

	TSMFProducer song;
	song.SetMessage(new BMessage(kMsgSongEnded));
	song.SetTarget(waiter);
	BMidiRecordingConsumer* outputs[2] = {new BMidiRecordingConsumer,
		new BMidiRecordingConsumer};
	for (int i = 0; i < 2; i++)
		song.Producer(i)->Connect(outputs[i]);

	BMemoryIO stream(data, size);
	song.SetTo(&stream);
	std::string title;
	song.GetTitle(&title);
	song.Play();
	// A song that never ends is a finding: give up loudly.
	if (!waiter->WaitForEnd(std::chrono::seconds(20)))
		abort();
	song.Stop();

	for (BMidiRecordingConsumer* output : outputs) {
		for (int i = 0; i < 2; i++)
			song.Producer(i)->Disconnect(output);
		output->Release();
	}
	set_current_clock(previousClock);
	return 0;
}
