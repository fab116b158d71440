#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <DataIO.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <VirtualClock.h>

#include "MidiFilter.h"
#include "NoteOnManager.h"
#include "SMFBuilder.h"
#include "SMFProducer.h"
#include "SoftSynthTestSupport.h"

namespace {

const bigtime_t kSongStart = 3000000;
const bigtime_t kWatchdog = 10000000;
const double kWindow = 0.001;

// Five times the same piano note (the start of a sample differs from key to
// key) for 0.2 s at odd times, far enough apart for each to fade out at a
// few times the speed, the tempo rising from 120 to 150 beats per minute
// before the fourth.
std::vector<smf::Track>
SparseSong()
{
	smf::Track track;
	track.Event(0, {0xC0, 0})
		.NoteOn(96, 0, 60, 100).NoteOff(192, 0, 60)
		.NoteOn(2112, 0, 60, 100).NoteOff(192, 0, 60)
		.NoteOn(2115, 0, 60, 100).NoteOff(192, 0, 60)
		.Tempo(1230, 400000)
		.NoteOn(0, 0, 60, 100).NoteOff(240, 0, 60)
		.NoteOn(2537, 0, 60, 100).NoteOff(240, 0, 60)
		.End(480);
	return {track};
}

// At 100 %.
const double kNoteSeconds[] = {0.1, 2.5, 4.903125, 6.384375, 8.6985417};
const int32 kMessageCount = 11;


// The player's output chain, rendering as the command-line player does:
// sequencer → note manager → filter → soft synth, on the free-running virtual
// clock. A recorder beside the synth notes when each message left the
// filter.
class SoftSynthSongTest : public testing::TestWithParam<int32> {
protected:
	SoftSynthSongTest()
		:
		fClock(kSongStart)
	{
	}

	void SetUp() override
	{
		fPreviousClock = set_current_clock(&fClock);
		if (installed_sound_font().empty())
			GTEST_SKIP() << "No sound font is installed";
	}

	void TearDown() override
	{
		set_current_clock(fPreviousClock);
	}

	BVirtualClock fClock;
	BClock* fPreviousClock;
	TempFolder fFolder;
};

}	// namespace


TEST_P(SoftSynthSongTest, NotesSoundWhenTheSequencerSendsThem)
{
	int32 rate = GetParam();
	std::string path = fFolder.File("song.wav");
	BSoftSynth::Options options;
	options.wavFile = path.c_str();
	BSoftSynth* synth;
	BString reason;
	ASSERT_EQ(B_OK, BSoftSynth::Create(options, &synth, &reason))
		<< reason.String();
	SynthRef synthOwner(synth);

	TMidiFilter* filter = new TMidiFilter("Vantu MIDI OUT A");
	TNoteOnManager* manager = new TNoteOnManager;
	BMidiRecordingConsumer* recorder = new BMidiRecordingConsumer;
	ASSERT_EQ(B_OK, manager->Connect(filter));
	ASSERT_EQ(B_OK, filter->Producer()->Connect(synth));
	ASSERT_EQ(B_OK, filter->Producer()->Connect(recorder));
	{
		TSMFProducer song;
		smf::Bytes bytes = smf::File(SparseSong(), 480);
		BMemoryIO stream(bytes.data(), bytes.size());
		ASSERT_EQ(0, song.SetTo(&stream));
		ASSERT_EQ(B_OK, song.Producer(0)->Connect(manager));
		song.SetTempoRate(rate);
		ASSERT_EQ(0, song.Play());
		EXPECT_TRUE(recorder->WaitForEvents(kMessageCount, kWatchdog));
		song.Stop();
	}
	EXPECT_EQ(B_OK, synth->Finish());
	synthOwner.reset();

	std::vector<double> sent;
	for (const auto& event : recorder->Events()) {
		if (event.kind == BMidiRecordingConsumer::kNoteOn)
			sent.push_back((event.arrival - kSongStart) / 1e6);
	}
	filter->Release();
	manager->Release();
	recorder->Release();

	ASSERT_EQ(std::size(kNoteSeconds), sent.size());
	for (size_t i = 0; i < sent.size(); i++)
		EXPECT_NEAR(kNoteSeconds[i] * 100 / rate, sent[i], 0.001) << i;

	WavContents wav;
	ASSERT_TRUE(read_wav(path, &wav));
	EXPECT_LT(0.01, wav.Peak(0, wav.Seconds()));
	std::vector<double> onsets = find_onsets(wav.WindowLevels(kWindow),
		kWindow, 1e-4, 3e-5, 20);
	ASSERT_EQ(sent.size(), onsets.size());
	for (size_t i = 0; i < sent.size(); i++) {
		SCOPED_TRACE(i);
		EXPECT_LE(sent[i] - 0.001, onsets[i]);
		EXPECT_GE(sent[i] + 0.003, onsets[i]);
	}
	// The file lasts as long as the song, and the release after it.
	EXPECT_LT(sent.back() + 0.2, wav.Seconds());
	EXPECT_GT(sent.back() + 0.25 + 2.0, wav.Seconds());
}


INSTANTIATE_TEST_SUITE_P(TempoRates, SoftSynthSongTest,
	testing::Values(100, 200));
