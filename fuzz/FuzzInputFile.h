#ifndef FUZZ_INPUT_FILE_H
#define FUZZ_INPUT_FILE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <Entry.h>

// Loaders read files, so every input is written to one file of the process
// (in memory where the system offers it) and handed over as a reference.
inline entry_ref
fuzz_input_ref(const uint8_t* data, size_t size)
{
	static const std::string path = [] {
		std::string pattern = access("/dev/shm", W_OK) == 0
			? "/dev/shm/vantu-fuzz-XXXXXX" : "/tmp/vantu-fuzz-XXXXXX";
		const int file = mkstemp(pattern.data());
		if (file < 0)
			abort();
		close(file);
		atexit([] { unlink(path.c_str()); });
		return pattern;
	}();

	FILE* file = fopen(path.c_str(), "wb");
	if (file == nullptr || fwrite(data, 1, size, file) != size || fclose(file) != 0)
		abort();
	entry_ref ref;
	if (get_ref_for_path(path.c_str(), &ref) != B_OK)
		abort();
	return ref;
}

#endif
