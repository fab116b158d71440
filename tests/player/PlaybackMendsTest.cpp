#include "PlayerRig.h"

#include <CompactSlider.h>

namespace {

class PlaybackMendsTest : public RigTest {
protected:
	// Three songs, each a note from 0 to 100 ms, ending at 200 ms.
	std::vector<std::string> ThreeSongs()
	{
		return {MakeSong("a.mid", {{0, 100, 60}}, 200),
			MakeSong("b.mid", {{0, 100, 62}}, 200),
			MakeSong("c.mid", {{0, 100, 64}}, 200)};
	}

	void Request(int32 index, bool play)
	{
		BMessage request(kMsgChangeSongRqtd);
		request.AddInt32("NewIdx", index);
		request.AddBool("PlaySong", play);
		Post(request);
	}

	void SetMode(int32 mode)
	{
		BMessage message(kMsgPlayMode);
		message.AddInt32("PlayMode", mode);
		Post(message);
	}
};

}	// namespace


// The user's Next is queued while the song ends: the song's end arrives
// after Next has started the following song and must not skip it.
TEST_F(PlaybackMendsTest, AnEndFromTheSongBeforeDoesNotSkipTheNextOne)
{
	Run([&]() {
		Open(ThreeSongs());
		Post(kMsgPlay);
		Advance(150000);
		BMessage next(kMsgNext);
		fWindow->PostMessage(&next, fView);
		ASSERT_EQ(B_OK, fClock.AdvanceTo(kStart + 200000));
		Pump();
		EXPECT_EQ(1, fView->CurSongIdx());
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());

		// The new song's own end still counts.
		Advance(250000);
		EXPECT_EQ(2, fView->CurSongIdx());
	});
}


TEST_F(PlaybackMendsTest, ChangeSongNormalisesAndSurvivesAnEmptiedList)
{
	struct Case {
		int32 songs;
		int32 index;
		bool result;
		int32 current;
		const char* title;
	};
	const Case cases[] = {
		{3, 7, true, 0, "a.mid"},
		{3, -1, true, 2, "c.mid"},
		{3, 3, true, 0, "a.mid"},
		{0, 2, false, 0, ""},
	};
	const std::vector<std::string> songs = ThreeSongs();
	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message() << test.songs << " songs, index " << test.index);
		Run([&]() {
			Open(std::vector<std::string>(songs.begin(), songs.begin() + test.songs));
			BAutolock lock(fWindow);
			EXPECT_EQ(test.result, fView->ChangeSong(test.index, false));
			EXPECT_EQ(test.current, fView->CurSongIdx());
			EXPECT_EQ(test.title, fView->SongTitle());
			EXPECT_EQ(test.songs > 0 ? 1 : 0, MarkedRows());
		});
		TearDown();
		SetUp();
	}
}


// After New the current index names no song: Play must neither fault nor
// start a state that nothing can finish.
TEST_F(PlaybackMendsTest, PlayAfterTheListWasClearedDoesNothingUntilSongsCome)
{
	Run([&]() {
		Open(ThreeSongs());
		Request(2, false);
		Post(kMsgStop);
		{
			BAutolock lock(fWindow);
			fPlaylist->ClearList();
		}
		Post(kMsgPlay);
		EXPECT_EQ(TS_Stopped, gAppPrivacy.State());
		EXPECT_EQ(0, MarkedRows());

		AddSongs({MakeSong("d.mid", {{0, 100, 65}}, 200)});
		Post(kMsgPlay);
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
		EXPECT_EQ("d.mid", fView->SongTitle());
	});
}


TEST_F(PlaybackMendsTest, RequestForTheCurrentSongGivesItsTitleBack)
{
	Run([&]() {
		Open(ThreeSongs());
		Request(1, true);
		ASSERT_EQ(TS_Playing, gAppPrivacy.State());
		Request(1, true);
		EXPECT_EQ("b.mid", TitleText());
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
	});
}


// The playlist asks for the index of the deleted song, which the following
// song now has; the current index still says the same number.
TEST_F(PlaybackMendsTest, DeletingThePlayingSongPlaysTheOneThatTakesItsPlace)
{
	Run([&]() {
		Open(ThreeSongs());
		Request(1, true);
		{
			BAutolock lock(fWindow);
			fPlaylist->DeselectAll();
			fPlaylist->Select(2);
			fPlaylist->PopupDeleteFileClicked(NULL);
		}
		Pump();
		EXPECT_EQ(2, fPlaylist->Songs());
		EXPECT_EQ(1, fView->CurSongIdx());
		EXPECT_EQ("c.mid", fView->SongTitle());
		EXPECT_EQ("c.mid", TitleText());
		EXPECT_EQ(1, MarkedRows());
		EXPECT_EQ(1, fPlaylist->CurrentSongIdx());
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
	});
}


TEST_F(PlaybackMendsTest, PlayWithTheListRowSelectedPlaysTheCurrentSong)
{
	Run([&]() {
		Open(ThreeSongs());
		Request(1, false);
		{
			BAutolock lock(fWindow);
			fPlaylist->Select(0);
		}
		Post(kMsgPlay);
		EXPECT_EQ(1, fView->CurSongIdx());
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
		EXPECT_EQ(0, fPlaylist->CountSelections());
	});
}


// Unplayable songs end at once, so the repeating modes would go round the
// list for ever without time passing.
TEST_F(PlaybackMendsTest, RepeatingAListOfUnplayableSongsStopsWithTheReason)
{
	const std::string noSong = std::string(gVLT.Text("Stat_Str_Cannot_Play"));
	for (int32 mode : {1, 3, 4, 5}) {
		SCOPED_TRACE(mode);
		Run([&]() {
			Open({WriteFile("x.mid", {'n', 'o'}), WriteFile("y.mid", {'M', 'T', 'h', 'd'}),
				MakeSong("z.mid", {}, 0)});
			SetMode(mode);
			Post(kMsgPlay);
			Advance(10000);
			EXPECT_EQ(TS_Stopped, gAppPrivacy.State());
			const std::string status = StatusText();
			EXPECT_NE(std::string::npos, status.find(noSong)) << status;
			EXPECT_NE(std::string::npos, status.find(".mid")) << status;
		});
		TearDown();
		SetUp();
	}
}


TEST_F(PlaybackMendsTest, ARepeatedListWithOnePlayableSongGoesOn)
{
	Run([&]() {
		Open({WriteFile("x.mid", {'n', 'o'}), MakeSong("a.mid", {{0, 100, 60}}, 200)});
		SetMode(1);
		Post(kMsgPlay);
		Advance(2000000);
		EXPECT_EQ(TS_Playing, gAppPrivacy.State());
	});
}


// 100,000,000 ticks: the position times 100 does not fit 32 bits.
TEST_F(PlaybackMendsTest, PositionOfALongSongIsComputedIn64Bits)
{
	Run([&]() {
		Open({MakeSong("long.mid", {{0, 100, 60}, {50000000, 50000100, 62}}, 100000000)});
		Post(kMsgPlay);
		TCompactSlider* slider = dynamic_cast<TCompactSlider*>(fView->FindView("SliderPos"));
		ASSERT_NE(nullptr, slider);
		{
			BAutolock lock(fWindow);
			slider->SetValue(50);
		}
		Post(kMsgPosChanged);
		{
			BAutolock lock(fWindow);
			slider->SetValue(0);
		}
		Post(kMsgUpdatePosRqtd);
		EXPECT_EQ(50, slider->Value());
		EXPECT_EQ("Pos:50%", ViewText("StrViewPos"));
	});
}
