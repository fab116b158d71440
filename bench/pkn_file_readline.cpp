#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include <PKNFile.h>

namespace {

// A native playlist of 10,000 entries, the size a large collection reaches.
class PlaylistFile {
public:
	PlaylistFile()
	{
		std::string pattern = (std::filesystem::temp_directory_path()
			/ "vantu-bench-XXXXXX").string();
		fFolder = mkdtemp(pattern.data());
		fPath = fFolder + "/list.lml";
		std::ofstream file(fPath, std::ios::binary);
		file << "TirokaList$1\n";
		for (int i = 0; i < 10000; i++)
			file << "/home/user/Music/Some Artist/Album " << i / 12 << "/Track "
				<< i % 12 << ".mid\n";
	}
	~PlaylistFile() { std::filesystem::remove_all(fFolder); }

	const char* Path() const { return fPath.c_str(); }

private:
	std::string fFolder;
	std::string fPath;
};


void
BM_ReadLineOf10000LinePlaylist(benchmark::State& state)
{
	PlaylistFile playlist;
	char line[2048];
	for (auto _ : state) {
		pelkan::TPKNFile file(playlist.Path(), B_READ_ONLY);
		int32 lines = 0;
		while (!file.Eof()) {
			file.ReadLine(line, sizeof(line));
			lines++;
		}
		benchmark::DoNotOptimize(lines);
	}
}
BENCHMARK(BM_ReadLineOf10000LinePlaylist)->Unit(benchmark::kMillisecond);

}
