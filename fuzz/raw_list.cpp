// Whatever a file holds, the raw loader claims it only for a MIDI file name
// in its first eleven lines, and loads only lines that end in "mid".
#include <cstdlib>
#include <cstring>
#include <string>

#include <strings.h>
#include <unistd.h>

#include <Entry.h>
#include <LineReader.h>

#include "RawLoader.h"

namespace {

const std::string&
list_file()
{
	static const std::string path = [] {
		std::string pattern = access("/dev/shm", W_OK) == 0
			? "/dev/shm/raw-XXXXXX" : "/tmp/raw-XXXXXX";
		const int file = mkstemp(pattern.data());
		if (file < 0)
			abort();
		close(file);
		atexit([] { unlink(list_file().c_str()); });
		return pattern;
	}();
	return path;
}


void
write_list(const uint8_t* data, size_t size)
{
	FILE* file = fopen(list_file().c_str(), "wb");
	if (file == nullptr || fwrite(data, 1, size, file) != size || fclose(file) != 0)
		abort();
}

}	// namespace


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	write_list(data, size);
	entry_ref ref;
	if (get_ref_for_path(list_file().c_str(), &ref) != B_OK)
		abort();

	TRawLoader loader("");
	TSupportFmt kind = kSupportMidiFile;
	const bool loadable = loader.IsLoadable(ref, &kind);
	if (loadable != (kind == kSupportRawList || kind == kSupportSemiRawList))
		abort();

	std::list<std::string> entries;
	if (loader.Load(ref, &entries) != 0)
		abort();
	for (const std::string& entry : entries) {
		if (entry.size() < 3 || entry.size() >= TLineReader::kLineBufferSize
			|| strncasecmp(entry.c_str() + entry.size() - 3, "mid", 3) != 0
			|| entry.find('\n') != std::string::npos)
			abort();
	}
	// A list claimed for its first lines holds at least those names.
	if (loadable && entries.empty())
		abort();
	return 0;
}
