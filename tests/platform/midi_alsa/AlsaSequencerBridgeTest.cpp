#include <alsa/asoundlib.h>
#include <poll.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <AlsaSequencer.h>
#include <MidiConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <MidiRoster.h>
#include <String.h>

#include "AlsaSequencerBridge.h"
#include "MidiTestSupport.h"

namespace {

bool
have_sequencer()
{
	snd_seq_t* handle;
	if (snd_seq_open(&handle, "default", SND_SEQ_OPEN_DUPLEX,
			SND_SEQ_NONBLOCK) < 0)
		return false;
	snd_seq_close(handle);
	return true;
}


// A bounded wait for something another thread does: the test fails instead
// of hanging.
bool
eventually(const std::function<bool()>& condition)
{
	auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
	while (!condition()) {
		if (std::chrono::steady_clock::now() > deadline)
			return false;
		std::this_thread::sleep_for(std::chrono::milliseconds(5));
	}
	return true;
}


BMidiConsumer*
find_consumer(const std::string& name)
{
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (consumer->IsValid() && name == consumer->Name())
			return consumer;
	}
	return NULL;
}


// Another program on the sequencer: a client with one port that takes
// events, named the way FluidSynth names its own.
class OtherProgram {
public:
	OtherProgram()
	{
		snd_seq_open(&fHandle, "default", SND_SEQ_OPEN_DUPLEX, 0);
		snd_seq_set_client_name(fHandle, "Test Synth (4711)");
		fPort = snd_seq_create_simple_port(fHandle, "Synth input (4711:0)",
			SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
			SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
	}

	~OtherProgram()
	{
		snd_seq_close(fHandle);
	}

	int Client() const { return snd_seq_client_id(fHandle); }
	void ClosePort() { snd_seq_delete_simple_port(fHandle, fPort); }

	// Subscribes the port to another client's port, as aconnect would.
	int SubscribeFrom(int client, int port)
	{
		return snd_seq_connect_from(fHandle, fPort, client, port);
	}

	// The next MIDI event's description, or "nothing" after a few seconds.
	// The sequencer's notices about the port's own subscriptions are
	// skipped.
	std::string NextEvent()
	{
		snd_seq_event_t* event;
		do {
			pollfd descriptor;
			snd_seq_poll_descriptors(fHandle, &descriptor, 1, POLLIN);
			if (snd_seq_event_input_pending(fHandle, 0) == 0
				&& poll(&descriptor, 1, 5000) <= 0)
				return "nothing";
			if (snd_seq_event_input(fHandle, &event) < 0)
				return "error";
		} while (event->type >= SND_SEQ_EVENT_CLIENT_START
			&& event->type <= SND_SEQ_EVENT_PORT_UNSUBSCRIBED);
		switch (event->type) {
			case SND_SEQ_EVENT_NOTEON:
				return "note-on " + std::to_string(event->data.note.note) + " "
					+ std::to_string(event->data.note.velocity);
			case SND_SEQ_EVENT_PITCHBEND:
				return "bend " + std::to_string(event->data.control.value);
			case SND_SEQ_EVENT_CONTROLLER:
				return "control " + std::to_string(event->data.control.param);
			default:
				return "type " + std::to_string(event->type);
		}
	}

private:
	snd_seq_t* fHandle = NULL;
	int fPort = -1;
};


class LiveBridgeTest : public testing::Test {
protected:
	void SetUp() override
	{
		if (!have_sequencer())
			GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq); "
				"scripts/alsa-vm-test.sh runs these in a virtual machine";
		ASSERT_EQ(B_OK, fBridge.Start());
	}

	AlsaSequencerBridge fBridge;
};

}


TEST(AlsaSequencerTest, WithoutSequencerTheRosterStaysInProcess)
{
	if (have_sequencer())
		GTEST_SKIP() << "this machine has an ALSA sequencer";

	BString failure;
	EXPECT_NE(B_OK, BPrivate::attach_alsa_sequencer(&failure));
	EXPECT_NE(nullptr, strstr(failure.String(), "snd_seq_open")) <<
		failure.String();
	EXPECT_NE(B_OK, BPrivate::attach_alsa_sequencer());
	BPrivate::detach_alsa_sequencer();

	auto producer = make_endpoint<BMidiLocalProducer>("Vantu MIDI OUT A");
	auto recorder = make_endpoint<BMidiRecordingConsumer>();
	producer->Register();
	ASSERT_EQ(B_OK, producer->Connect(recorder.get()));
	producer->SprayNoteOn(0, 60, 100);
	EXPECT_EQ(1, recorder->CountEvents());
}


TEST_F(LiveBridgeTest, DeviceAppearsByStableNameAndPlays)
{
	OtherProgram synth;
	BMidiConsumer* device = NULL;
	ASSERT_TRUE(eventually([&device] {
		return (device = find_consumer("Test Synth:Synth input")) != NULL;
	}));

	auto output = make_endpoint<BMidiLocalProducer>("Vantu MIDI OUT A");
	output->Register();
	ASSERT_EQ(B_OK, output->Connect(device));
	output->SprayNoteOn(0, 60, 0);
	output->SprayPitchBend(0, 0, 0);
	EXPECT_EQ("note-on 60 0", synth.NextEvent());
	EXPECT_EQ("bend -8192", synth.NextEvent());

	// The mute producer is never registered; its burst arrives complete
	// although the connection is removed right after it.
	auto mute = make_endpoint<BMidiLocalProducer>("DisconnectProducer");
	ASSERT_EQ(B_OK, mute->Connect(device));
	for (uchar channel = 0; channel < 16; channel++)
		mute->SprayControlChange(channel, 123, 0);
	mute->Disconnect(device);
	for (int i = 0; i < 16; i++)
		ASSERT_EQ("control 123", synth.NextEvent()) << i;

	EXPECT_EQ(B_OK, output->Disconnect(device));
	EXPECT_FALSE(output->IsConnected(device));
}


TEST_F(LiveBridgeTest, OutsideSubscriptionsAndVanishingDevicesReachTheRoster)
{
	auto output = make_endpoint<BMidiLocalProducer>("Vantu MIDI OUT B");
	output->Register();
	OtherProgram synth;
	BMidiConsumer* device = NULL;
	ASSERT_TRUE(eventually([&device] {
		return (device = find_consumer("Test Synth:Synth input")) != NULL;
	}));

	snd_seq_port_info_t* info;
	snd_seq_port_info_alloca(&info);
	int port = -1;
	snd_seq_port_info_set_client(info, fBridge.ClientID());
	snd_seq_port_info_set_port(info, -1);
	snd_seq_t* handle;
	ASSERT_EQ(0, snd_seq_open(&handle, "default", SND_SEQ_OPEN_DUPLEX, 0));
	while (snd_seq_query_next_port(handle, info) >= 0) {
		if (strcmp(snd_seq_port_info_get_name(info), "Vantu MIDI OUT B") == 0)
			port = snd_seq_port_info_get_port(info);
	}
	snd_seq_close(handle);
	ASSERT_GE(port, 0);

	ASSERT_EQ(0, synth.SubscribeFrom(fBridge.ClientID(), port));
	ASSERT_TRUE(eventually([&] { return output->IsConnected(device); }));
	output->SprayNoteOn(1, 64, 90);
	EXPECT_EQ("note-on 64 90", synth.NextEvent());

	synth.ClosePort();
	ASSERT_TRUE(eventually([&] { return !device->IsValid(); }));
	EXPECT_FALSE(output->IsConnected(device));
	output->SprayNoteOn(1, 64, 0);
}
