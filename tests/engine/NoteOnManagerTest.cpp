#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include <Looper.h>
#include <Message.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>

#include "../support/RecordingLooper.h"
#include "MidiFilter.h"
#include "NoteOnManager.h"
#include "SystemResets.h"
#include "TestTimes.h"

namespace {

typedef std::vector<uchar> Bytes;

const bigtime_t kNoteStamp = 777;
const uint32 kSysResetNotice = 'syrr';


Bytes
SysEx(const TSystemReset& reset)
{
	Bytes message;
	message.reserve(reset.length + 2);
	message.push_back(0xF0);
	message.insert(message.end(), reset.data, reset.data + reset.length);
	message.push_back(0xF7);
	return message;
}


// source -> manager -> recorder
class NoteOnManagerTest : public testing::Test {
protected:
	NoteOnManagerTest()
		:
		fSource(new BMidiLocalProducer("source")),
		fManager(new TNoteOnManager),
		fRecorder(new BMidiRecordingConsumer("device"))
	{
		EXPECT_EQ(B_OK, fSource->Connect(fManager));
		EXPECT_EQ(B_OK, fManager->Connect(fRecorder));
	}

	~NoteOnManagerTest() override
	{
		fSource->Release();
		fManager->Release();
		fRecorder->Release();
	}

	void Send(const Bytes& message, bigtime_t time = kNoteStamp)
	{
		fSource->SprayData(const_cast<uchar*>(message.data()), message.size(),
			true, time);
	}

	std::vector<Bytes> Sent()
	{
		std::vector<Bytes> sent;
		for (const auto& event : fRecorder->Events())
			sent.push_back(event.data);
		fRecorder->Clear();
		return sent;
	}

	// What QuickAllNotesOff sends for the notes remembered now.
	std::vector<Bytes> Silence()
	{
		fRecorder->Clear();
		fManager->QuickAllNotesOff(kNoteStamp);
		return Sent();
	}

	BMidiLocalProducer* fSource;
	TNoteOnManager* fManager;
	BMidiRecordingConsumer* fRecorder;
};

}	// namespace


TEST_F(NoteOnManagerTest, RemembersSoundingNotes)
{
	struct Case {
		const char* name;
		std::vector<Bytes> stream;
		// What QuickAllNotesOff sends afterwards.
		std::vector<Bytes> noteOffs;
	};
	const Case cases[] = {
		{"Note On then velocity 0", {{0x90, 60, 100}, {0x90, 60, 0}}, {}},
		{"Note On then Note Off", {{0x90, 60, 100}, {0x80, 60, 90}}, {}},
		{"two Note Ons keep one entry", {{0x90, 60, 100}, {0x90, 60, 50}},
			{{0x80, 60, 64}}},
		{"one Note Off ends both Note Ons",
			{{0x90, 60, 100}, {0x90, 60, 50}, {0x80, 60, 0}}, {}},
		{"Note Off on another channel or note",
			{{0x90, 60, 100}, {0x81, 60, 0}, {0x90, 61, 0}},
			{{0x80, 60, 64}}},
		{"channels ascending, notes in order of first Note On",
			{{0x91, 64, 1}, {0x90, 62, 1}, {0x91, 48, 1}, {0x90, 60, 1},
				{0x90, 62, 1}, {0x9F, 1, 1}},
			{{0x80, 62, 64}, {0x80, 60, 64}, {0x81, 64, 64}, {0x81, 48, 64},
				{0x8F, 1, 64}}},
		{"a note ended and begun again goes to the end",
			{{0x90, 60, 1}, {0x90, 61, 1}, {0x80, 60, 0}, {0x90, 60, 1}},
			{{0x80, 61, 64}, {0x80, 60, 64}}},
		{"Control Change 123 empties its channel only",
			{{0x90, 60, 1}, {0x91, 64, 1}, {0xB0, 123, 0}},
			{{0x81, 64, 64}}},
		{"other Control Changes keep the notes",
			{{0x90, 60, 1}, {0xB0, 120, 0}, {0xB0, 64, 127}},
			{{0x80, 60, 64}}},
		{"GM System On empties every channel",
			{{0x90, 60, 1}, {0x99, 36, 1}, SysEx(MIDI_NRT_GM_SYSTEM_ON)}, {}},
		{"GS Reset", {{0x90, 60, 1}, SysEx(MIDI_NRT_GS_SYSTEM_ON)}, {}},
		{"88 System Mode Set", {{0x90, 60, 1}, SysEx(MIDI_NRT_88_SYSTEM_ON)},
			{}},
		{"XG System On", {{0x90, 60, 1}, SysEx(MIDI_NRT_XG_SYSTEM_ON)}, {}},
		{"a reset body followed by more bytes",
			{{0x90, 60, 1}, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0x00, 0xF7}}, {}},
		{"a reset body cut short",
			{{0x90, 60, 1}, {0xF0, 0x7E, 0x7F, 0x09, 0xF7}}, {{0x80, 60, 64}}},
		{"a GM System Off",
			{{0x90, 60, 1}, {0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7}},
			{{0x80, 60, 64}}},
		{"other messages keep the notes",
			{{0x90, 60, 1}, {0xA0, 60, 9}, {0xC0, 5}, {0xD0, 9},
				{0xE0, 0, 0x40}, {0xF8}},
			{{0x80, 60, 64}}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		for (const Bytes& message : test.stream)
			Send(message);
		EXPECT_EQ(test.noteOffs, Silence());
		// Silencing forgets: a second time sends nothing.
		EXPECT_EQ(std::vector<Bytes>{}, Silence());
	}
}


