// Time to fill an outline list the way a playlist is loaded: 100 lists of
// 100 songs, each song added as the last child of its list, in a list that
// is shown in a scroll view; then one sort of every level.

#include <vector>

#include <benchmark/benchmark.h>

#include <OutlineListView.h>
#include <ScrollView.h>
#include <StringItem.h>
#include <Window.h>

#include "InterfaceKit.h"

namespace {

// A playlist row: fixed height, no font work.
class Row : public BStringItem {
public:
	Row() : BStringItem("song.mid") {}
	void Update(BView*, const BFont*) override { SetHeight(12.0f); }
};


int
by_address(const BListItem* a, const BListItem* b)
{
	return (a > b) - (a < b);
}


void
BM_FillOutlineList(benchmark::State& state)
{
	static int argc = 1;
	static char name[] = "bench_outline_list_build";
	static char* argv[] = {name, nullptr};
	BPrivate::init_interface_kit(argc, argv);
	const bool sort = state.range(0) != 0;
	for (auto _ : state) {
		state.PauseTiming();
		BWindow* window = new BWindow(BRect(40, 40, 439, 439), "playlist",
			B_TITLED_WINDOW, 0);
		BOutlineListView* list = new BOutlineListView(BRect(0, 0, 300, 300), "list",
			B_MULTIPLE_SELECTION_LIST, B_FOLLOW_ALL);
		window->AddChild(new BScrollView("scroll", list, B_FOLLOW_ALL, 0, true, true));
		std::vector<BListItem*> items;
		items.reserve(10100);
		state.ResumeTiming();
		for (int32 parent = 0; parent < 100; parent++) {
			BListItem* container = new Row;
			list->AddItem(container);
			items.push_back(container);
			for (int32 song = 0; song < 100; song++) {
				BListItem* row = new Row;
				list->AddUnder(row, container);
				items.push_back(row);
			}
		}
		if (sort)
			list->SortItemsUnder(NULL, false, by_address);
		state.PauseTiming();
		if (window->Lock())
			window->Quit();
		for (BListItem* item : items)
			delete item;
		state.ResumeTiming();
	}
}

}

BENCHMARK(BM_FillOutlineList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
