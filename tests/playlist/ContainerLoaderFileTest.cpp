#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ContainerLoaderRegistry.h>

#include "ScopedVariable.h"
#include "TempFolder.h"

namespace {

typedef std::function<void(std::string*)> Patch;


ElfW(Ehdr)
header_of(const std::string& bytes)
{
	ElfW(Ehdr) header;
	memcpy(&header, bytes.data(), sizeof(header));
	return header;
}


void
change_header(std::string* bytes, const std::function<void(ElfW(Ehdr)*)>& change)
{
	ElfW(Ehdr) header = header_of(*bytes);
	change(&header);
	memcpy(bytes->data(), &header, sizeof(header));
}


// Leaves the library as a stripping tool that drops the section headers
// does: the loader still finds everything through the dynamic segment.
void
drop_sections(std::string* bytes)
{
	change_header(bytes, [](ElfW(Ehdr)* header) {
		header->e_shoff = 0;
		header->e_shnum = 0;
		header->e_shstrndx = 0;
	});
}


// The loader function's entry in a well-formed library's dynamic symbol
// table, and its name among the table's strings, to change them.
struct LoaderSymbol {
	ElfW(Sym)* symbol = nullptr;
	char* name = nullptr;
};


LoaderSymbol
find_loader_symbol(std::string* bytes)
{
	const ElfW(Ehdr) header = header_of(*bytes);
	const ElfW(Shdr)* sections = reinterpret_cast<const ElfW(Shdr)*>(
		bytes->data() + header.e_shoff);
	for (int i = 0; i < header.e_shnum; i++) {
		if (sections[i].sh_type != SHT_DYNSYM)
			continue;
		char* strings = bytes->data() + sections[sections[i].sh_link].sh_offset;
		ElfW(Sym)* symbols = reinterpret_cast<ElfW(Sym)*>(bytes->data()
			+ sections[i].sh_offset);
		for (size_t k = 0; k < sections[i].sh_size / sizeof(ElfW(Sym)); k++) {
			if (strcmp(strings + symbols[k].st_name, "make_container_loader") == 0)
				return {&symbols[k], strings + symbols[k].st_name};
		}
	}
	return {};
}


Patch
change_loader_symbol(const std::function<void(const LoaderSymbol&)>& change)
{
	return [change](std::string* bytes) {
		const LoaderSymbol found = find_loader_symbol(bytes);
		ASSERT_NE(nullptr, found.symbol);
		change(found);
	};
}


bool
is_mapped(const std::string& file)
{
	void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
	if (handle != nullptr)
		dlclose(handle);
	return handle != nullptr;
}


class ContainerLoaderFileTest : public testing::Test {
protected:
	// A copy of a library's bytes changed by `patch`, under `name` in the
	// test's folder.
	std::string Copy(std::string bytes, const std::string& name,
		const Patch& patch)
	{
		if (patch)
			patch(&bytes);
		write_whole_file(fFolder / name, bytes);
		return fFolder / name;
	}

