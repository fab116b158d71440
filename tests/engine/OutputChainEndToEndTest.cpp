#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <DataIO.h>
#include <Message.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <MidiRoster.h>
#include <SteppedClock.h>

#include "MidiFilter.h"
#include "NoteOnManager.h"
#include "SMFBuilder.h"
#include "SMFProducer.h"
#include "TestTimes.h"

namespace {

typedef std::vector<uchar> Bytes;

const char* const kPortNames[2] = {"Vantu MIDI OUT A", "Vantu MIDI OUT B"};


struct Sent {
	bigtime_t when;
	Bytes data;

	bool operator==(const Sent& other) const = default;
};


void
PrintTo(const Sent& sent, std::ostream* stream)
{
	*stream << "{" << sent.when << ":";
	for (uchar byte : sent.data)
		*stream << " " << std::hex << int(byte) << std::dec;
	*stream << "}";
}


// The two output ports as the player builds them, fed by a song on the
// stepped clock; each filter's registered endpoint feeds a recording device.
class OutputChainTest : public testing::Test {
protected:
	OutputChainTest()
		:
		fClock(kStart)
	{
	}

	void SetUp() override
	{
		fPreviousClock = set_current_clock(&fClock);
		fSong = std::make_unique<TSMFProducer>();
		for (int i = 0; i < 2; i++) {
			fFilter[i] = new TMidiFilter(kPortNames[i]);
			ASSERT_EQ(B_OK, fFilter[i]->Producer()->Register());
			fManager[i] = new TNoteOnManager;
			ASSERT_EQ(B_OK, fManager[i]->Connect(fFilter[i]));
			fManager[i]->SetMessage(new BMessage('syrr'));
			ASSERT_EQ(B_OK, fSong->Producer(i)->Connect(fManager[i]));
			fDevice[i] = new BMidiRecordingConsumer("device");
			ASSERT_EQ(B_OK, fFilter[i]->Producer()->Connect(fDevice[i]));
		}
	}

	// In the player's order: the sequencer stops before the stages go.
	void TearDown() override
	{
		fSong.reset();
		for (int i = 0; i < 2; i++) {
			fFilter[i]->Producer()->Unregister();
			fFilter[i]->Release();
			fManager[i]->Release();
			fDevice[i]->Release();
		}
		set_current_clock(fPreviousClock);
	}

	void Load(const std::vector<smf::Track>& tracks)
	{
		smf::Bytes bytes = smf::File(tracks, 480);
		BMemoryIO stream(bytes.data(), bytes.size());
		ASSERT_EQ(0, fSong->SetTo(&stream));
	}

	void AdvanceToNextDeadline()
	{
		ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
		ASSERT_EQ(B_OK, fClock.AdvanceTo(fClock.NextDeadline()));
	}

	// What reached a device, with arrival times from the start; clears it.
	std::vector<Sent> Received(int port)
	{
		std::vector<Sent> received;
		for (const auto& event : fDevice[port]->Events()) {
			EXPECT_EQ(fFilter[port]->Producer()->ID(), event.producer);
			received.push_back({event.arrival - kStart, event.data});
		}
		fDevice[port]->Clear();
		return received;
	}

	BSteppedClock fClock;
	BClock* fPreviousClock;
	std::unique_ptr<TSMFProducer> fSong;
	TMidiFilter* fFilter[2];
	TNoteOnManager* fManager[2];
	BMidiRecordingConsumer* fDevice[2];
};


// Port A: a program, a note and a drum; a bend; the note ends and a GM
// System On follows (the drum is still down), the tempo doubles; then a
// controller and a note that is never ended.
// Port B: a note, its key pressure (which follows the transposed note), and
// its end as a Note On with velocity 0.
std::vector<smf::Track>
TwoPortSong()
{
	smf::Track first;
	first.Event(0, {0xC0, 5}).NoteOn(0, 0, 60, 100).NoteOn(0, 9, 36, 80)
		.Event(240, {0xE0, 0x00, 0x48})
		.Event(240, {0x80, 60, 0x40})
		.SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).Tempo(0, 250000)
		.Event(480, {0xB0, 7, 100}).NoteOn(0, 0, 62, 127).End();
	smf::Track second;
	second.Port(0, 1).NoteOn(0, 1, 64, 80).Event(480, {0xA1, 64, 0x20})
		.NoteOn(240, 1, 64, 0).End(240);
	return {first, second};
}

}	// namespace


