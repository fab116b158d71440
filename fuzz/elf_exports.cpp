// Whatever a file holds, reading it as a library stays inside it, ends, and
// finds the loader function only behind an ELF header.
#include <cstdlib>
#include <cstring>

#include <elf.h>
#include <link.h>

#include <ElfExports.h>
#include <Entry.h>
#include <Path.h>

#include "FuzzInputFile.h"


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const entry_ref ref = fuzz_input_ref(data, size);
	const BPath path(&ref);
	if (path.InitCheck() != B_OK)
		abort();
	const bool exports = pelkan::elf_exports_function(path.Path(),
		"make_container_loader");
	if (exports && (size < sizeof(ElfW(Ehdr))
			|| memcmp(data, ELFMAG, SELFMAG) != 0))
		abort();
	return 0;
}