	TempFolder fFolder;
};


TEST_F(ContainerLoaderFileTest, OnlyALibraryThatDefinesTheFunctionIsALoader)
{
	write_whole_file(fFolder / "empty.so", "");
	const struct {
		std::string file;
		bool loader;
	} cases[] = {
		{FOLDER_LOADER_FILE, true},
		{SYSV_HASH_LOADER_FILE, true},
		// It names the function, undefined, as one it takes from another.
		{IMPORTING_LIBRARY_FILE, false},
		{fFolder / "empty.so", false},
	};
	for (const auto& test : cases)
		EXPECT_EQ(test.loader, is_container_loader(test.file.c_str())) << test.file;
}


TEST_F(ContainerLoaderFileTest, NoCodeOfTheFileRuns)
{
	const std::string marker = fFolder / "constructor-ran";
	ScopedVariable variable("VANTU_TEST_MARKER", marker.c_str());
	EXPECT_TRUE(is_container_loader(CONSTRUCTOR_LOADER_FILE));
	EXPECT_NE(0, access(marker.c_str(), F_OK));
	EXPECT_FALSE(is_mapped(CONSTRUCTOR_LOADER_FILE));
}


TEST_F(ContainerLoaderFileTest, TheSymbolAndTheHeaderDecide)
{
	const struct {
		const char* what;
		Patch patch;
		bool loader;
	} cases[] = {
		{"unchanged", nullptr, true},
		{"weak", change_loader_symbol([](const LoaderSymbol& found) {
			found.symbol->st_info = ELF64_ST_INFO(STB_WEAK, STT_FUNC);
		}), true},
		{"undefined", change_loader_symbol([](const LoaderSymbol& found) {
			found.symbol->st_shndx = SHN_UNDEF;
		}), false},
		{"local", change_loader_symbol([](const LoaderSymbol& found) {
			found.symbol->st_info = ELF64_ST_INFO(STB_LOCAL, STT_FUNC);
		}), false},
		{"data", change_loader_symbol([](const LoaderSymbol& found) {
			found.symbol->st_info = ELF64_ST_INFO(STB_GLOBAL, STT_OBJECT);
		}), false},
		{"hidden", change_loader_symbol([](const LoaderSymbol& found) {
			found.symbol->st_other = STV_HIDDEN;
		}), false},
		{"name without its first letter", change_loader_symbol(
			[](const LoaderSymbol& found) { found.symbol->st_name++; }), false},
		{"longer name", change_loader_symbol([](const LoaderSymbol& found) {
			found.name[strlen(found.name)] = 'X';
		}), false},
		{"name past the strings", change_loader_symbol(
			[](const LoaderSymbol& found) { found.symbol->st_name = 0xFFFFFFF0; }),
			false},
		{"another machine", [](std::string* bytes) {
			change_header(bytes, [](ElfW(Ehdr)* header) {
				header->e_machine = header->e_machine == EM_AARCH64
					? EM_X86_64 : EM_AARCH64;
			});
		}, false},
		{"32-bit", [](std::string* bytes) {
			change_header(bytes, [](ElfW(Ehdr)* header) {
				header->e_ident[EI_CLASS] = ELFCLASS32;
			});
		}, false},
		{"other byte order", [](std::string* bytes) {
			change_header(bytes, [](ElfW(Ehdr)* header) {
				header->e_ident[EI_DATA] = ELFDATA2MSB;
			});
		}, false},
		{"executable", [](std::string* bytes) {
			change_header(bytes, [](ElfW(Ehdr)* header) {
				header->e_type = ET_EXEC;
			});
		}, false},
	};
	const std::string library = read_whole_file(RAW_LOADER_FILE);
	for (const auto& test : cases) {
		// Through the section headers, then through the dynamic segment.
		const std::string file = Copy(library, "Loader.so", test.patch);
		EXPECT_EQ(test.loader, is_container_loader(file.c_str())) << test.what;
		const std::string stripped = Copy(library, "Stripped.so",
			[&](std::string* bytes) {
				if (test.patch)
					test.patch(bytes);
				drop_sections(bytes);
			});
		EXPECT_EQ(test.loader, is_container_loader(stripped.c_str()))
			<< test.what << ", without sections";
	}
}


TEST_F(ContainerLoaderFileTest, CopiesWithoutSectionsAreReadThroughTheDynamicSegment)
{
	const struct {
		const char* file;
		bool loader;
	} cases[] = {
		{FOLDER_LOADER_FILE, true},
		// Only the System V hash table tells the number of symbols.
		{SYSV_HASH_LOADER_FILE, true},
		{NO_EXPORT_LOADER_FILE, false},
		{IMPORTING_LIBRARY_FILE, false},
	};
	for (const auto& test : cases) {
		const std::string file = Copy(read_whole_file(test.file), "Stripped.so",
			drop_sections);
		EXPECT_EQ(test.loader, is_container_loader(file.c_str())) << test.file;
	}
}


// The end of the last loadable segment's bytes in the file: without section
// headers, what follows is no part of the library a loader would miss.
off_t
loaded_end(const std::string& bytes)
{
	const ElfW(Ehdr) header = header_of(bytes);
	off_t end = 0;
	for (int i = 0; i < header.e_phnum; i++) {
		ElfW(Phdr) segment;
		memcpy(&segment, bytes.data() + header.e_phoff + i * sizeof(segment),
			sizeof(segment));
		if (segment.p_type == PT_LOAD)
			end = std::max<off_t>(end, segment.p_offset + segment.p_filesz);
	}
	return end;
}


TEST_F(ContainerLoaderFileTest, NoCutCopyIsALoader)
{
	for (const char* source : {RAW_LOADER_FILE, SYSV_HASH_LOADER_FILE}) {
		const std::string library = read_whole_file(source);
		for (bool withSections : {true, false}) {
			const std::string file = Copy(library, "Cut.so",
				withSections ? Patch() : Patch(drop_sections));
			const off_t size = withSections
				? library.size() : loaded_end(library);
			// Every length within the headers, then a sample of the rest.
			for (off_t length = size - 1; length >= 0;
					length -= length > 4096 ? 97 : 1) {
				ASSERT_EQ(0, truncate(file.c_str(), length));
				EXPECT_FALSE(is_container_loader(file.c_str()))
					<< source << " cut at " << length
					<< (withSections ? "" : ", without sections");
			}
		}
	}
}


TEST_F(ContainerLoaderFileTest, ANamedPipeIsNoLoaderAndDoesNotBlock)
{
	const std::string pipe = fFolder / "pipe.so";
	ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
	std::future<bool> answer = std::async(std::launch::async,
		[&] { return is_container_loader(pipe.c_str()); });
	if (answer.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
		ADD_FAILURE() << "is_container_loader waits for a writer";
		// A writer lets the blocked open return.
		close(open(pipe.c_str(), O_WRONLY));
	}
	EXPECT_FALSE(answer.get());
}

}	// namespace