TEST_F(OutputChainTest, PortsAreNamedAndOnlyTheFilterOutputsRegistered)
{
	for (int i = 0; i < 2; i++) {
		SCOPED_TRACE(i);
		BMidiEndpoint* output
			= BMidiRoster::FindEndpoint(fFilter[i]->Producer()->ID());
		ASSERT_NE(nullptr, output);
		EXPECT_STREQ(kPortNames[i], output->Name());
		EXPECT_TRUE(output->IsRegistered());
		EXPECT_FALSE(fFilter[i]->IsRegistered());
		EXPECT_FALSE(fManager[i]->IsRegistered());
		EXPECT_STREQ("<anonymous>", fFilter[i]->Name());
		EXPECT_STREQ("<anonymous>", fManager[i]->Name());
	}
}


TEST_F(OutputChainTest, SongPlaysThroughNoteManagersAndFilters)
{
	fFilter[0]->SetKey(2);
	fFilter[0]->SetVolume(150);
	fFilter[1]->SetKey(-1);
	fFilter[1]->SetVolume(50);
	Load(TwoPortSong());

	// Steps at ticks 0, 240, 480, 720 and 960; the gaps after tick 480 run
	// at the doubled tempo.
	ASSERT_EQ(0, fSong->Play());
	for (int step = 1; step < 5; step++)
		AdvanceToNextDeadline();
	EXPECT_EQ(0, fClock.CountSleepers());
	EXPECT_FALSE(fSong->IsPlaying());

	EXPECT_EQ((std::vector<Sent>{
		{0, {0xC0, 5}},
		{0, {0x90, 62, 127}},
		{0, {0x99, 36, 120}},
		{250000, {0xE0, 0x00, 0x48}},
		{500000, {0x80, 62, 0x40}},
		{500000, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
		{750000, {0xB0, 7, 100}},
		{750000, {0x90, 64, 127}},
	}), Received(0));
	EXPECT_EQ((std::vector<Sent>{
		{0, {0x91, 63, 40}},
		{500000, {0xA1, 63, 0x20}},
		{625000, {0x91, 63, 0}},
	}), Received(1));
	for (BMidiRecordingConsumer* device : fDevice) {
		for (const auto& event : device->Events())
			EXPECT_EQ(0, event.time);
	}

	// The drum was forgotten at the reset, the Note On with velocity 0
	// ended port B's note: only port A's last note still sounds.
	for (TNoteOnManager* manager : fManager)
		manager->QuickAllNotesOff(0);
	EXPECT_EQ((std::vector<Sent>{{750000, {0x80, 64, 64}}}), Received(0));
	EXPECT_EQ(std::vector<Sent>{}, Received(1));
}


TEST_F(OutputChainTest, StoppingMidSongSilencesWhatSounds)
{
	fFilter[0]->SetKey(2);
	fFilter[1]->SetKey(-1);
	Load(TwoPortSong());
	ASSERT_EQ(0, fSong->Play());
	AdvanceToNextDeadline();
	ASSERT_EQ(0, fSong->Stop());
	Received(0);
	Received(1);

	for (TNoteOnManager* manager : fManager)
		manager->QuickAllNotesOff(0);
	EXPECT_EQ((std::vector<Sent>{
		{250000, {0x80, 62, 64}},
		{250000, {0x89, 36, 64}},
	}), Received(0));
	EXPECT_EQ((std::vector<Sent>{{250000, {0x81, 63, 64}}}), Received(1));
}


// The player silences a device through a producer of its own, connected for
// the moment; the port's connection to the device stays as it was.
TEST_F(OutputChainTest, AMuteProducerReachesTheDeviceBesideThePort)
{
	BMidiLocalProducer* mute = new BMidiLocalProducer("DisconnectProducer");
	ASSERT_EQ(B_OK, mute->Connect(fDevice[0]));
	for (uchar channel = 0; channel < 16; channel++) {
		for (uchar controller : {123, 120, 121})
			mute->SprayControlChange(channel, controller, 0, 0);
	}
	ASSERT_EQ(B_OK, mute->Disconnect(fDevice[0]));
	mute->Release();

	std::vector<BMidiRecordingConsumer::Event> events = fDevice[0]->Events();
	ASSERT_EQ(48u, events.size());
	EXPECT_EQ((Bytes{0xB0, 123, 0}), events[0].data);
	EXPECT_EQ((Bytes{0xBF, 121, 0}), events[47].data);
	fDevice[0]->Clear();

	EXPECT_TRUE(fFilter[0]->Producer()->IsConnected(fDevice[0]));
	fManager[0]->NoteOn(0, 60, 100, 0);
	EXPECT_EQ((std::vector<Sent>{{0, {0x90, 60, 100}}}), Received(0));
}
