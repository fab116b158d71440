// Runs inside the virtual machine of scripts/alsa-vm-test.sh, against a real
// kernel sequencer. It attaches the sequencer bridge, offers "Vantu MIDI OUT
// A", waits until another program subscribes to it (as the roster reports),
// plays a known song and prints, in aseqdump's words, what should arrive; then
// it keeps playing until the listening program disappears. Lines for the
// script: "ready", "connected <device>", "expect <event>", "played <count>",
// "gone <device> after <notes> notes", "detached"; or "no-sequencer <why>",
// "timeout <what>".

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <AlsaSequencer.h>
#include <Looper.h>
#include <Message.h>
#include <Messenger.h>
#include <MidiConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRoster.h>
#include <String.h>

namespace {

const auto kPatience = std::chrono::seconds(60);

struct Notice {
	int32 op;
	int32 producer;
	int32 consumer;
	int32 id;
};

class RosterWatcher : public BLooper {
public:
	void MessageReceived(BMessage* message) override
	{
		if (message->what != B_MIDI_EVENT) {
			BLooper::MessageReceived(message);
			return;
		}
		Notice notice = {};
		message->FindInt32("be:op", &notice.op);
		message->FindInt32("be:producer", &notice.producer);
		message->FindInt32("be:consumer", &notice.consumer);
		message->FindInt32("be:id", &notice.id);
		std::lock_guard<std::mutex> lock(fLock);
		fNotices.push_back(notice);
		fChanged.notify_all();
	}

