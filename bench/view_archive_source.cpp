// Reading view-layout sources of growing size: the time should grow in
// proportion to the text, whether the views lie side by side in one parent
// or in boxes nested as deep as the reader allows.
#include <string>

#include <benchmark/benchmark.h>

#include <Message.h>

#include <ViewArchiveSource.h>

namespace {

// `count` labelled check boxes in one root view.
std::string
flat_source(int64 count)
{
	std::string text = "BView - 0,0,999,999 resize=all {\n";
	for (int64 i = 0; i < count; i++) {
		text += "\tBCheckBox Box" + std::to_string(i) + " 10,20,200,38 label=\"B - box "
			+ std::to_string(i) + "\" value=1\n";
	}
	return text + "}\n";
}


// Nests of 31 boxes, one check box at the bottom of each, `count` views in
// all.
std::string
nested_source(int64 count)
{
	const int64 depth = 31;
	std::string text = "BView - 0,0,999,999 {\n";
	for (int64 done = 0; done + depth + 1 <= count; done += depth + 1) {
		for (int64 level = 0; level < depth; level++)
			text += "BBox Box" + std::to_string(level) + " 1,1,900,900 label=\"Box\" {\n";
		text += "BCheckBox Leaf 10,20,100,38 label=\"L - leaf\"\n";
		for (int64 level = 0; level < depth; level++)
			text += "}\n";
	}
	return text + "}\n";
}


void
read_source(benchmark::State& state, const std::string& text)
{
	for (auto _ : state) {
		BMessage archive;
		TViewArchiveError error;
		if (!parse_view_archive_source(text, &archive, &error))
			state.SkipWithError(error.message.c_str());
		benchmark::DoNotOptimize(archive);
	}
	state.SetComplexityN(state.range(0));
	state.SetBytesProcessed(int64(state.iterations()) * int64(text.size()));
}


void
BM_FlatViews(benchmark::State& state)
{
	read_source(state, flat_source(state.range(0)));
}
BENCHMARK(BM_FlatViews)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()
	->Unit(benchmark::kMillisecond);


void
BM_NestedViews(benchmark::State& state)
{
	read_source(state, nested_source(state.range(0)));
}
BENCHMARK(BM_NestedViews)->RangeMultiplier(10)->Range(1000, 100000)->Complexity()
	->Unit(benchmark::kMillisecond);

}	// namespace
