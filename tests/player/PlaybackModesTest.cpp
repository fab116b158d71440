#include "PlayerRig.h"

#include <cstdlib>

namespace {

enum Event { kEnd, kNext, kPrev };

// The song after the event; kOther: any song but the one before.
const int32 kOther = -2;

struct ModeCase {
	int32 mode;
	int32 songs;
	int32 current;
	Event event;
	int32 after;
	TTirokaState state;
};


void
PrintTo(const ModeCase& test, std::ostream* stream)
{
	const char* events[] = {"end", "next", "prev"};
	*stream << "mode " << test.mode << ", " << test.songs << " songs, song "
		<< test.current << ", " << events[test.event];
}


const ModeCase kModeCases[] = {
	// Seq: stops after the last song; the buttons stop at the ends.
	{0, 3, 0, kEnd, 1, TS_Playing},
	{0, 3, 2, kEnd, 2, TS_Stopped},
	{0, 3, 1, kNext, 2, TS_Playing},
	{0, 3, 2, kNext, 2, TS_Playing},
	{0, 3, 1, kPrev, 0, TS_Playing},
	{0, 3, 0, kPrev, 0, TS_Playing},
	// Seq Rep: round.
	{1, 3, 2, kEnd, 0, TS_Playing},
	{1, 3, 2, kNext, 0, TS_Playing},
	{1, 3, 0, kPrev, 2, TS_Playing},
	// Mono: an end stops; the buttons as Seq.
	{2, 3, 0, kEnd, 0, TS_Stopped},
	{2, 3, 0, kNext, 1, TS_Playing},
	{2, 3, 2, kNext, 2, TS_Playing},
	{2, 3, 0, kPrev, 0, TS_Playing},
	// Mono Rep: the same song again; the buttons round.
	{3, 3, 1, kEnd, 1, TS_Playing},
	{3, 3, 2, kNext, 0, TS_Playing},
	{3, 3, 0, kPrev, 2, TS_Playing},
	// Random and AI Random: another song, the only one when there is one.
	{4, 3, 1, kEnd, kOther, TS_Playing},
	{4, 3, 1, kNext, kOther, TS_Playing},
	{4, 3, 1, kPrev, kOther, TS_Playing},
	{4, 1, 0, kEnd, 0, TS_Playing},
	{4, 1, 0, kNext, 0, TS_Playing},
	{5, 3, 0, kEnd, kOther, TS_Playing},
	{5, 3, 2, kNext, kOther, TS_Playing},
	{5, 3, 1, kPrev, kOther, TS_Playing},
	{5, 1, 0, kNext, 0, TS_Playing},
};


class PlaybackModesTest : public RigTest,
	public testing::WithParamInterface<ModeCase> {
};

}	// namespace


// Each song sounds a note from 0 to 100 ms and ends at 200 ms; the check
// comes 50 ms after the event, before the next song could end.
TEST_P(PlaybackModesTest, NextPreviousAndEndFollowTheMode)
{
	const ModeCase& test = GetParam();
	std::srand(7);
	gPref.aiLearning = test.mode == 5;
	std::vector<std::string> songs;
	for (int32 i = 0; i < test.songs; i++) {
		songs.push_back(MakeSong("song" + std::to_string(i) + ".mid",
			{{0, 100, uint8(60 + i)}}, 200));
	}

	Run([&]() {
		Open(songs);
		BMessage mode(kMsgPlayMode);
		mode.AddInt32("PlayMode", test.mode);
		Post(mode);
		BMessage request(kMsgChangeSongRqtd);
		request.AddInt32("NewIdx", test.current);
		request.AddBool("PlaySong", true);
		Post(request);
		ASSERT_EQ(test.current, fView->CurSongIdx());
		ASSERT_EQ(TS_Playing, gAppPrivacy.State());

		Advance(50000);
		switch (test.event) {
			case kEnd:
				Advance(200000);
				break;
			case kNext:
				Post(kMsgNext);
				Advance(50000);
				break;
			case kPrev:
				Post(kMsgPrev);
				Advance(50000);
				break;
		}
		if (test.after == kOther)
			EXPECT_NE(test.current, fView->CurSongIdx());
		else
			EXPECT_EQ(test.after, fView->CurSongIdx());
		EXPECT_EQ(test.state, gAppPrivacy.State());
		EXPECT_EQ(1, MarkedRows());
		EXPECT_EQ(fView->CurSongIdx(), fPlaylist->CurrentSongIdx());
	});
}


INSTANTIATE_TEST_SUITE_P(Table, PlaybackModesTest, testing::ValuesIn(kModeCases));


// Random draws divided by the number of songs: with none, Next and Previous
// must find no song rather than fault.
TEST_F(RigTest, NextAndPreviousOnAnEmptyListFindNoSongInEveryMode)
{
	Run([&]() {
		Open({});
		for (int32 mode = 0; mode <= 5; mode++) {
			SCOPED_TRACE(mode);
			BMessage message(kMsgPlayMode);
			message.AddInt32("PlayMode", mode);
			Post(message);
			for (uint32 what : {kMsgNext, kMsgPrev, kMsgPlay}) {
				Post(what);
				EXPECT_EQ(TS_Stopped, gAppPrivacy.State());
				EXPECT_EQ("", fView->SongTitle());
			}
		}
	});
}
