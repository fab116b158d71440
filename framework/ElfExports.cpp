#include "ElfExports.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <SupportDefs.h>

// The linker's name for this program's own ELF header: what the process
// runs as is the class, byte order and machine a library must have.
extern "C" const ElfW(Ehdr) __ehdr_start
	__attribute__((visibility("hidden")));

namespace {

typedef ElfW(Ehdr) Header;
typedef ElfW(Phdr) Segment;
typedef ElfW(Shdr) Section;
typedef ElfW(Dyn) DynamicEntry;
typedef ElfW(Sym) Symbol;

// Entries are read in batches of this many, so that neither a table of
// millions of entries nor one entry per system call is the cost.
const uint64 kBatchEntries = 512;


// One open regular file, read only inside its size as it was when opened.
class FileReader {
public:
	FileReader(int file, uint64 size)
		:
		fFile(file),
		fSize(size)
	{
	}

	// Whether `count` entries of `entrySize` bytes from `offset` lie in the
	// file, without overflowing on any values.
	bool Holds(uint64 offset, uint64 count, uint64 entrySize) const
	{
		return offset <= fSize
			&& (count == 0 || (fSize - offset) / entrySize >= count);
	}

	bool Read(uint64 offset, void* buffer, size_t size) const
	{
		if (!Holds(offset, size, 1))
			return false;
		char* bytes = static_cast<char*>(buffer);
		while (size > 0) {
			const ssize_t got = pread(fFile, bytes, size, offset);
			if (got < 0 && errno == EINTR)
				continue;
			if (got <= 0)
				return false;
			bytes += got;
			offset += got;
			size -= got;
		}
		return true;
	}

	template<typename Entry>
	bool ReadEntry(uint64 offset, Entry* entry) const
	{
		return Read(offset, entry, sizeof(Entry));
	}

	// Calls visit(entry, index) for `count` entries from `offset` until it
	// returns true (found: true is returned) or the entries end (false).
	// Entries that do not all lie in the file are damaged: *damaged is set.
	template<typename Entry, typename Visit>
	bool Find(uint64 offset, uint64 count, bool* damaged, Visit visit) const
	{
		if (!Holds(offset, count, sizeof(Entry))) {
			*damaged = true;
			return false;
		}
		std::vector<Entry> batch(std::min(count, kBatchEntries));
		for (uint64 first = 0; first < count; first += batch.size()) {
			const uint64 size = std::min<uint64>(batch.size(), count - first);
			if (!Read(offset + first * sizeof(Entry), batch.data(),
					size * sizeof(Entry))) {
				*damaged = true;
				return false;
			}
			for (uint64 i = 0; i < size; i++) {
				if (visit(batch[i], first + i))
					return true;
			}
		}
		return false;
	}

