#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include <DataIO.h>
#include <Looper.h>
#include <Message.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <SteppedClock.h>
#include <VirtualClock.h>

#include "../support/RecordingLooper.h"
#include "SMFBuilder.h"
#include "SMFProducer.h"
#include "TestTimes.h"
#include "SongEndCode.h"

namespace {



// The codes of the messages the song posted.
std::vector<uint32>
codes(const std::vector<BMessage>& messages)
{
	std::vector<uint32> whats;
	for (const BMessage& message : messages)
		whats.push_back(message.what);
	return whats;
}


// Holds the play thread inside its first Note On until the test opens it.
class GateConsumer : public BMidiLocalConsumer {
public:
	void NoteOn(uchar, uchar note, uchar, bigtime_t) override
	{
		std::unique_lock<std::mutex> lock(fLock);
		fNotes.push_back(note);
		fChanged.notify_all();
		fChanged.wait_for(lock, std::chrono::microseconds(kWatchdog),
			[this] { return fOpen; });
	}

	bool WaitUntilEntered()
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, std::chrono::microseconds(kWatchdog),
			[this] { return !fNotes.empty(); });
	}

	void Open()
	{
		std::lock_guard<std::mutex> lock(fLock);
		fOpen = true;
		fChanged.notify_all();
	}

	std::vector<int> Notes()
	{
		std::lock_guard<std::mutex> lock(fLock);
		return fNotes;
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	bool fOpen = false;
	std::vector<int> fNotes;
};


// A song on the stepped clock, its two outputs recorded.
class SequencerTest : public testing::Test {
protected:
	SequencerTest()
		:
		fClock(kStart)
	{
	}

	void SetUp() override
	{
		fPreviousClock = set_current_clock(&fClock);
		fLog = new RecordingLooper("message log");
		fLog->Run();
		fSong = std::make_unique<TSMFProducer>();
		fSong->SetMessage(new BMessage(kMsgSongEnded));
		fSong->SetTarget(fLog);
		for (int i = 0; i < 2; i++) {
			fOutput[i] = new BMidiRecordingConsumer;
			fSong->Producer(i)->Connect(fOutput[i]);
		}
	}

	void TearDown() override
	{
		fSong.reset();
		for (BMidiRecordingConsumer* output : fOutput)
			output->Release();
		fLog->Lock();
		fLog->Quit();
		set_current_clock(fPreviousClock);
	}

	void Load(const std::vector<smf::Track>& tracks, uint16 division = 480)
	{
		smf::Bytes bytes = smf::File(tracks, division);
		BMemoryIO stream(bytes.data(), bytes.size());
		ASSERT_EQ(0, fSong->SetTo(&stream));
	}

	// Plays and returns once the play thread sleeps to its next deadline.
	void PlayUntilAsleep()
	{
		ASSERT_EQ(0, fSong->Play());
		ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
	}

	void AdvanceToNextDeadline()
	{
		ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
		ASSERT_EQ(B_OK, fClock.AdvanceTo(fClock.NextDeadline()));
	}

	// Note numbers of the Note Ons that reached an output, with their times.
	std::vector<std::pair<int, bigtime_t>> NotesOn(int output) const
	{
		std::vector<std::pair<int, bigtime_t>> notes;
		for (const auto& event : fOutput[output]->Events()) {
			if (event.kind == BMidiRecordingConsumer::kNoteOn)
				notes.emplace_back(event.data[1], event.arrival);
		}
		return notes;
	}

	// The play thread's id and state; B_NAME_NOT_FOUND when there is none.
	thread_id PlayThread(thread_state* state = NULL) const
	{
		thread_id thread = find_thread("PlayThread");
		thread_info info;
		if (state != NULL && get_thread_info(thread, &info) == B_OK)
			*state = info.state;
		return thread;
	}

	// Pauses on another thread, so that a Pause that waits for the play
	// thread's next event fails the test instead of hanging it.
	void PauseWithWatchdog()
	{
		auto paused = std::async(std::launch::async, [this] { return fSong->Pause(); });
		ASSERT_EQ(std::future_status::ready,
			paused.wait_for(std::chrono::microseconds(kWatchdog)));
		EXPECT_EQ(0, paused.get());
	}

