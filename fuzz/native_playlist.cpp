// Any file is either a native playlist or not, by its first line alone, and
// loads into lines that respect the line bound.
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include <CLNative100.h>
#include <Entry.h>
#include <LineReader.h>

namespace {

// One file rewritten for every input; in memory where the system offers it.
const std::string&
list_file()
{
	static const std::string path = [] {
		std::string pattern = access("/dev/shm", W_OK) == 0
			? "/dev/shm/native-XXXXXX" : "/tmp/native-XXXXXX";
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
	write_list(data, size);
	entry_ref ref;
	if (get_ref_for_path(list_file().c_str(), &ref) != B_OK)
		abort();

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
