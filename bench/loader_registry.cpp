// Containers of 10,000 entries resolved through the real loader registry: the
// built-in loader, then the shipped add-ons from the build's Loader folder.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <ContainerLoaderRegistry.h>
#include <Entry.h>

namespace {

const int kEntries = 10000;

// A temporary folder holding one list of each kind and a folder of songs.
class Containers {
public:
	Containers()
	{
		std::string pattern = (std::filesystem::temp_directory_path()
			/ "vantu-bench-XXXXXX").string();
		fRoot = mkdtemp(pattern.data());
		std::ofstream native(Native()), raw(Raw());
		native << "TirokaList$1\n";
		std::filesystem::create_directory(Folder());
		for (int i = 0; i < kEntries; i++) {
			const std::string name = "song " + std::to_string(i) + ".mid";
			native << "/home/user/MIDI/Collection/" << name << "\n";
			raw << "C:\\MIDI\\Collection\\" << name << "\r\n";
			std::ofstream(Folder() + "/" + name);
		}
	}
	~Containers()
	{
		std::error_code ignored;
		std::filesystem::remove_all(fRoot, ignored);
	}

	std::string Native() const { return fRoot + "/list.lml"; }
	std::string Raw() const { return fRoot + "/list.txt"; }
	std::string Folder() const { return fRoot + "/songs"; }

private:
	std::string fRoot;
};


const Containers&
containers()
{
	static Containers made;
	return made;
}


void
LoadThroughRegistry(benchmark::State& state, const std::string& path,
	TSupportFmt expected)
{
	TContainerLoaderList loaders;
	load_container_loader(&loaders, VANTU_BIN_DIR "/");
	if (loaders.size() < 3) {
		state.SkipWithError("the shipped add-ons are not in bin/Loader");
		return;
	}
	entry_ref ref;
	get_ref_for_path(path.c_str(), &ref);
	for (auto _ : state) {
		TSupportFmt kind;
		TContainerLoader* loader = find_container_loader(loaders, ref, &kind);
		std::list<std::string> entries;
		if (loader == nullptr || kind != expected || loader->Load(ref, &entries) != 0
			|| entries.size() != kEntries) {
			state.SkipWithError("the container did not load");
			break;
		}
		benchmark::DoNotOptimize(entries);
	}
	state.SetItemsProcessed(state.iterations() * kEntries);
}


void
NativePlaylist(benchmark::State& state)
{
	LoadThroughRegistry(state, containers().Native(), kSupportNative100);
}


void
RawList(benchmark::State& state)
{
	LoadThroughRegistry(state, containers().Raw(), kSupportRawList);
}


void
Folder(benchmark::State& state)
{
	LoadThroughRegistry(state, containers().Folder(), kSupportFolder);
}


// What a playlist view pays on construction and on every folder change.
void
BuildRegistry(benchmark::State& state)
{
	for (auto _ : state) {
		TContainerLoaderList loaders;
		load_container_loader(&loaders, VANTU_BIN_DIR "/");
		benchmark::DoNotOptimize(loaders);
	}
}

}	// namespace

BENCHMARK(NativePlaylist)->Unit(benchmark::kMillisecond);
BENCHMARK(RawList)->Unit(benchmark::kMillisecond);
BENCHMARK(Folder)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildRegistry)->Unit(benchmark::kMicrosecond);
