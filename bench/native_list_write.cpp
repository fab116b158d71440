// Saving a native playlist of 100,000 entries: one atomic replacement of the
// file, so the cost is that of writing and flushing the text once.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <NativeListWriter.h>

namespace {

void
BM_WriteNativeList(benchmark::State& state)
{
	std::vector<std::string> entries;
	for (int64 i = 0; i < state.range(0); i++)
		entries.push_back("/home/user/Music/MIDI/Artist/Album " + std::to_string(i / 20)
			+ "/Song Title " + std::to_string(i) + ".mid");
	std::string pattern = (std::filesystem::temp_directory_path()
		/ "vantu-bench-XXXXXX").string();
	const std::string folder = mkdtemp(pattern.data());
	const std::string path = folder + "/list.lml";
	for (auto _ : state) {
		if (write_native_list(path.c_str(), entries, nullptr) != B_OK) {
			state.SkipWithError("the list was not written");
			break;
		}
	}
	std::filesystem::remove_all(folder);
	state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteNativeList)->Arg(100000)->Unit(benchmark::kMillisecond);

}
