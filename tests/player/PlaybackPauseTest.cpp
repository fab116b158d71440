#include "HeardEvents.h"
#include "PlayerRig.h"

// Pause silences what sounds and keeps the position; Play resumes. A song
// chosen while paused stays paused, and starts at once, without the start
// sequence, when Play comes.
TEST_F(RigTest, PauseKeepsThePlaceAndASongChosenWhilePausedStartsAtOnce)
{
	gPref.sendSysResets = true;
	gPref.sysResetCombination = 1;
	gPref.silenceAfterResets = 300000;
	BMidiRecordingConsumer* device = AddDevice("Device A");
	gExitState.connectedOutputs[0] = {"Device A"};
	const std::string a = MakeSong("a.mid", {{0, 100, 60}, {300, 400, 62}}, 600);
	const std::string b = MakeSong("b.mid", {{0, 100, 64}}, 200);

	Run([&]() {
		Open({a, b});
		device->Clear();
		const bigtime_t start = Now();
		Post(kMsgPlay);
		Advance(350000);
		Post(kMsgPause);
		EXPECT_EQ(TS_Paused, gAppPrivacy.State());
		Advance(1000000);
		Post(kMsgPlay);
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
		Advance(300000);
		Post(kMsgPause);
		Post(kMsgNext);
		EXPECT_EQ(TS_Paused, gAppPrivacy.State());
		EXPECT_EQ(1, fView->CurSongIdx());
		Post(kMsgPause);
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
		Advance(150000);

		const std::vector<Heard> heard = heard_since(device, start);
		const Bytes reset = reset_bytes(1);
		EXPECT_EQ((std::vector<Heard>{
			{0, reset},
			{300000, {0x90, 60, 100}},
			{350000, {0x80, 60, 64}},
			// 50 ms of the gap to tick 100 were left, then 200 ms to 300.
			{1600000, {0x90, 62, 100}},
			{1650000, {0x80, 62, 64}},
			{1650000, {0x90, 64, 100}},
			{1750000, {0x80, 64, 0}},
		}), heard);
	});
}
