// Any file is either a native playlist or not, by its first line alone, and
// loads into lines that respect the line bound.
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include <CLNative100.h>
#include <Entry.h>
#include <LineReader.h>

#include "FuzzInputFile.h"

namespace {

std::string
first_line(const uint8_t* data, size_t size)
{
	const char* text = reinterpret_cast<const char*>(data);
	size_t length = 0;
	while (length < size && length < TLineReader::kLineBufferSize - 1
		&& text[length] != '\n')
		length++;
	std::string line(text, length);
	if (!line.empty() && line.back() == '\r')
		line.pop_back();
	return line;
}

}	// namespace


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const entry_ref ref = fuzz_input_ref(data, size);

	TCLNative100 loader;
	TSupportFmt kind = kSupportMidiFile;
	const bool loadable = loader.IsLoadable(ref, &kind);
	if (kind != kSupportNative100
		|| loadable != (first_line(data, size) == TCLNative100::kHeader))
		abort();

	std::list<std::string> entries;
	if (loader.Load(ref, &entries) != 0)
		abort();
	size_t bytes = 0;
	for (const std::string& entry : entries) {
		if (entry.size() >= TLineReader::kLineBufferSize
			|| entry.find('\n') != std::string::npos)
			abort();
		bytes += entry.size();
	}
	if (bytes > size)
		abort();
	return 0;
}