	std::vector<int> Notes(int output) const
	{
		std::vector<int> notes;
		for (auto [note, arrival] : NotesOn(output))
			notes.push_back(note);
		return notes;
	}

	BSteppedClock fClock;
	BClock* fPreviousClock;
	RecordingLooper* fLog;
	std::unique_ptr<TSMFProducer> fSong;
	BMidiRecordingConsumer* fOutput[2];
};


smf::Track
NoteTrack(std::initializer_list<uint32> ticks)
{
	smf::Track track;
	uint32 last = 0;
	int note = 60;
	for (uint32 tick : ticks) {
		track.NoteOn(tick - last, 0, note++, 100);
		last = tick;
	}
	return track.End();
}

}	// namespace


TEST_F(SequencerTest, DeadlinesFollowTempoDivisionAndRate)
{
	struct Case {
		const char* name;
		int32 rate;
		std::vector<smf::Track> tracks;
		std::vector<bigtime_t> times;
	};
	smf::Track tempoChange;
	tempoChange.NoteOn(0, 0, 60, 1).NoteOn(480, 0, 61, 1).Tempo(0, 1000000)
		.NoteOn(480, 0, 62, 1).End();
	const Case cases[] = {
		{"rate 100", 100, {NoteTrack({0, 480})}, {0, 500000}},
		{"rate 200", 200, {NoteTrack({0, 480})}, {0, 250000}},
		{"rate 30 truncates", 30, {NoteTrack({0, 480})}, {0, 1666666}},
		// 3472.2 µs per tick: each step is truncated before it is added.
		{"steps truncate one by one", 30, {NoteTrack({0, 1, 2, 3})},
			{0, 3472, 6944, 10416}},
		{"Set Tempo at tick 0 of another track", 100,
			{NoteTrack({0, 480}), smf::Track().Tempo(0, 250000).End()}, {0, 250000}},
		{"Set Tempo applies to the gap after it", 100, {tempoChange},
			{0, 500000, 1500000}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		for (BMidiRecordingConsumer* output : fOutput)
			output->Clear();
		Load(test.tracks);
		fSong->SetTempoRate(test.rate);
		bigtime_t start = fClock.Now();
		ASSERT_EQ(0, fSong->Play());
		for (size_t i = 1; i < test.times.size(); i++)
			AdvanceToNextDeadline();
		ASSERT_TRUE(fLog->Log().WaitForCountOf(kMsgSongEnded, 1));
		fLog->Drain();

		auto notes = NotesOn(0);
		ASSERT_EQ(test.times.size(), notes.size());
		for (size_t i = 0; i < notes.size(); i++)
			EXPECT_EQ(test.times[i], notes[i].second - start) << "note " << i;
	}
}


TEST_F(SequencerTest, EqualTicksPlayInTrackOrder)
{
	smf::Track first;
	first.NoteOn(0, 0, 72, 1).NoteOn(0, 0, 71, 1).NoteOn(10, 0, 70, 1).End();
	smf::Track second;
	second.NoteOn(0, 1, 50, 1).NoteOn(10, 1, 40, 1).End();
	Load({first, second});
	PlayUntilAsleep();
	EXPECT_EQ((std::vector<int>{72, 71, 50}), Notes(0));
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<int>{72, 71, 50, 70, 40}), Notes(0));
}


TEST_F(SequencerTest, PortMetaEventSwitchesTheTracksEndpoint)
{
	smf::Track switching;
	switching.Port(0, 1).NoteOn(0, 0, 60, 1).Port(10, 0).NoteOn(0, 0, 62, 1).End();
	smf::Track staying;
	staying.NoteOn(5, 0, 61, 1).End(5);
	Load({switching, staying});
	ASSERT_EQ(0, fSong->Play());
	AdvanceToNextDeadline();
	AdvanceToNextDeadline();
	ASSERT_TRUE(fLog->Log().WaitForCountOf(kMsgSongEnded, 1));
	EXPECT_EQ((std::vector<int>{61, 62}), Notes(0));
	EXPECT_EQ((std::vector<int>{60}), Notes(1));
}


