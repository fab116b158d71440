#include <gtest/gtest.h>

#include <csignal>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <sys/resource.h>

#include <AISelector.h>
#include <Entry.h>

#include "ChildProcess.h"
#include "SongList.h"
#include "TempFolder.h"

namespace {

// Hands out the numbers it is given, in order, so that a test decides which
// pool position every draw takes.
class ScriptedRandom {
public:
	void Queue(std::vector<uint64> numbers)
	{
		fNumbers.insert(fNumbers.end(), numbers.begin(), numbers.end());
	}

	TAISelector::TRandomSource Source()
	{
		return [this] {
			EXPECT_FALSE(fNumbers.empty()) << "a draw nobody planned";
			if (fNumbers.empty())
				return uint64(0);
			const uint64 number = fNumbers.front();
			fNumbers.pop_front();
			return number;
		};
	}

private:
	std::deque<uint64> fNumbers;
};

class AISelectorTest : public testing::Test {
protected:
	AISelectorTest()
		:
		fSelector(fRandom.Source())
	{
		fSelector.SetSongSource(&fSongs);
	}

	// The song chosen by each draw, with the draws taking these numbers.
	std::vector<int32> Draw(const std::vector<uint64>& numbers)
	{
		fRandom.Queue(numbers);
		std::vector<int32> chosen;
		for (size_t i = 0; i < numbers.size(); i++)
			chosen.push_back(fSelector.Select());
		return chosen;
	}

	// How many pool positions each song holds, by drawing every position
	// of a pool of `size` once.
	std::vector<int32> PoolShares(uint64 size)
	{
		std::vector<int32> shares(fSongs.Songs(), 0);
		std::vector<uint64> positions;
		for (uint64 position = 0; position < size; position++)
			positions.push_back(position);
		for (int32 song : Draw(positions))
			shares.at(song)++;
		return shares;
	}

	void Change(int32 song, int32 delta, int times = 1)
	{
		for (int i = 0; i < times; i++)
			fSelector.ChangeScore(song, delta);
	}

	std::string Saved()
	{
		const std::string path = fFolder / "saved.dat";
		const BEntry entry(path.c_str());
		EXPECT_EQ(B_OK, fSelector.Save(entry));
		return read_whole_file(path);
	}

	TempFolder fFolder;
	ScriptedRandom fRandom;
	TSongList fSongs;
	TAISelector fSelector;
};

std::string
database(const std::map<std::string, int32>& priorities,
	const std::map<std::string, int32>& counts)
{
	// The INI writer ends even the empty global section with a blank line.
	std::string text = "\n[ Priority ]\n";
	for (const auto& [name, priority] : priorities)
		text += name + " = " + std::to_string(priority) + "\n";
	text += "\n[ AutoSelectCount ]\n";
	for (const auto& [name, count] : counts)
		text += name + " = " + std::to_string(count) + "\n";
	return text + "\n";
}

}


TEST_F(AISelectorTest, NothingToChooseAnswersMinusOne)
{
	TAISelector alone(fRandom.Source());
	EXPECT_EQ(-1, alone.Select());
	EXPECT_EQ(-1, fSelector.Select());
	fSongs.Set({"a.mid"});
	fSongs.Set({});
	EXPECT_EQ(-1, fSelector.Select());
}


TEST_F(AISelectorTest, PoolHoldsEachSongTwoToThePowerOfItsPriorityTimes)
{
	fSongs.Set({"high.mid", "low.mid", "high.mid"});
	Change(0, +1, 3);
	Change(1, -1, 2);
	// Both "high.mid" rows share one score of priority 5.
	EXPECT_EQ((std::vector<int32>{32, 1, 32}), PoolShares(65));
	// Positions run through the songs in order and wrap round the pool.
	EXPECT_EQ((std::vector<int32>{0, 0, 1, 2, 2, 0, 1}),
		Draw({0, 31, 32, 33, 64, 65, 65 + 32}));
}


