#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <SteppedClock.h>

#include "MidiTestSupport.h"

namespace {

typedef BMidiRecordingConsumer::Kind Kind;

struct SprayCase {
	const char* name;
	std::function<void(BMidiLocalProducer*, bigtime_t)> spray;
	const char* wire;
	Kind kind;
	// The typed hook call without its time; NULL when none is expected.
	const char* hook;
};

std::vector<uchar> gBody = {0x7e, 0x7f, 0x09, 0x01};
std::vector<uchar> gTerminatedBody = {0x7e, 0x7f, 0x09, 0x01, 0xf7};

const SprayCase kSprayCases[] = {
	{"note off", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayNoteOff(1, 60, 64, t); },
		"81 3C 40", BMidiRecordingConsumer::kNoteOff, "NoteOff 1 60 64"},
	{"note on with velocity 0 stays a note on",
		[](BMidiLocalProducer* p, bigtime_t t) { p->SprayNoteOn(15, 127, 0, t); },
		"9F 7F 00", BMidiRecordingConsumer::kNoteOn, "NoteOn 15 127 0"},
	{"key pressure", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayKeyPressure(2, 61, 30, t); },
		"A2 3D 1E", BMidiRecordingConsumer::kKeyPressure, "KeyPressure 2 61 30"},
	{"control change", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayControlChange(0, 123, 0, t); },
		"B0 7B 00", BMidiRecordingConsumer::kControlChange,
		"ControlChange 0 123 0"},
	{"program change", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayProgramChange(9, 5, t); },
		"C9 05", BMidiRecordingConsumer::kProgramChange, "ProgramChange 9 5"},
	{"channel pressure", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayChannelPressure(3, 100, t); },
		"D3 64", BMidiRecordingConsumer::kChannelPressure,
		"ChannelPressure 3 100"},
	{"pitch bend sends lsb then msb", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayPitchBend(4, 0x01, 0x40, t); },
		"E4 01 40", BMidiRecordingConsumer::kPitchBend, "PitchBend 4 1 64"},
	{"system exclusive gets F0 and F7", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemExclusive(gBody.data(), gBody.size(), t); },
		"F0 7E 7F 09 01 F7", BMidiRecordingConsumer::kSystemExclusive,
		"SystemExclusive 7E 7F 09 01"},
	{"a body ending in F7 is not terminated twice",
		[](BMidiLocalProducer* p, bigtime_t t) {
			p->SpraySystemExclusive(gTerminatedBody.data(),
				gTerminatedBody.size(), t); },
		"F0 7E 7F 09 01 F7", BMidiRecordingConsumer::kSystemExclusive,
		"SystemExclusive 7E 7F 09 01"},
	{"empty system exclusive", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemExclusive(NULL, 0, t); },
		"F0 F7", BMidiRecordingConsumer::kSystemExclusive, "SystemExclusive "},
	{"song position", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemCommon(0xf2, 0x10, 0x20, t); },
		"F2 10 20", BMidiRecordingConsumer::kSystemCommon,
		"SystemCommon 242 16 32"},
	{"song select", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemCommon(0xf3, 5, 99, t); },
		"F3 05", BMidiRecordingConsumer::kSystemCommon, "SystemCommon 243 5 0"},
	{"tune request", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemCommon(0xf6, 1, 2, t); },
		"F6", BMidiRecordingConsumer::kSystemCommon, "SystemCommon 246 0 0"},
	{"timing clock", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemRealTime(0xf8, t); },
		"F8", BMidiRecordingConsumer::kSystemRealTime, "SystemRealTime 248"},
	{"system reset", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SpraySystemRealTime(0xff, t); },
		"FF", BMidiRecordingConsumer::kSystemRealTime, "SystemRealTime 255"},
	{"tempo", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayTempoChange(120, t); },
		"FF 51 03 07 A1 20", BMidiRecordingConsumer::kTempoChange,
		"TempoChange 120"},
	{"stray high bits are masked", [](BMidiLocalProducer* p, bigtime_t t) {
		p->SprayNoteOn(0x13, 0x85, 0xff, t); },
		"93 05 7F", BMidiRecordingConsumer::kNoteOn, "NoteOn 3 5 127"},
	{"raw atomic data is decoded", [](BMidiLocalProducer* p, bigtime_t t) {
		uchar bytes[] = {0x90, 60, 1};
		p->SprayData(bytes, sizeof(bytes), true, t); },
		"90 3C 01", BMidiRecordingConsumer::kNoteOn, "NoteOn 0 60 1"},
	{"raw data that is not atomic is not decoded",
		[](BMidiLocalProducer* p, bigtime_t t) {
			uchar bytes[] = {0x90, 60, 1};
			p->SprayData(bytes, sizeof(bytes), false, t); },
		"90 3C 01", BMidiRecordingConsumer::kUndecoded, NULL},
	{"a truncated message reaches no hook",
		[](BMidiLocalProducer* p, bigtime_t t) {
			uchar bytes[] = {0x90, 60};
			p->SprayData(bytes, sizeof(bytes), true, t); },
		"90 3C", BMidiRecordingConsumer::kUndecoded, NULL},
};