TEST_F(SequencerTest, SongWithoutTracksEndsAtOnce)
{
	smf::Bytes bytes = smf::Header(1, 0, 480);
	BMemoryIO stream(bytes.data(), bytes.size());
	ASSERT_EQ(0, fSong->SetTo(&stream));
	ASSERT_EQ(0, fSong->Play());
	ASSERT_TRUE(fLog->Log().WaitForCountOf(kMsgSongEnded, 1));
	EXPECT_EQ(kStart, fClock.Now());
	EXPECT_EQ(0, fClock.CountSleepers());
	// An ended song is not playing, and pausing it does not wait.
	fSong->Pause();
	EXPECT_FALSE(fSong->IsPlaying());
	EXPECT_EQ((std::vector<uint32>{kMsgSongEnded}), codes(fLog->Drain()));
}


TEST_F(SequencerTest, SeekingNeedsAPlayThread)
{
	Load({NoteTrack({0, 480})});
	EXPECT_EQ(-1, fSong->SetCurrentTick(480));
	EXPECT_EQ(0u, fSong->CurrentTick());
	PlayUntilAsleep();
	EXPECT_EQ((std::vector<int>{60}), Notes(0));
}


// A seek to the start during a 50 s rest sounds the start at once, not when
// the rest would have ended; the gaps then count from the seek.
TEST_F(SequencerTest, SeekPlaysTheNewTickAtOnce)
{
	Load({NoteTrack({0, 48000, 48480})});
	PlayUntilAsleep();
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 2000000));
	EXPECT_EQ(0, fSong->SetCurrentTick(0));
	ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
	EXPECT_EQ(48000u, fSong->CurrentTick());
	EXPECT_EQ(kStart + 52000000, fClock.NextDeadline());

	// Between events: nothing at the new tick, the next event one gap on.
	EXPECT_EQ(0, fSong->SetCurrentTick(47520));
	ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
	EXPECT_EQ(kStart + 2500000, fClock.NextDeadline());
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<std::pair<int, bigtime_t>>{{60, kStart},
		{60, kStart + 2000000}, {61, kStart + 2500000}}), NotesOn(0));
}


TEST_F(SequencerTest, PauseKeepsPositionAndTheRestOfTheGap)
{
	Load({NoteTrack({0, 480, 960})});
	PlayUntilAsleep();
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 200000));
	EXPECT_TRUE(fSong->IsPlaying());

	// Returns without time passing: the sleep is cut short.
	EXPECT_EQ(0, fSong->Pause());
	EXPECT_FALSE(fSong->IsPlaying());
	EXPECT_EQ(480u, fSong->CurrentTick());
	EXPECT_EQ(0, fClock.CountSleepers());
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 1200000));
	EXPECT_EQ(1u, Notes(0).size());

	// 300000 µs of the gap were left.
	PlayUntilAsleep();
	EXPECT_EQ(kStart + 1500000, fClock.NextDeadline());
	AdvanceToNextDeadline();
	AdvanceToNextDeadline();
	ASSERT_TRUE(fLog->Log().WaitForCountOf(kMsgSongEnded, 1));
	auto notes = NotesOn(0);
	ASSERT_EQ(3u, notes.size());
	EXPECT_EQ(kStart + 1500000, notes[1].second);
	EXPECT_EQ(kStart + 2000000, notes[2].second);
}


TEST_F(SequencerTest, PauseSuspendsTheSamePlayThreadWithoutWaitingOutTheGap)
{
	// A gap of 5000 s, and the clock never moves while pausing.
	Load({NoteTrack({0, 4800000, 4800480})});
	PlayUntilAsleep();
	thread_state state = B_THREAD_RUNNING;
	thread_id thread = PlayThread(&state);
	ASSERT_GE(thread, 0);
	EXPECT_EQ(B_THREAD_ASLEEP, state);

	PauseWithWatchdog();
	EXPECT_EQ(kStart, fClock.Now());
	EXPECT_FALSE(fSong->IsPlaying());
	EXPECT_EQ(thread, PlayThread(&state));
	EXPECT_EQ(B_THREAD_SUSPENDED, state);
	EXPECT_EQ(0, fClock.CountSleepers());
	// A second Pause finds it standing still.
	PauseWithWatchdog();

	PlayUntilAsleep();
	EXPECT_TRUE(fSong->IsPlaying());
	EXPECT_EQ(thread, PlayThread(&state));
	EXPECT_EQ(B_THREAD_ASLEEP, state);
	EXPECT_EQ(kStart + 5000000000LL, fClock.NextDeadline());
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<int>{60, 61}), Notes(0));
}


