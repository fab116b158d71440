#include "HeardEvents.h"
#include "PlayerRig.h"

namespace {


struct StartCase {
	const char* name;
	bool silenceBetweenSongs;
	int32 resets;
	bigtime_t silenceAfterResets;
	// Port A's device, from the press of Play; port B hears the same resets.
	std::vector<Heard> heard;
};


// Song a: a note from 100 to 300 ms, ending at 400 ms; song b: a note from
// 100 to 200 ms, ending at 300 ms. Sequential mode: a, then b, then stop.
const StartCase kStartCases[] = {
	{"silence3sGMAndXGWith300ms", true, kGM | kXG, 300000, {
		{0, reset_bytes(kGM)},
		{300000, reset_bytes(kXG)},
		{700000, {0x90, 60, 100}},
		{900000, {0x80, 60, 0}},
		// a ended at 1.0 s: the silence between songs, then the resets.
		{4000000, reset_bytes(kGM)},
		{4300000, reset_bytes(kXG)},
		{4700000, {0x90, 62, 100}},
		{4800000, {0x80, 62, 0}},
	}},
	{"allResetsBackToBackWithoutSilence", false, kGM | kGS | k88 | kXG, 0, {
		{0, reset_bytes(kGM)},
		{0, reset_bytes(kGS)},
		{0, reset_bytes(k88)},
		{0, reset_bytes(kXG)},
		{100000, {0x90, 60, 100}},
		{300000, {0x80, 60, 0}},
		{400000, reset_bytes(kGM)},
		{400000, reset_bytes(kGS)},
		{400000, reset_bytes(k88)},
		{400000, reset_bytes(kXG)},
		{500000, {0x90, 62, 100}},
		{600000, {0x80, 62, 0}},
	}},
	{"noResetsSilenceOnlyAfterAnEnd", true, 0, 300000, {
		{100000, {0x90, 60, 100}},
		{300000, {0x80, 60, 0}},
		{3500000, {0x90, 62, 100}},
		{3600000, {0x80, 62, 0}},
	}},
};


class PlaybackStartTest : public RigTest,
	public testing::WithParamInterface<StartCase> {
};

}	// namespace


TEST_P(PlaybackStartTest, ResetsAndSilencesComeInOrderAtTheirTimes)
{
	const StartCase& test = GetParam();
	gPref.silenceBetweenSongs = test.silenceBetweenSongs;
	gPref.silenceBetweenSongsInterval = 3000000;
	gPref.sendSysResets = test.resets != 0;
	gPref.sysResetCombination = test.resets;
	gPref.silenceAfterResets = test.silenceAfterResets;
	BMidiRecordingConsumer* deviceA = AddDevice("Device A");
	BMidiRecordingConsumer* deviceB = AddDevice("Device B");
	gExitState.connectedOutputs[0] = {"Device A"};
	gExitState.connectedOutputs[1] = {"Device B"};
	const std::string a = MakeSong("a.mid", {{100, 300, 60}}, 400);
	const std::string b = MakeSong("b.mid", {{100, 200, 62}}, 300);

	Run([&]() {
		Open({a, b});
		deviceA->Clear();
		deviceB->Clear();
		const bigtime_t start = Now();
		Post(kMsgPlay);
		Advance(6000000);

		EXPECT_EQ(test.heard, heard_since(deviceA, start));
		std::vector<Heard> resets;
		for (const Heard& heard : test.heard) {
			if (heard.data[0] == 0xF0)
				resets.push_back(heard);
		}
		EXPECT_EQ(resets, heard_since(deviceB, start));
		EXPECT_EQ(TS_Stopped, gAppPrivacy.State()) << "the last song ended the list";
		EXPECT_EQ(1, fView->CurSongIdx());
	});
}


INSTANTIATE_TEST_SUITE_P(Cases, PlaybackStartTest, testing::ValuesIn(kStartCases),
	[](const testing::TestParamInfo<StartCase>& info) { return info.param.name; });


// The silence runner's message for a wait may already be queued behind a
// song change that starts a new wait: it must not cut the new one short.
TEST_F(RigTest, AWaitsEndQueuedBehindASongChangeDoesNotShortenTheNewWait)
{
	gPref.sendSysResets = true;
	gPref.sysResetCombination = kGM;
	gPref.silenceAfterResets = 300000;
	BMidiRecordingConsumer* device = AddDevice("Device A");
	gExitState.connectedOutputs[0] = {"Device A"};
	const std::string a = MakeSong("a.mid", {{100, 300, 60}}, 400);
	const std::string b = MakeSong("b.mid", {{100, 200, 62}}, 300);

	Run([&]() {
		Open({a, b});
		device->Clear();
		const bigtime_t start = Now();
		Post(kMsgPlay);
		Advance(200000);
		BMessage next(kMsgNext);
		fWindow->PostMessage(&next, fView);
		ASSERT_EQ(B_OK, fClock.AdvanceTo(start + 300000));
		Pump();
		Advance(500000);
		EXPECT_EQ((std::vector<Heard>{
			{0, reset_bytes(kGM)},
			{300000, reset_bytes(kGM)},
			{700000, {0x90, 62, 100}},
			{800000, {0x80, 62, 0}},
		}), heard_since(device, start));
	});
}