TEST_F(AISelectorTest, SongsMetInADrawWeighTwoThenFour)
{
	fSongs.Set({"known.mid", "new1.mid", "new2.mid"});
	Change(0, +3);
	// First draw: 32 + 2 + 2 positions; position 35 is the last one.
	EXPECT_EQ(std::vector<int32>{2}, Draw({35}));
	// From then on the new songs weigh as priority 2: 32 + 4 + 4.
	EXPECT_EQ((std::vector<int32>{2, 0}), Draw({39, 40}));
	fSongs.Set({"known.mid", "new1.mid", "new2.mid", "new3.mid"});
	// The newcomer weighs 2 in the first draw (42 positions), 4 after (44).
	EXPECT_EQ((std::vector<int32>{0, 3}), Draw({42, 43}));
}


TEST_F(AISelectorTest, DrawsFollowEditsOfTheListAndOfTheScores)
{
	fSongs.Set({"a.mid", "b.mid"});
	Change(0, +3);
	Change(1, -2);
	EXPECT_EQ(std::vector<int32>{1}, Draw({32}));
	fSongs.Set({"b.mid", "a.mid"});
	EXPECT_EQ((std::vector<int32>{0, 1}), Draw({0, 32}));
	Change(0, +5);
	EXPECT_EQ((std::vector<int32>{0, 1}), Draw({31, 32}));
}


TEST_F(AISelectorTest, ScoresStayWithinZeroToFive)
{
	fSongs.Set({"raised.mid", "lowered.mid", "top.mid", "untouched.mid"});
	Change(0, +1);
	Change(1, +1);
	Change(1, -1, 6);
	Change(2, +1, 9);
	Change(3, 0);
	fSelector.ChangeScore(-1, +1);
	fSelector.ChangeScore(4, +1);
	Change(2, std::numeric_limits<int32>::max());
	Change(1, std::numeric_limits<int32>::min());
	EXPECT_EQ(database({{"lowered.mid", 0}, {"raised.mid", 3}, {"top.mid", 5}},
		{{"lowered.mid", 0}, {"raised.mid", 0}, {"top.mid", 0}}), Saved());
}


TEST_F(AISelectorTest, CountsTheDrawsOfRatedSongsOnly)
{
	fSongs.Set({"rated.mid", "plain.mid"});
	Change(0, +1);
	Draw({0, 1, 8, 8, 8});
	// A song left at priority 2 is not stored, so its count goes with it.
	EXPECT_EQ(database({{"rated.mid", 3}}, {{"rated.mid", 2}}), Saved());
}


TEST_F(AISelectorTest, HostileNamesReadBackUnchanged)
{
	const std::vector<std::string> names = {
		"[GM] x.mid", "a=b.mid", "=", ";comment.mid", " lead.mid", "trail.mid ",
		"\ttab.mid", "line\nbreak.mid", "cr\r.mid", "\"quoted\".mid", "\"",
		"\"\\x41\"", "back\\slash.mid", "x [y].mid", "Song.mid", "song.mid",
		"SONG.mid", "\x83\x65\x83\x58\x83\x67.mid", "曲.mid", "plain.mid",
	};
	// No song at 2, which is not stored.
	const int32 kPriorities[] = {0, 1, 3, 4, 5};
	auto priority = [&](size_t song) { return kPriorities[song % 5]; };
	fSongs.Set(names);
	for (size_t i = 0; i < names.size(); i++)
		fSelector.ChangeScore(i, priority(i) - 2);
	// Song i is drawn i + 1 times, from the first of its pool positions.
	std::vector<uint64> positions;
	uint64 start = 0;
	for (size_t i = 0; i < names.size(); i++) {
		positions.insert(positions.end(), i + 1, start);
		start += uint64(1) << priority(i);
	}
	Draw(positions);
	const std::string path = fFolder / "saved.dat";
	ASSERT_EQ(B_OK, fSelector.Save(BEntry(path.c_str())));
	const std::string saved = read_whole_file(path);
	// Plain names are stored as they stand, as databases always held them.
	EXPECT_NE(std::string::npos, saved.find("\nplain.mid = 5\n"));
	EXPECT_NE(std::string::npos, saved.find("\nx [y].mid = 4\n"));

	// Another selector reads every name and number back: the songs, moved
	// round, keep their weights, and its own save is the same file.
	const std::vector<std::string> reversed(names.rbegin(), names.rend());
	TSongList songs(reversed);
	ScriptedRandom random;
	TAISelector loaded(random.Source());
	loaded.SetSongSource(&songs);
	ASSERT_EQ(B_OK, loaded.Load(BEntry(path.c_str())));
	const std::string again = fFolder / "again.dat";
	ASSERT_EQ(B_OK, loaded.Save(BEntry(again.c_str())));
	EXPECT_EQ(saved, read_whole_file(again));

	uint64 position = 0;
	for (size_t i = 0; i < reversed.size(); i++) {
		random.Queue({position});
		EXPECT_EQ(static_cast<int32>(i), loaded.Select())
			<< testing::PrintToString(reversed[i]);
		position += uint64(1) << priority(names.size() - 1 - i);
	}
}