TEST_F(SequencerTest, PauseDuringASendHoldsTheNextEventForItsWholeGap)
{
	GateConsumer* gate = new GateConsumer;
	fSong->Producer(0)->Connect(gate);
	Load({NoteTrack({0, 480})});
	ASSERT_EQ(0, fSong->Play());
	ASSERT_TRUE(gate->WaitUntilEntered());

	// Whether the request finds the play thread still in its send or
	// already asleep, it stands still before the next event with the whole
	// gap left.
	auto paused = std::async(std::launch::async, [this] { return fSong->Pause(); });
	gate->Open();
	ASSERT_EQ(std::future_status::ready,
		paused.wait_for(std::chrono::microseconds(kWatchdog)));
	EXPECT_FALSE(fSong->IsPlaying());
	EXPECT_EQ(0, fClock.CountSleepers());

	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 100000));
	PlayUntilAsleep();
	EXPECT_EQ(kStart + 600000, fClock.NextDeadline());
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<int>{60, 61}), gate->Notes());
	fSong->Stop();
	fSong->Producer(0)->Disconnect(gate);
	gate->Release();
}


TEST_F(SequencerTest, PauseDuringTheLastSendDoesNotWaitForTheThread)
{
	GateConsumer* gate = new GateConsumer;
	fSong->Producer(0)->Connect(gate);
	Load({NoteTrack({0})});
	ASSERT_EQ(0, fSong->Play());
	ASSERT_TRUE(gate->WaitUntilEntered());

	// The thread leaves its loop after this send and never takes a request
	// that came during it.
	auto paused = std::async(std::launch::async, [this] { return fSong->Pause(); });
	gate->Open();
	ASSERT_EQ(std::future_status::ready,
		paused.wait_for(std::chrono::microseconds(kWatchdog)));
	ASSERT_TRUE(fLog->Log().WaitForCountOf(kMsgSongEnded, 1));
	fSong->Stop();
	fSong->Producer(0)->Disconnect(gate);
	gate->Release();
}


TEST_F(SequencerTest, PauseRightAfterPlayLosesAndRepeatsNothing)
{
	Load({NoteTrack({0, 480})});
	for (int i = 0; i < 20; i++) {
		ASSERT_EQ(0, fSong->Play());
		ASSERT_EQ(0, fSong->Pause());
	}
	PlayUntilAsleep();
	EXPECT_EQ(kStart + 500000, fClock.NextDeadline());
	EXPECT_EQ((std::vector<int>{60}), Notes(0));
}


// A seek plays on with the tempo and the ports the song has set by the new
// tick, wherever it played before: forward past the settings, and back
// before them.
TEST_F(SequencerTest, SeekTakesTheTempoAndPortsInForceAtTheNewTick)
{
	smf::Track first;
	first.NoteOn(0, 0, 60, 1).Tempo(480, 250000).Port(0, 1).NoteOn(0, 0, 61, 1)
		.NoteOn(480, 0, 62, 1).NoteOn(480, 0, 63, 1).End();
	// At an equal tick the later track's tempo is the one that stays.
	smf::Track second;
	second.Tempo(480, 1000000).End();
	Load({first, second});
	PlayUntilAsleep();

	EXPECT_EQ(0, fSong->SetCurrentTick(720));
	ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
	EXPECT_EQ(1000000u, fSong->Tempo());
	EXPECT_EQ(kStart + 500000, fClock.NextDeadline());
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<int>{62}), Notes(1));

	EXPECT_EQ(0, fSong->SetCurrentTick(240));
	ASSERT_TRUE(fClock.WaitForSleepers(1, kWatchdog));
	EXPECT_EQ(500000u, fSong->Tempo());
	EXPECT_EQ(kStart + 750000, fClock.NextDeadline());
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<int>{60}), Notes(0));
	EXPECT_EQ((std::vector<int>{62, 61}), Notes(1));
}