TEST_F(NoteOnManagerTest, PassesEveryMessageOnUnchangedBeforeTracking)
{
	const std::vector<Bytes> messages = {
		{0x90, 60, 100},
		{0x90, 60, 0},
		{0x85, 61, 17},
		{0xA2, 60, 100},
		{0xB4, 123, 0},
		{0xC5, 17},
		{0xD6, 99},
		{0xE7, 0x01, 0x40},
		SysEx(MIDI_NRT_GM_SYSTEM_ON),
		{0xF0, 0x01, 0x02, 0xF7},
		{0xF2, 0x10, 0x20},
		{0xF8},
	};
	for (size_t i = 0; i < messages.size(); i++)
		Send(messages[i], kNoteStamp + i);
	std::vector<BMidiRecordingConsumer::Event> events = fRecorder->Events();
	ASSERT_EQ(messages.size(), events.size());
	for (size_t i = 0; i < messages.size(); i++) {
		SCOPED_TRACE(i);
		EXPECT_EQ(messages[i], events[i].data);
		EXPECT_EQ(kNoteStamp + bigtime_t(i), events[i].time);
	}
}


TEST_F(NoteOnManagerTest, DataBeginningWithFFNeverReachesTheOutput)
{
	fSource->SprayTempoChange(120, kNoteStamp);
	fSource->SpraySystemRealTime(0xFF, kNoteStamp);
	Send({0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
	Send({0x90, 60, 100});
	EXPECT_EQ((std::vector<Bytes>{{0x90, 60, 100}}), Sent());
}


TEST_F(NoteOnManagerTest, QuickAllNotesOffUsesVelocity64AndTheGivenTime)
{
	Send({0x90, 60, 100});
	Send({0x9A, 70, 100});
	fRecorder->Clear();
	fManager->QuickAllNotesOff(42);
	std::vector<BMidiRecordingConsumer::Event> events = fRecorder->Events();
	ASSERT_EQ(2u, events.size());
	EXPECT_EQ((Bytes{0x80, 60, 64}), events[0].data);
	EXPECT_EQ((Bytes{0x8A, 70, 64}), events[1].data);
	for (const auto& event : events)
		EXPECT_EQ(42, event.time);
}


TEST_F(NoteOnManagerTest, ClearAllNoteOnStateForgetsWithoutSending)
{
	Send({0x90, 60, 100});
	Send({0x93, 61, 100});
	fRecorder->Clear();
	fManager->ClearAllNoteOnState();
	EXPECT_EQ(0, fRecorder->CountEvents());
	EXPECT_EQ(std::vector<Bytes>{}, Silence());
}


TEST_F(NoteOnManagerTest, HooksCalledWithAChannelAboveFifteenStayInBounds)
{
	fManager->NoteOn(25, 60, 100, kNoteStamp);
	EXPECT_EQ((std::vector<Bytes>{{0x99, 60, 100}}), Sent());
	EXPECT_EQ((std::vector<Bytes>{{0x89, 60, 64}}), Silence());
}


// Two producers deliver the same notes at once while the window thread
// silences: every note stays in the table at most once, and the table is
// never torn.
TEST_F(NoteOnManagerTest, ConcurrentDeliveryAndSilencingKeepTheTableWhole)
{
	const int kNotes = 8;
	const int kRounds = 5000;
	BMidiLocalProducer* second = new BMidiLocalProducer("second source");
	ASSERT_EQ(B_OK, second->Connect(fManager));
	std::atomic<int> running(2);
	auto play = [&running](BMidiLocalProducer* source) {
		for (int round = 0; round < kRounds; round++)
			source->SprayNoteOn(0, round % kNotes, 100);
		running--;
	};
	std::thread first(play, fSource);
	std::thread other(play, second);
	auto deadline = std::chrono::steady_clock::now()
		+ std::chrono::microseconds(kWatchdog);
	while (running > 0 && std::chrono::steady_clock::now() < deadline) {
		fManager->QuickAllNotesOff(0);
		fManager->ClearAllNoteOnState();
	}
	bool finished = running == 0;
	EXPECT_TRUE(finished);
	if (!finished) {
		first.detach();
		other.detach();
		return;
	}
	first.join();
	other.join();
	second->Release();

	std::vector<Bytes> noteOffs = Silence();
	std::set<Bytes> distinct(noteOffs.begin(), noteOffs.end());
	EXPECT_EQ(distinct.size(), noteOffs.size());
	EXPECT_LE(noteOffs.size(), size_t(kNotes));
}


#ifndef NDEBUG
namespace {

// Watches NoteOn between finding a note missing and remembering it: there
// the window thread takes its turn at the table's lock, as QuickAllNotesOff
// would.
class RememberingWatch {
public:
	RememberingWatch()
	{
		sCalls = 0;
		sLetIn = 0;
		TNoteOnManager::sBeforeRemembering = &_WindowThreadTurn;
	}
	~RememberingWatch() { TNoteOnManager::sBeforeRemembering = nullptr; }

	int Calls() const { return sCalls; }
	int TimesLetIn() const { return sLetIn; }

private:
	static void _WindowThreadTurn(BLocker& tableLock)
	{
		sCalls++;
		std::thread window([&tableLock] {
			if (tableLock.LockWithTimeout(0) == B_OK) {
				sLetIn++;
				tableLock.Unlock();
			}
		});
		window.join();
	}

	static inline int sCalls = 0;
	static inline int sLetIn = 0;
};

}	// namespace


// Searching for a note and remembering it is one step for every other
// thread: were the window thread let in between, a note could be remembered
// twice, or appended to a list being emptied. Unlike the stress test above
// this catches a missing lock every time.
TEST_F(NoteOnManagerTest, NoOtherThreadGetsAtTheTableBetweenSearchAndAppend)
{
	RememberingWatch watch;
	std::thread delivery([this] {
		Send({0x90, 60, 100});
		Send({0x90, 60, 90});
		Send({0x91, 61, 100});
	});
	delivery.join();

	EXPECT_EQ(2, watch.Calls());
	EXPECT_EQ(0, watch.TimesLetIn());
	EXPECT_EQ((std::vector<Bytes>{{0x80, 60, 64}, {0x81, 61, 64}}), Silence());
}
#endif


// The Note Offs leave through the filter, which ends the notes it sent:
// a key changed meanwhile does not leave them sounding.
TEST_F(NoteOnManagerTest, QuickAllNotesOffEndsTheNotesTheFilterSent)
{
	TMidiFilter* filter = new TMidiFilter("Vantu MIDI OUT A");
	BMidiRecordingConsumer* device = new BMidiRecordingConsumer("device");
	ASSERT_EQ(B_OK, fManager->Connect(filter));
	ASSERT_EQ(B_OK, filter->Producer()->Connect(device));

	filter->SetKey(2);
	Send({0x90, 60, 100});
	Send({0x99, 36, 100});
	filter->SetKey(-3);
	device->Clear();
	fManager->QuickAllNotesOff(kNoteStamp);

	std::vector<Bytes> sent;
	for (const auto& event : device->Events())
		sent.push_back(event.data);
	EXPECT_EQ((std::vector<Bytes>{{0x80, 62, 64}, {0x89, 36, 64}}), sent);
	filter->Release();
	device->Release();
}


class SysResetNoticeTest : public NoteOnManagerTest {
protected:
	void SetUp() override
	{
		fLog = new RecordingLooper("notice log");
		fLog->Run();
		fManager->SetMessage(new BMessage(kSysResetNotice));
		ASSERT_EQ(B_OK, fManager->SetTarget(fLog));
	}

	void TearDown() override
	{
		fLog->Lock();
		fLog->Quit();
	}

	// The "SysReset" values of the notices received so far.
	std::vector<int32> Notices()
	{
		std::vector<int32> masks;
		for (const BMessage& message : fLog->Drain()) {
			EXPECT_EQ(kSysResetNotice, message.what);
			EXPECT_EQ(1, message.CountNames(B_ANY_TYPE));
			EXPECT_FALSE(message.HasInt32("SysReset", 1));
			int32 mask = -1;
			EXPECT_EQ(B_OK, message.FindInt32("SysReset", &mask));
			masks.push_back(mask);
		}
		return masks;
	}

	RecordingLooper* fLog;
};


TEST_F(SysResetNoticeTest, TheFirstResetOfASongIsReported)
{
	struct Case {
		const char* name;
		const TSystemReset& reset;
		int32 mask;
	};
	const Case cases[] = {
		{"GM", MIDI_NRT_GM_SYSTEM_ON, 1},
		{"GS", MIDI_NRT_GS_SYSTEM_ON, 2},
		{"88", MIDI_NRT_88_SYSTEM_ON, 4},
		{"XG", MIDI_NRT_XG_SYSTEM_ON, 8},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		// A fresh message, without the field, as the player gives it.
		fManager->SetMessage(new BMessage(kSysResetNotice));
		Send(SysEx(test.reset));
		EXPECT_EQ(std::vector<int32>{test.mask}, Notices());
	}
}


TEST_F(SysResetNoticeTest, EachResetReportsItsOwnBit)
{
	Send({0x90, 60, 100});
	Send(SysEx(MIDI_NRT_GM_SYSTEM_ON));
	Send({0xF0, 0x41, 0x10, 0x42, 0xF7});
	Send({0xF0, 0x7D, 0x01, 0xF7});
	Send(SysEx(MIDI_NRT_XG_SYSTEM_ON));
	Send(SysEx(MIDI_NRT_GM_SYSTEM_ON));
	EXPECT_EQ((std::vector<int32>{1, 8, 1}), Notices());
	// The stored message stays the owner's.
	EXPECT_FALSE(fManager->Message()->HasInt32("SysReset"));
}


TEST_F(SysResetNoticeTest, WithoutAMessageAResetOnlyForgetsTheNotes)
{
	fManager->SetMessage(NULL);
	Send({0x90, 60, 100});
	Send(SysEx(MIDI_NRT_XG_SYSTEM_ON));
	EXPECT_EQ(std::vector<int32>{}, Notices());
	EXPECT_EQ(std::vector<Bytes>{}, Silence());
}


TEST(SystemResetsTest, BodiesLengthsAndBitsInRecognitionOrder)
{
	struct Case {
		Bytes body;
		int32 mask;
	};
	const Case expected[] = {
		{{0x7E, 0x7F, 0x09, 0x01}, 1},
		{{0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41}, 2},
		{{0x41, 0x10, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01}, 4},
		{{0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00}, 8},
	};
	ASSERT_EQ(4, kSystemResetCount);
	for (int32 i = 0; i < kSystemResetCount; i++) {
		SCOPED_TRACE(i);
		const TSystemReset* reset = kSystemResets[i];
		EXPECT_EQ(expected[i].body,
			Bytes(reset->data, reset->data + reset->length));
		EXPECT_EQ(expected[i].mask, reset->mask);
		EXPECT_EQ(expected[i].mask,
			system_reset_mask(reset->data, reset->length));
		EXPECT_EQ(0, system_reset_mask(reset->data, reset->length - 1));
	}
	EXPECT_EQ(&MIDI_NRT_GM_SYSTEM_ON, kSystemResets[0]);
	EXPECT_EQ(&MIDI_NRT_GS_SYSTEM_ON, kSystemResets[1]);
	EXPECT_EQ(&MIDI_NRT_88_SYSTEM_ON, kSystemResets[2]);
	EXPECT_EQ(&MIDI_NRT_XG_SYSTEM_ON, kSystemResets[3]);
	EXPECT_EQ(0, system_reset_mask(NULL, 4));
}