class SprayTest : public testing::Test {
protected:
	void SetUp() override
	{
		fProducer.reset(new BMidiLocalProducer("sprayer"));
		fRecorder.reset(new BMidiRecordingConsumer);
		fHooks.reset(new HookConsumer);
		ASSERT_EQ(B_OK, fProducer->Connect(fRecorder.get()));
		ASSERT_EQ(B_OK, fProducer->Connect(fHooks.get()));
	}

	EndpointRef<BMidiLocalProducer> fProducer;
	EndpointRef<BMidiRecordingConsumer> fRecorder;
	EndpointRef<HookConsumer> fHooks;
};

// Drops data whose first byte is FF, as the player's output stages do.
class MetaDroppingConsumer : public HookConsumer {
public:
	void Data(uchar* data, size_t length, bool atomic,
		bigtime_t time) override
	{
		if (length > 0 && data[0] == 0xff)
			return;
		HookConsumer::Data(data, length, atomic, time);
	}
};

// Passes every note on to its own producer, as a stage of the output chain
// does, and notes who sent what it handled.
class RelayConsumer : public BMidiLocalConsumer {
public:
	RelayConsumer() : fOutput(new BMidiLocalProducer) {}

	BMidiLocalProducer* Output() const { return fOutput.get(); }

	void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override
	{
		senderBefore = GetProducerID();
		fOutput->SprayNoteOn(channel, note + 1, velocity, time);
		senderAfter = GetProducerID();
	}

	int32 senderBefore = 0;
	int32 senderAfter = 0;

protected:
	~RelayConsumer() override = default;

private:
	EndpointRef<BMidiLocalProducer> fOutput;
};

// Scribbles over the bytes it was given.
class ScribblingConsumer : public BMidiLocalConsumer {
public:
	void Data(uchar* data, size_t length, bool, bigtime_t) override
	{
		memset(data, 0, length);
	}
};

}


TEST_F(SprayTest, EverySprayReachesDataAndItsTypedHook)
{
	bigtime_t time = 1000;
	for (const SprayCase& c : kSprayCases) {
		SCOPED_TRACE(c.name);
		fRecorder->Clear();
		size_t hooksBefore = fHooks->Calls().size();

		c.spray(fProducer.get(), ++time);

		BMidiRecordingConsumer::Event event;
		ASSERT_EQ(1, fRecorder->CountEvents());
		ASSERT_TRUE(fRecorder->EventAt(0, &event));
		EXPECT_EQ(c.wire, hex_bytes(event.data));
		EXPECT_EQ(c.kind, event.kind);
		EXPECT_EQ(time, event.time);
		EXPECT_EQ(fProducer->ID(), event.producer);

		std::vector<std::string> calls = fHooks->Calls();
		if (c.hook == NULL) {
			EXPECT_EQ(hooksBefore, calls.size());
		} else {
			ASSERT_EQ(hooksBefore + 1, calls.size());
			EXPECT_EQ(std::string(c.hook) + " @" + std::to_string(time),
				calls.back());
		}
	}
}


TEST_F(SprayTest, MessagesWithoutAWireFormSendNothing)
{
	fProducer->SpraySystemCommon(0xf4, 0, 0);
	fProducer->SpraySystemCommon(0x90, 60, 100);
	fProducer->SpraySystemRealTime(0xf7);
	fProducer->SprayTempoChange(0);
	fProducer->SprayTempoChange(-120);
	fProducer->SprayData(NULL, 3, true);
	EXPECT_EQ(0, fRecorder->CountEvents());
}


TEST_F(SprayTest, TempoSurvivesTheWire)
{
	for (int32 bpm : {4, 30, 60, 97, 120, 333, 1000, 7000, 7811}) {
		SCOPED_TRACE(bpm);
		fProducer->SprayTempoChange(bpm);
		EXPECT_EQ("TempoChange " + std::to_string(bpm) + " @0",
			fHooks->Calls().back());
	}
}


