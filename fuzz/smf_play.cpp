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

#include "SMFProducer.h"

namespace {

const uint32 kEndOfSong = 'plse';

class EndWaiter : public BLooper {
public:
	EndWaiter() : BLooper("song end") {}

	void MessageReceived(BMessage* message) override
	{
		if (message->what != kEndOfSong)
			return BLooper::MessageReceived(message);
		std::lock_guard<std::mutex> lock(fLock);
		fEnds++;
		fChanged.notify_all();
	}

	// A song that never ends is a finding: give up loudly.
	void WaitForEnd()
	{
		std::unique_lock<std::mutex> lock(fLock);
		if (!fChanged.wait_for(lock, std::chrono::seconds(20),
				[this] { return fEnds > 0; }))
			abort();
		fEnds--;
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	int fEnds = 0;
};


}	// namespace


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	static EndWaiter* waiter = [] {
		EndWaiter* looper = new EndWaiter;
		looper->Run();
		return looper;
	}();
	// Each song starts its own time line, so deadlines never pile up.
	BVirtualClock clock(0);
	BClock* previousClock = set_current_clock(&clock);

	TSMFProducer song;
	song.SetMessage(new BMessage(kEndOfSong));
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
	waiter->WaitForEnd();
	song.Stop();

	for (BMidiRecordingConsumer* output : outputs) {
		for (int i = 0; i < 2; i++)
			song.Producer(i)->Disconnect(output);
		output->Release();
	}
	set_current_clock(previousClock);
	return 0;
}
