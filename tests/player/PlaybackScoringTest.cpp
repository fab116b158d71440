#include "PlayerRig.h"

#include <cstdio>
#include <fstream>

#include <Path.h>

#include "Files.h"
#include "GlobalSettings.h"

namespace {

enum Action { kNextAfter, kChooseMonoRep, kPlaySelected };

struct ScoreCase {
	const char* name;
	Action action;
	bigtime_t after;
	// Priorities of a.mid and b.mid in the saved database (2 untouched).
	int32 a;
	int32 b;
};


const ScoreCase kScoreCases[] = {
	{"nextWithinTenSecondsLowersTheSkippedSong", kNextAfter, 5000000, 1, 2},
	{"nextAtTenSecondsLowersItStill", kNextAfter, 9999999, 1, 2},
	{"nextAfterTenSecondsLeavesItBe", kNextAfter, 10000001, 2, 2},
	{"monoRepRaisesTheCurrentSong", kChooseMonoRep, 0, 3, 2},
	{"playingTheSelectedSongRaisesIt", kPlaySelected, 0, 2, 3},
};


class PlaybackScoringTest : public RigTest,
	public testing::WithParamInterface<ScoreCase> {
protected:
	static std::string DatabasePath()
	{
		BEntry entry;
		pelkan::get_entry("VantuMIDI_AIDatabase.dat", &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName);
		BPath path(&entry);
		return path.Path();
	}

	// The priority the database holds for the song; a song it does not
	// name has the starting priority, 2.
	static int32 Priority(const std::string& song)
	{
		std::ifstream file(DatabasePath());
		std::string line;
		bool inSection = false;
		while (std::getline(file, line)) {
			if (!line.empty() && line[0] == '[')
				inSection = line.find("Priority") != std::string::npos;
			else if (inSection && line.rfind(song + " =", 0) == 0)
				return atoi(line.c_str() + song.size() + 2);
		}
		return 2;
	}
};

}	// namespace


// The database is written when the player goes; learning is on.
TEST_P(PlaybackScoringTest, ScoresFollowTheUsersChoices)
{
	const ScoreCase& test = GetParam();
	gPref.aiLearning = true;
	remove(DatabasePath().c_str());
	const std::vector<std::string> songs = {MakeSong("a.mid", {{0, 100, 60}}, 20000),
		MakeSong("b.mid", {{0, 100, 62}}, 20000)};

	Run([&]() {
		Open(songs);
		switch (test.action) {
			case kNextAfter:
				Post(kMsgPlay);
				Advance(test.after);
				Post(kMsgNext);
				break;
			case kChooseMonoRep:
			{
				BMessage mode(kMsgPlayMode);
				mode.AddInt32("PlayMode", 3);
				Post(mode);
				break;
			}
			case kPlaySelected:
			{
				{
					BAutolock lock(fWindow);
					fPlaylist->Select(2);
				}
				Post(kMsgPlay);
				break;
			}
		}
		Close();
	});
	EXPECT_EQ(test.a, Priority("a.mid"));
	EXPECT_EQ(test.b, Priority("b.mid"));
}


INSTANTIATE_TEST_SUITE_P(Cases, PlaybackScoringTest, testing::ValuesIn(kScoreCases),
	[](const testing::TestParamInfo<ScoreCase>& info) { return info.param.name; });
