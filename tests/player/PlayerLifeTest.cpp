#include "PlayerRig.h"

namespace {

struct ExitCase {
	int32 savedMode;
	int32 mode;
};

}	// namespace


// The exit state gives the player its mode (kept within the six modes),
// the window hears of it on attachment, and what the player leaves behind
// goes back into the exit state.
TEST_F(RigTest, ExitStateIsReadAtStartAndWrittenAtTheEnd)
{
	const ExitCase cases[] = {{3, 3}, {9, 5}, {-2, 0}};
	const std::string a = MakeSong("a.mid", {{0, 100, 60}}, 200);
	const std::string b = MakeSong("b.mid", {{0, 100, 62}}, 200);
	for (const ExitCase& test : cases) {
		SCOPED_TRACE(test.savedMode);
		gExitState.playMode = test.savedMode;
		gExitState.expandedHeight = 321;
		Run([&]() {
			Open({a, b});
			EXPECT_EQ(test.mode, fView->PlayMode());
			const std::vector<BMessage> shown = fWindow->Of(kMsgUpdateMenuPlayModeRqtd);
			ASSERT_FALSE(shown.empty());
			int32 mode = -1;
			shown.front().FindInt32("PlayMode", &mode);
			EXPECT_EQ(test.mode, mode);

			BMessage request(kMsgChangeSongRqtd);
			request.AddInt32("NewIdx", 1);
			request.AddBool("PlaySong", true);
			Post(request);
			BMessage unknown(kMsgPlayMode);
			unknown.AddInt32("PlayMode", 6);
			Post(unknown);
			EXPECT_EQ(test.mode, fView->PlayMode()) << "no seventh mode";
			Close();
		});
		EXPECT_EQ(1, gExitState.curSongIdx);
		EXPECT_EQ(test.mode, gExitState.playMode);
		EXPECT_EQ(321, gExitState.expandedHeight);
		EXPECT_EQ("", gExitState.mainListFile) << "the main list has no file";
		TearDown();
		SetUp();
	}
}


// Playing, the position is shown each second; stopped or paused, the
// player keeps no timer that would wake it (the runners' thread sleeps
// through to the deadline it had, once), and a stopped song reads 0.
TEST_F(RigTest, OnlyAMovingSongWakesThePlayer)
{
	const bigtime_t kHalfHour = 1800000000;
	Run([&]() {
		Open({MakeSong("a.mid", {{0, 100, 60}, {3000, 3100, 62}}, 5000)});
		Quiet();
		EXPECT_GT(fClock.NextDeadline() - Now(), kHalfHour) << "idle after start";
		Post(kMsgPlay);
		Advance(1500000);
		EXPECT_EQ("Pos:60%", ViewText("StrViewPos"))
			<< "at 1 s the update showed the tick the song waits for";
		Post(kMsgPause);
		Advance(1000000);
		EXPECT_GT(fClock.NextDeadline() - Now(), kHalfHour) << "paused";
		Post(kMsgPlay);
		Advance(100000);
		Post(kMsgStop);
		EXPECT_EQ("Pos:0%", ViewText("StrViewPos"));
		Advance(1000000);
		EXPECT_GT(fClock.NextDeadline() - Now(), kHalfHour) << "stopped";
	});
}