// The rest of the gap a pause kept belonged to the old position.
TEST_F(SequencerTest, PlayAfterASeekWhilePausedSendsTheNewPositionAtOnce)
{
	Load({NoteTrack({0, 480, 960, 1440})});
	PlayUntilAsleep();
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 100000));
	ASSERT_EQ(0, fSong->Pause());
	EXPECT_EQ(0, fSong->SetCurrentTick(960));
	EXPECT_EQ(0, fClock.CountSleepers());
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 3000000));
	EXPECT_EQ((std::vector<int>{60}), Notes(0));

	PlayUntilAsleep();
	EXPECT_EQ(kStart + 3500000, fClock.NextDeadline());
	AdvanceToNextDeadline();
	EXPECT_EQ((std::vector<std::pair<int, bigtime_t>>{{60, kStart},
		{62, kStart + 3000000}, {63, kStart + 3500000}}), NotesOn(0));
}


TEST_F(SequencerTest, StopSendsNothingMore)
{
	Load({NoteTrack({0, 480, 960})});
	PlayUntilAsleep();
	EXPECT_EQ(0, fSong->Stop());
	EXPECT_FALSE(fSong->IsPlaying());
	EXPECT_EQ(0u, fSong->CurrentTick());
	EXPECT_EQ(-1, fSong->SetCurrentTick(0));
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 10000000));
	EXPECT_EQ((std::vector<int>{60}), Notes(0));
	EXPECT_EQ(std::vector<uint32>{}, codes(fLog->Drain()));

	// Playing again starts from the beginning.
	PlayUntilAsleep();
	EXPECT_EQ((std::vector<int>{60, 60}), Notes(0));
	fSong->Unset();
	EXPECT_EQ(0, fClock.CountSleepers());
}


// Stopped after a tempo change and a port event: playing again starts as
// the song was loaded, on port 0 at the default tempo.
TEST_F(SequencerTest, PlayAfterStopRewindsTempoAndPorts)
{
	smf::Track track;
	track.NoteOn(0, 0, 60, 1).Tempo(480, 250000).Port(0, 1)
		.NoteOn(0, 0, 61, 1).NoteOn(480, 0, 62, 1).End();
	Load({track});
	PlayUntilAsleep();
	AdvanceToNextDeadline();
	ASSERT_EQ((std::vector<int>{61}), Notes(1));
	ASSERT_EQ(0, fSong->Stop());

	PlayUntilAsleep();
	EXPECT_EQ((std::vector<int>{60, 60}), Notes(0));
	EXPECT_EQ(500000u, fSong->Tempo());
	EXPECT_EQ(kStart + 1000000, fClock.NextDeadline());
}


TEST_F(SequencerTest, StopInTheMiddleOfASendWaitsForIt)
{
	GateConsumer* gate = new GateConsumer;
	fSong->Producer(0)->Connect(gate);
	Load({NoteTrack({0, 0, 480})});
	ASSERT_EQ(0, fSong->Play());
	ASSERT_TRUE(gate->WaitUntilEntered());

	std::thread stopper([this] { fSong->Stop(); });
	gate->Open();
	stopper.join();
	// The step under way is finished, then nothing more.
	std::vector<int> sent = gate->Notes();
	EXPECT_EQ((std::vector<int>{60, 61}), sent);
	EXPECT_EQ(0, fClock.CountSleepers());
	ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 10000000));
	EXPECT_EQ(sent, gate->Notes());
	fSong->Producer(0)->Disconnect(gate);
	gate->Release();
}


TEST_F(SequencerTest, TempoRateStaysPositive)
{
	fSong->SetTempoRate(0);
	EXPECT_EQ(1, fSong->TempoRate());
	fSong->SetTempoRate(-50);
	EXPECT_EQ(1, fSong->TempoRate());
	fSong->SetTempoRate(250);
	EXPECT_EQ(250, fSong->TempoRate());
}


TEST_F(SequencerTest, LargestGapPlaysOnVirtualTime)
{
	BVirtualClock virtualClock(0);
	set_current_clock(&virtualClock);
	smf::Track slow;
	slow.Tempo(0, 0xFFFFFF).NoteOn(0xFFFFFFFF, 0, 60, 1).End();
	Load({slow}, 1);
	fSong->SetTempoRate(1);
	ASSERT_EQ(0, fSong->Play());
	ASSERT_TRUE(fLog->Log().WaitForCountOf(kMsgSongEnded, 1));
	auto notes = NotesOn(0);
	ASSERT_EQ(1u, notes.size());
	EXPECT_EQ((bigtime_t)(0xFFFFFFFFull * 0xFFFFFF * 100), notes[0].second);
	fSong->Stop();
	set_current_clock(&fClock);
}
