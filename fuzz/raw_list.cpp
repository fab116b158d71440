// Whatever a file holds, the raw loader claims it only for a MIDI file name
// in its first eleven lines, and loads only lines that end in "mid".
#include <cstdlib>
#include <cstring>
#include <string>

#include <strings.h>
#include <unistd.h>

#include <Entry.h>
#include <LineReader.h>

#include "FuzzInputFile.h"
#include "RawLoader.h"


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const entry_ref ref = fuzz_input_ref(data, size);

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