	uint64 Size() const { return fSize; }

private:
	int fFile;
	uint64 fSize;
};


// Where the dynamic symbols and their names lie in the file.
struct SymbolTable {
	uint64 symbols = 0;
	uint64 count = 0;
	uint64 strings = 0;
	uint64 stringsSize = 0;
};


// What the program headers tell: the loadable segments and the dynamic one.
struct Segments {
	std::vector<Segment> loads;
	std::optional<Segment> dynamic;
};


bool
suits_this_process(const Header& header)
{
	const unsigned char* ident = header.e_ident;
	return memcmp(ident, ELFMAG, SELFMAG) == 0
		&& ident[EI_CLASS] == __ehdr_start.e_ident[EI_CLASS]
		&& ident[EI_DATA] == __ehdr_start.e_ident[EI_DATA]
		&& ident[EI_VERSION] == EV_CURRENT
		&& header.e_type == ET_DYN
		&& header.e_machine == __ehdr_start.e_machine
		&& header.e_version == EV_CURRENT;
}


// The segments, when every loadable one lies in the file (a cut copy of a
// library cannot be loaded) and there is a dynamic one to load it by.
std::optional<Segments>
read_segments(const FileReader& file, const Header& header)
{
	if (header.e_phentsize != sizeof(Segment))
		return std::nullopt;
	Segments segments;
	bool damaged = false;
	file.Find<Segment>(header.e_phoff, header.e_phnum, &damaged,
		[&](const Segment& segment, uint64) {
			if (segment.p_type == PT_LOAD) {
				if (!file.Holds(segment.p_offset, segment.p_filesz, 1))
					damaged = true;
				segments.loads.push_back(segment);
			} else if (segment.p_type == PT_DYNAMIC && !segments.dynamic)
				segments.dynamic = segment;
			return damaged;
		});
	if (damaged || segments.loads.empty() || !segments.dynamic)
		return std::nullopt;
	return segments;
}


enum class Outcome {
	kFound,
	kAbsent,
	kDamaged
};


// The dynamic symbol table as the section headers place it: kAbsent when
// the file has no section headers or no such section.
Outcome
table_from_sections(const FileReader& file, const Header& header,
	SymbolTable* table)
{
	if (header.e_shoff == 0)
		return Outcome::kAbsent;
	Section first;
	if (header.e_shentsize != sizeof(Section)
		|| !file.ReadEntry(header.e_shoff, &first))
		return Outcome::kDamaged;
	// A file with more sections than the header's field holds keeps their
	// count in the first section.
	const uint64 count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;

	bool damaged = false;
	std::optional<Section> symbols;
	file.Find<Section>(header.e_shoff, count, &damaged,
		[&](const Section& section, uint64) {
			if (section.sh_type == SHT_DYNSYM)
				symbols = section;
			return symbols.has_value();
		});
	if (damaged)
		return Outcome::kDamaged;
	if (!symbols)
		return Outcome::kAbsent;

	Section strings;
	if (symbols->sh_entsize != sizeof(Symbol) || symbols->sh_link >= count
		|| !file.ReadEntry(header.e_shoff + symbols->sh_link * sizeof(Section),
			&strings)
		|| strings.sh_type != SHT_STRTAB)
		return Outcome::kDamaged;
	table->symbols = symbols->sh_offset;
	table->count = symbols->sh_size / sizeof(Symbol);
	table->strings = strings.sh_offset;
	table->stringsSize = strings.sh_size;
	return Outcome::kFound;
}


// Where the byte loaded at `address` lies in the file.
std::optional<uint64>
file_offset(const Segments& segments, uint64 address)
{
	for (const Segment& load : segments.loads) {
		if (address >= load.p_vaddr && address - load.p_vaddr < load.p_filesz)
			return load.p_offset + (address - load.p_vaddr);
	}
	return std::nullopt;
}


// The number of dynamic symbols as the System V hash table states it.
std::optional<uint64>
count_from_hash(const FileReader& file, uint64 table)
{
	uint32 sizes[2];
	if (!file.ReadEntry(table, &sizes))
		return std::nullopt;
	return sizes[1];
}


// The number of dynamic symbols as the GNU hash table implies it: one past
// the end of the chain of the highest bucket, whose last entry has its
// lowest bit set.
std::optional<uint64>
count_from_gnu_hash(const FileReader& file, uint64 table)
{
	struct {
		uint32 bucketCount;
		uint32 firstSymbol;
		uint32 bloomSize;
		uint32 bloomShift;
	} head;
	if (!file.ReadEntry(table, &head))
		return std::nullopt;
	const uint64 buckets = table + sizeof(head)
		+ uint64(head.bloomSize) * sizeof(ElfW(Addr));
	const uint64 chains = buckets + uint64(head.bucketCount) * sizeof(uint32);

	bool damaged = false;
	uint32 highest = 0;
	file.Find<uint32>(buckets, head.bucketCount, &damaged,
		[&](uint32 bucket, uint64) {
			highest = std::max(highest, bucket);
			return false;
		});
	if (damaged)
		return std::nullopt;
	if (highest == 0)
		return head.firstSymbol;
	if (highest < head.firstSymbol)
		return std::nullopt;

	const uint64 start = chains + uint64(highest - head.firstSymbol)
		* sizeof(uint32);
	if (start > file.Size())
		return std::nullopt;
	uint64 last = 0;
	const bool ended = file.Find<uint32>(start,
		(file.Size() - start) / sizeof(uint32), &damaged,
		[&](uint32 hash, uint64 index) {
			last = index;
			return (hash & 1) != 0;
		});
	if (!ended)
		return std::nullopt;
	return uint64(highest) + last + 1;
}


// The dynamic symbol table as the dynamic segment places it, by the same
// entries the run-time loader uses.
bool
table_from_dynamic(const FileReader& file, const Segments& segments,
	SymbolTable* table)
{
	std::optional<uint64> symbols, strings, stringsSize, hash, gnuHash;
	uint64 symbolSize = sizeof(Symbol);
	bool damaged = false;
	file.Find<DynamicEntry>(segments.dynamic->p_offset,
		segments.dynamic->p_filesz / sizeof(DynamicEntry), &damaged,
		[&](const DynamicEntry& entry, uint64) {
			const uint64 value = entry.d_un.d_val;
			switch (entry.d_tag) {
				case DT_SYMTAB: symbols = value; break;
				case DT_STRTAB: strings = value; break;
				case DT_STRSZ: stringsSize = value; break;
				case DT_SYMENT: symbolSize = value; break;
				case DT_HASH: hash = value; break;
				case DT_GNU_HASH: gnuHash = value; break;
			}
			return entry.d_tag == DT_NULL;
		});
	if (damaged || !symbols || !strings || !stringsSize
		|| symbolSize != sizeof(Symbol))
		return false;

	std::optional<uint64> symbolsAt = file_offset(segments, *symbols);
	std::optional<uint64> stringsAt = file_offset(segments, *strings);
	std::optional<uint64> count;
	if (hash) {
		if (std::optional<uint64> at = file_offset(segments, *hash))
			count = count_from_hash(file, *at);
	} else if (gnuHash) {
		if (std::optional<uint64> at = file_offset(segments, *gnuHash))
			count = count_from_gnu_hash(file, *at);
	}
	if (!symbolsAt || !stringsAt || !count)
		return false;
	table->symbols = *symbolsAt;
	table->count = *count;
	table->strings = *stringsAt;
	table->stringsSize = *stringsSize;
	return true;
}


bool
is_exported_function(const Symbol& symbol)
{
	const unsigned char bind = ELF64_ST_BIND(symbol.st_info);
	const unsigned char visibility = ELF64_ST_VISIBILITY(symbol.st_other);
	return ELF64_ST_TYPE(symbol.st_info) == STT_FUNC
		&& (bind == STB_GLOBAL || bind == STB_WEAK)
		&& (visibility == STV_DEFAULT || visibility == STV_PROTECTED)
		&& symbol.st_shndx != SHN_UNDEF;
}


bool
table_defines(const FileReader& file, const SymbolTable& table,
	const char* name)
{
	if (!file.Holds(table.strings, table.stringsSize, 1))
		return false;
	const size_t length = strlen(name);
	std::vector<char> found(length + 1);
	bool damaged = false;
	return file.Find<Symbol>(table.symbols, table.count, &damaged,
		[&](const Symbol& symbol, uint64) {
			return is_exported_function(symbol)
				&& symbol.st_name < table.stringsSize
				&& table.stringsSize - symbol.st_name > length
				&& file.Read(table.strings + symbol.st_name, found.data(),
					length + 1)
				&& memcmp(found.data(), name, length) == 0
				&& found[length] == '\0';
		});
}


bool
file_exports_function(const FileReader& file, const char* name)
{
	Header header;
	if (!file.ReadEntry(0, &header) || !suits_this_process(header))
		return false;
	const std::optional<Segments> segments = read_segments(file, header);
	if (!segments)
		return false;
	SymbolTable table;
	switch (table_from_sections(file, header, &table)) {
		case Outcome::kFound:
			return table_defines(file, table, name);
		case Outcome::kAbsent:
			return table_from_dynamic(file, *segments, &table)
				&& table_defines(file, table, name);
		case Outcome::kDamaged:
			break;
	}
	return false;
}

}	// namespace


bool
pelkan::elf_exports_function(const char* path, const char* name)
{
	// Not blocking: a named pipe dropped by mistake must not hang the open.
	const int file = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
	if (file < 0)
		return false;
	struct stat status;
	const bool exports = fstat(file, &status) == 0 && S_ISREG(status.st_mode)
		&& file_exports_function(FileReader(file, status.st_size), name);
	close(file);
	return exports;
}