	// The first notice (from now on) that matches, within the patience.
	bool WaitFor(const std::function<bool(const Notice&)>& matches,
		Notice* found, const std::function<void()>& meanwhile = {})
	{
		auto deadline = std::chrono::steady_clock::now() + kPatience;
		std::unique_lock<std::mutex> lock(fLock);
		while (std::chrono::steady_clock::now() < deadline) {
			while (!fNotices.empty()) {
				Notice notice = fNotices.front();
				fNotices.pop_front();
				if (matches(notice)) {
					*found = notice;
					return true;
				}
			}
			if (meanwhile) {
				lock.unlock();
				meanwhile();
				lock.lock();
			}
			fChanged.wait_for(lock, std::chrono::milliseconds(20));
		}
		return false;
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	std::deque<Notice> fNotices;
};


struct SongEvent {
	std::function<void(BMidiLocalProducer*)> spray;
	std::vector<std::string> expected;
};


std::string
sysex_line(const std::vector<uchar>& bytes, size_t start, size_t end)
{
	std::string line = "System exclusive";
	char byte[4];
	for (size_t i = start; i < end; i++) {
		snprintf(byte, sizeof(byte), " %02X", bytes[i]);
		line += byte;
	}
	return line;
}


std::vector<SongEvent>
song()
{
	std::vector<SongEvent> events = {
		{[](BMidiLocalProducer* p) { p->SprayProgramChange(0, 5); },
			{"Program change 0, program 5"}},
		{[](BMidiLocalProducer* p) { p->SprayControlChange(0, 7, 100); },
			{"Control change 0, controller 7, value 100"}},
		{[](BMidiLocalProducer* p) { p->SprayPitchBend(0, 0, 0); },
			{"Pitch bend 0, value -8192"}},
		{[](BMidiLocalProducer* p) { p->SprayPitchBend(0, 0x7f, 0x7f); },
			{"Pitch bend 0, value 8191"}},
		{[](BMidiLocalProducer* p) { p->SprayPitchBend(0, 0, 0x40); },
			{"Pitch bend 0, value 0"}},
		{[](BMidiLocalProducer* p) { p->SprayKeyPressure(2, 60, 30); },
			{"Polyphonic aftertouch 2, note 60, value 30"}},
		{[](BMidiLocalProducer* p) { p->SprayChannelPressure(9, 50); },
			{"Channel aftertouch 9, value 50"}},
	};
	for (int i = 0; i < 12; i++) {
		uchar note = 60 + i;
		uchar velocity = 40 + 5 * i;
		events.push_back({[=](BMidiLocalProducer* p) {
			p->SprayNoteOn(1, note, velocity);
		}, {"Note on 1, note " + std::to_string(note) + ", velocity "
			+ std::to_string(velocity)}});
		// Alternately a Note Off and a Note On with velocity 0; aseqdump
		// prints the latter as a Note Off without velocity (that it stays a
		// Note On is the bridge's tests' business).
		if (i % 2 == 0) {
			events.push_back({[=](BMidiLocalProducer* p) {
				p->SprayNoteOff(1, note, 64);
			}, {"Note off 1, note " + std::to_string(note) + ", velocity 64"}});
		} else {
			events.push_back({[=](BMidiLocalProducer* p) {
				p->SprayNoteOn(1, note, 0);
			}, {"Note off 1, note " + std::to_string(note)}});
		}
	}

	// Long enough to leave in three pieces.
	std::vector<uchar> body;
	for (int i = 0; i < 598; i++)
		body.push_back(i % 128);
	std::vector<uchar> message = {0xf0};
	message.insert(message.end(), body.begin(), body.end());
	message.push_back(0xf7);
	events.push_back({[body](BMidiLocalProducer* p) {
		p->SpraySystemExclusive(const_cast<uchar*>(body.data()), body.size());
	}, {sysex_line(message, 0, 256), sysex_line(message, 256, 512),
		sysex_line(message, 512, message.size())}});
	return events;
}

}


int
main()
{
	setvbuf(stdout, NULL, _IOLBF, 0);
	BString failure;
	status_t status = BPrivate::attach_alsa_sequencer(&failure);
	if (status != B_OK) {
		printf("no-sequencer %s\n", failure.String());
		return 2;
	}

	RosterWatcher* watcher = new RosterWatcher;
	watcher->Run();
	BMessenger messenger(watcher);
	BMidiRoster::StartWatching(&messenger);

	BMidiLocalProducer* output = new BMidiLocalProducer("Vantu MIDI OUT A");
	output->Register();
	printf("ready\n");

	Notice connected;
	if (!watcher->WaitFor([output](const Notice& notice) {
			return notice.op == B_MIDI_CONNECTED
				&& notice.producer == output->ID();
		}, &connected)) {
		printf("timeout waiting for a subscription\n");
		return 1;
	}
	BMidiConsumer* device = BMidiRoster::FindConsumer(connected.consumer);
	std::string deviceName = device != NULL ? device->Name() : "?";
	printf("connected %s\n", deviceName.c_str());

	size_t count = 0;
	for (const SongEvent& event : song()) {
		event.spray(output);
		for (const std::string& line : event.expected) {
			printf("expect %s\n", line.c_str());
			count++;
		}
	}
	printf("played %zu\n", count);

	// Play on until the device goes away under our feet.
	int notes = 0;
	Notice gone;
	bool wentAway = watcher->WaitFor([&connected](const Notice& notice) {
			return notice.op == B_MIDI_UNREGISTERED
				&& notice.id == connected.consumer;
		}, &gone, [output, &notes] {
			output->SprayNoteOn(9, 42, 100);
			output->SprayNoteOff(9, 42, 64);
			notes++;
		});
	if (!wentAway) {
		printf("timeout waiting for the device to go\n");
		return 1;
	}
	printf("gone %s after %d notes\n", deviceName.c_str(), notes);
	output->SprayNoteOn(9, 42, 100);
	if (output->IsConnected(device))
		printf("still connected to %s\n", deviceName.c_str());

	BMidiRoster::StopWatching();
	output->Unregister();
	output->Release();
	BPrivate::detach_alsa_sequencer();
	watcher->Lock();
	watcher->Quit();
	printf("detached\n");
	return 0;
}
