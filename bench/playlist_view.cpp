// The playlist view at playlist sizes: adding a folder of 10,000 songs,
// opening native lists of 10,000 and 100,000 entries (with the program's
// resident size once open), song lookups, and deleting, moving and sorting
// 10,000 selected rows of a 20,000-song list. Each view is shown in a window.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <Entry.h>
#include <Message.h>
#include <MessagePrivate.h>
#include <Window.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "InterfaceKit.h"

namespace {

const int32 kFolderSongs = 10000;
// Lists name these files over and over: songs are not checked for duplicates.
const int32 kDistinctSongs = 1000;


const std::string&
bench_folder()
{
	static std::string folder;
	if (!folder.empty())
		return folder;
	std::string pattern = (std::filesystem::temp_directory_path() / "vantu-bench-XXXXXX").string();
	folder = mkdtemp(pattern.data());
	std::filesystem::create_directory(folder + "/songs");
	for (int32 i = 0; i < kFolderSongs; i++)
		std::ofstream(folder + "/songs/song" + std::to_string(100000 + i) + ".mid") << "MThd";
	std::atexit([] { std::filesystem::remove_all(folder); });
	return folder;
}


std::string
native_list(int32 entries)
{
	const std::string path = bench_folder() + "/list" + std::to_string(entries) + ".lml";
	if (std::filesystem::exists(path))
		return path;
	std::ofstream list(path);
	list << "TirokaList$1\n";
	for (int32 i = 0; i < entries; i++)
		list << bench_folder() << "/songs/song" << 100000 + i % kDistinctSongs << ".mid\n";
	return path;
}


void
set_up()
{
	static int argc = 1;
	static char name[] = "bench_playlist_view";
	static char* argv[] = {name, nullptr};
	BPrivate::init_interface_kit(argc, argv);
	gAppPrivacy.AnaExePath(name);
	gPref.autoSortKind = 1;
}


// A window showing a fresh view.
class Shown {
public:
	Shown()
	{
		fWindow = new BWindow(BRect(40, 40, 439, 639), "playlist", B_TITLED_WINDOW, 0);
		fView = new TCorvanView(BRect(0, 0, 399, 599), "Playlist", false);
		fWindow->AddChild(fView);
		fWindow->Show();
	}
	~Shown()
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}

	void Open(const std::string& path)
	{
		BMessage refs(B_SIMPLE_DATA);
		entry_ref ref;
		get_ref_for_path(path.c_str(), &ref);
		refs.AddRef("refs", &ref);
		fView->AddListFolderFileToTopLevel(&refs);
	}

	BWindow* fWindow;
	TCorvanView* fView;
};


long
resident_bytes()
{
	std::ifstream statm("/proc/self/statm");
	long pages = 0;
	long resident = 0;
	statm >> pages >> resident;
	return resident * sysconf(_SC_PAGESIZE);
}


void
BM_AddFolder(benchmark::State& state)
{
	set_up();
	const std::string folder = bench_folder() + "/songs";
	for (auto _ : state) {
		state.PauseTiming();
		Shown shown;
		state.ResumeTiming();
		shown.Open(folder);
		state.PauseTiming();
		if (shown.fView->Songs() != kFolderSongs)
			state.SkipWithError("songs missing");
		state.ResumeTiming();
	}
}


void
BM_OpenNativeList(benchmark::State& state)
{
	set_up();
	const std::string list = native_list(int32(state.range(0)));
	for (auto _ : state) {
		state.PauseTiming();
		Shown shown;
		state.ResumeTiming();
		shown.Open(list);
		state.PauseTiming();
		state.counters["RSS_MB"] = resident_bytes() / 1e6;
		if (shown.fView->Songs() != state.range(0))
			state.SkipWithError("songs missing");
		state.ResumeTiming();
	}
}


void
BM_SongLookups(benchmark::State& state)
{
	set_up();
	Shown shown;
	shown.Open(native_list(20000));
	TCorvanView* view = shown.fView;
	std::mt19937 random(7);
	int64 sum = 0;
	for (auto _ : state) {
		sum += view->Song(int32(random() % view->Songs()))->MagicNum();
		sum += view->SongIdx(int32(random() % view->FullListCountItems()));
		sum += view->Songs();
	}
	benchmark::DoNotOptimize(sum);
}


// Every other song of a 20,000-song list selected: the worst case for
// keeping unchanged stretches of rows.
void
select_every_other(TCorvanView* view)
{
	for (int32 row = 1; row < view->CountItems(); row += 2)
		view->Select(row, true);
}


void
BM_DeleteSelected(benchmark::State& state)
{
	set_up();
	for (auto _ : state) {
		state.PauseTiming();
		Shown shown;
		shown.Open(native_list(20000));
		select_every_other(shown.fView);
		state.ResumeTiming();
		shown.fView->PopupDeleteFileClicked(NULL);
		state.PauseTiming();
		if (shown.fView->Songs() != 10000)
			state.SkipWithError("wrong count");
		state.ResumeTiming();
	}
}


void
BM_MoveSelected(benchmark::State& state)
{
	set_up();
	for (auto _ : state) {
		state.PauseTiming();
		Shown shown;
		shown.Open(native_list(20000));
		select_every_other(shown.fView);
		BMessage drop(kMsgChangeSongOrderRqtd);
		// Below the last row: to the end of the top list.
		BMessage::Private::SetDropInfo(drop,
			shown.fView->ConvertToScreen(BPoint(5, 20001 * shown.fView->RowPitch())),
			BPoint(0, 0), false);
		state.ResumeTiming();
		shown.fView->ChangeSongOrderRqtd(&drop);
	}
}


void
BM_SortSelected(benchmark::State& state)
{
	set_up();
	for (auto _ : state) {
		state.PauseTiming();
		Shown shown;
		shown.Open(native_list(20000));
		select_every_other(shown.fView);
		BMessage sort(kMsgPopupSort);
		sort.AddInt32("SortKey", 2);
		state.ResumeTiming();
		shown.fView->PopupSortClicked(&sort);
	}
}

}

BENCHMARK(BM_AddFolder)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_OpenNativeList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
	->Iterations(1);
BENCHMARK(BM_SongLookups);
BENCHMARK(BM_DeleteSelected)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MoveSelected)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortSelected)->Unit(benchmark::kMillisecond)->Iterations(3);