TEST_F(AISelectorTest, LoadClampsPrioritiesAndIgnoresCountsWithoutPriority)
{
	const std::string path = fFolder / "hand-edited.dat";
	write_whole_file(path, "; edited by hand\r\n"
		"[ Priority ]\r\nhigh.mid = 99\r\nlow.mid = -7\r\nword.mid = many\r\n"
		"[ AutoSelectCount ]\r\nhigh.mid = 4\r\nlow.mid = -3\r\nalone.mid = 9\r\n");
	ASSERT_EQ(B_OK, fSelector.Load(BEntry(path.c_str())));
	fSongs.Set({"high.mid", "low.mid", "word.mid"});
	// A value that is no number leaves the default; the song was met in
	// the file all the same, so it weighs 4 at once.
	EXPECT_EQ((std::vector<int32>{32, 1, 4}), PoolShares(37));
	EXPECT_EQ(database({{"high.mid", 5}, {"low.mid", 0}},
		{{"high.mid", 4 + 32}, {"low.mid", 1}}), Saved());
}


TEST_F(AISelectorTest, LoadsOnceAndAMissingDatabaseMeansNoScores)
{
	const std::string path = fFolder / "database.dat";
	ASSERT_EQ(B_OK, fSelector.Load(BEntry(path.c_str())));
	write_whole_file(path, database({{"a.mid", 5}}, {}));
	ASSERT_EQ(B_OK, fSelector.Load(BEntry(path.c_str())));
	fSongs.Set({"a.mid", "b.mid"});
	// Both songs are new to the selector: 2 + 2 positions, not 32 + 2.
	EXPECT_EQ(std::vector<int32>{1}, Draw({3}));
}


TEST_F(AISelectorTest, SaveReplacesTheWholeFileOrNothing)
{
	const std::string path = fFolder / "database.dat";
	const std::string old = database({{"old.mid", 4}}, {{"old.mid", 1}})
		+ std::string(1000, ';') + "\n";
	write_whole_file(path, old);
	fSongs.Set({"new.mid"});
	Change(0, -1);

	const std::string answer = run_in_child([&] {
		signal(SIGXFSZ, SIG_IGN);
		const rlimit limit{16, 16};
		if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
			return std::string("skip: cannot limit file sizes");
		if (fSelector.Save(BEntry(path.c_str())) == B_OK)
			return std::string("the save reported success");
		return read_whole_file(path) == old ? std::string()
			: "the old database changed: " + read_whole_file(path);
	});
	if (!is_skip(answer)) {
		EXPECT_EQ("", answer);
	}
	EXPECT_EQ(std::vector<std::string>{"database.dat"},
		[&] {
			std::vector<std::string> names;
			for (const auto& entry : std::filesystem::directory_iterator(fFolder.Path()))
				names.push_back(entry.path().filename().string());
			return names;
		}());

	ASSERT_EQ(B_OK, fSelector.Save(BEntry(path.c_str())));
	EXPECT_EQ(database({{"new.mid", 1}}, {{"new.mid", 0}}), read_whole_file(path));
}
