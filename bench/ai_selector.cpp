// The AI random selector over a playlist of 100,000 songs: a draw must not
// be felt when a song ends (a few milliseconds at most), and its database of
// 100,000 scores must load at start and save at the end without a pause.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <AISelector.h>
#include <Entry.h>

#include "SongList.h"

namespace {

const int32 kSongs = 100000;


std::vector<std::string>
song_names(int32 count)
{
	std::vector<std::string> names;
	names.reserve(count);
	for (int32 i = 0; i < count; i++) {
		names.push_back((i % 3 == 0 ? "交響曲 第" : "Artist - Song Title ")
			+ std::to_string(i) + ".mid");
	}
	return names;
}


// A fresh folder for database files, removed at the end of the program.
const std::string&
bench_folder()
{
	static const struct Folder {
		Folder()
		{
			std::string pattern = (std::filesystem::temp_directory_path()
				/ "vantu-bench-XXXXXX").string();
			path = mkdtemp(pattern.data());
		}
		~Folder() { std::filesystem::remove_all(path); }
		std::string path;
	} folder;
	return folder.path;
}


// Every song rated, priorities 0 … 5 but 2 (which is not stored).
void
rate_every_song(TAISelector& selector, int32 songs)
{
	for (int32 i = 0; i < songs; i++)
		selector.ChangeScore(i, i % 5 < 2 ? i % 5 - 2 : i % 5 - 1);
}


void
BM_SelectFromUnchangedList(benchmark::State& state)
{
	TSongList songs(song_names(kSongs));
	TAISelector selector(std::mt19937_64(1));
	selector.SetSongSource(&songs);
	rate_every_song(selector, kSongs);
	selector.Select();
	for (auto _ : state)
		benchmark::DoNotOptimize(selector.Select());
}
BENCHMARK(BM_SelectFromUnchangedList)->Unit(benchmark::kMicrosecond);


void
BM_SelectAfterScoreChange(benchmark::State& state)
{
	TSongList songs(song_names(kSongs));
	TAISelector selector(std::mt19937_64(1));
	selector.SetSongSource(&songs);
	rate_every_song(selector, kSongs);
	int32 song = 0;
	for (auto _ : state) {
		selector.ChangeScore(song++ % kSongs, +1);
		benchmark::DoNotOptimize(selector.Select());
	}
}
BENCHMARK(BM_SelectAfterScoreChange)->Unit(benchmark::kMicrosecond);


// The first draw after the playlist was edited looks every song up again.
void
BM_SelectAfterListChange(benchmark::State& state)
{
	const std::vector<std::string> names = song_names(kSongs);
	TSongList songs(names);
	TAISelector selector(std::mt19937_64(1));
	selector.SetSongSource(&songs);
	rate_every_song(selector, kSongs);
	for (auto _ : state) {
		state.PauseTiming();
		songs.Set(names);
		state.ResumeTiming();
		benchmark::DoNotOptimize(selector.Select());
	}
}
BENCHMARK(BM_SelectAfterListChange)->Unit(benchmark::kMillisecond);


void
BM_SaveDatabase(benchmark::State& state)
{
	TSongList songs(song_names(kSongs));
	TAISelector selector(std::mt19937_64(1));
	selector.SetSongSource(&songs);
	rate_every_song(selector, kSongs);
	const BEntry file((bench_folder() + "/save.dat").c_str());
	for (auto _ : state) {
		if (selector.Save(file) != B_OK) {
			state.SkipWithError("the database was not saved");
			break;
		}
	}
}
BENCHMARK(BM_SaveDatabase)->Unit(benchmark::kMillisecond);


void
BM_LoadDatabase(benchmark::State& state)
{
	TSongList songs(song_names(kSongs));
	const BEntry file((bench_folder() + "/load.dat").c_str());
	{
		TAISelector selector(std::mt19937_64(1));
		selector.SetSongSource(&songs);
		rate_every_song(selector, kSongs);
		if (selector.Save(file) != B_OK) {
			state.SkipWithError("the database was not written");
			return;
		}
	}
	for (auto _ : state) {
		TAISelector selector(std::mt19937_64(1));
		selector.Load(file);
		benchmark::DoNotOptimize(selector);
	}
}
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond);

}