TEST_F(SprayTest, AnOverriddenDataSeesEverythingFirst)
{
	auto dropper = make_endpoint<MetaDroppingConsumer>();
	fProducer->Connect(dropper.get());

	fProducer->SprayTempoChange(100, 5);
	fProducer->SpraySystemRealTime(0xff, 6);
	fProducer->SprayNoteOn(0, 64, 90, 7);

	EXPECT_EQ(std::vector<std::string>{"NoteOn 0 64 90 @7"}, dropper->Calls());
}


TEST_F(SprayTest, EachConsumerGetsItsOwnCopy)
{
	auto scribbler = make_endpoint<ScribblingConsumer>();
	auto producer = make_endpoint<BMidiLocalProducer>();
	producer->Connect(scribbler.get());
	producer->Connect(fRecorder.get());

	producer->SprayControlChange(1, 7, 100);

	BMidiRecordingConsumer::Event event;
	ASSERT_TRUE(fRecorder->EventAt(0, &event));
	EXPECT_EQ("B1 07 64", hex_bytes(event.data));
}


TEST_F(SprayTest, AChainIsDeliveredBeforeTheSprayReturns)
{
	auto relay = make_endpoint<RelayConsumer>();
	relay->Output()->Connect(fRecorder.get());
	auto source = make_endpoint<BMidiLocalProducer>();
	source->Connect(relay.get());

	source->SprayNoteOn(2, 60, 80, 42);

	BMidiRecordingConsumer::Event event;
	ASSERT_EQ(1, fRecorder->CountEvents());
	ASSERT_TRUE(fRecorder->EventAt(0, &event));
	EXPECT_EQ("92 3D 50", hex_bytes(event.data));
	EXPECT_EQ(42, event.time);
	EXPECT_EQ(relay->Output()->ID(), event.producer);
	EXPECT_EQ(source->ID(), relay->senderBefore);
	EXPECT_EQ(source->ID(), relay->senderAfter);
	EXPECT_EQ(0, relay->GetProducerID());
}


TEST_F(SprayTest, ArrivalIsTakenFromTheInstalledClock)
{
	BSteppedClock clock(5000);
	BClock* previous = set_current_clock(&clock);
	fProducer->SprayNoteOn(0, 60, 100, 0);
	clock.Advance(250);
	fProducer->SprayNoteOff(0, 60, 0, 4000);
	set_current_clock(previous);

	std::vector<BMidiRecordingConsumer::Event> events = fRecorder->Events();
	ASSERT_EQ(2u, events.size());
	EXPECT_EQ(5000, events[0].arrival);
	EXPECT_EQ(0, events[0].time);
	EXPECT_EQ(5250, events[1].arrival);
	EXPECT_EQ(4000, events[1].time);
}


// The play thread and the window thread spray on one producer while the
// connections change; every message arrives whole and in its thread's order.
TEST_F(SprayTest, ConcurrentSpraysLoseAndTearNothing)
{
	const int kMessages = 4000;
	auto extra = make_endpoint<BMidiLocalConsumer>();

	std::thread notes([this] {
		for (int i = 0; i < kMessages; i++)
			fProducer->SprayNoteOn(0, i % 128, (i / 128) % 128, i);
	});
	std::thread exclusives([this] {
		for (int i = 0; i < kMessages; i++) {
			uchar body[16];
			for (size_t b = 0; b < sizeof(body); b++)
				body[b] = (i + b) % 128;
			fProducer->SpraySystemExclusive(body, sizeof(body), i);
		}
	});
	std::thread rewiring([this, &extra] {
		for (int i = 0; i < kMessages / 4; i++) {
			fProducer->Connect(extra.get());
			fProducer->Disconnect(extra.get());
		}
	});
	notes.join();
	exclusives.join();
	rewiring.join();

	int nextNote = 0;
	int nextExclusive = 0;
	for (const BMidiRecordingConsumer::Event& event : fRecorder->Events()) {
		if (event.kind == BMidiRecordingConsumer::kNoteOn) {
			ASSERT_EQ(nextNote, event.time);
			ASSERT_EQ((std::vector<uchar>{0x90, uchar(nextNote % 128),
				uchar((nextNote / 128) % 128)}), event.data);
			nextNote++;
		} else {
			ASSERT_EQ(BMidiRecordingConsumer::kSystemExclusive, event.kind);
			ASSERT_EQ(nextExclusive, event.time);
			ASSERT_EQ(18u, event.data.size());
			for (size_t b = 0; b < 16; b++)
				ASSERT_EQ((nextExclusive + b) % 128, event.data[b + 1]);
			nextExclusive++;
		}
	}
	EXPECT_EQ(kMessages, nextNote);
	EXPECT_EQ(kMessages, nextExclusive);
	EXPECT_EQ(2 * kMessages, int(fHooks->Calls().size()));
}
