#include "private/AddOnFile.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BPrivate {

namespace {

// Closes the descriptor on every path out.
class FileDescriptor {
public:
	explicit FileDescriptor(int descriptor) : fDescriptor(descriptor) {}
	~FileDescriptor()
	{
		if (fDescriptor >= 0)
			close(fDescriptor);
	}
	FileDescriptor(const FileDescriptor&) = delete;
	FileDescriptor& operator=(const FileDescriptor&) = delete;

	int Get() const { return fDescriptor; }

private:
	int fDescriptor;
};

bool read_exactly(int descriptor, uint64 offset, void* buffer, size_t size)
{
	return pread(descriptor, buffer, size, static_cast<off_t>(offset))
		== static_cast<ssize_t>(size);
}

bool fits(uint64 offset, uint64 size, uint64 fileSize)
{
	uint64 end;
	return !__builtin_add_overflow(offset, size, &end) && end <= fileSize;
}

bool is_native_library(const ElfW(Ehdr)& header)
{
	const unsigned char nativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
	const unsigned char nativeData
		= __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
	return memcmp(header.e_ident, ELFMAG, SELFMAG) == 0
		&& header.e_ident[EI_CLASS] == nativeClass
		&& header.e_ident[EI_DATA] == nativeData
		&& header.e_type == ET_DYN
		&& header.e_phentsize == sizeof(ElfW(Phdr))
		&& header.e_phnum > 0;
}

}	// namespace

status_t check_add_on_file(const char* path, AddOnFileID* _id)
{
	FileDescriptor file(open(path, O_RDONLY | O_CLOEXEC));
	if (file.Get() < 0)
		return status_from_errno(errno);
	struct stat status;
	if (fstat(file.Get(), &status) != 0)
		return status_from_errno(errno);
	if (S_ISDIR(status.st_mode))
		return B_IS_A_DIRECTORY;
	if (!S_ISREG(status.st_mode))
		return B_NOT_AN_EXECUTABLE;
	uint64 fileSize = static_cast<uint64>(status.st_size);

	ElfW(Ehdr) header;
	if (!read_exactly(file.Get(), 0, &header, sizeof(header)) || !is_native_library(header))
		return B_NOT_AN_EXECUTABLE;
	uint64 tableSize = uint64(header.e_phnum) * sizeof(ElfW(Phdr));
	if (!fits(header.e_phoff, tableSize, fileSize))
		return B_NOT_AN_EXECUTABLE;
	std::vector<ElfW(Phdr)> segments(header.e_phnum);
	if (!read_exactly(file.Get(), header.e_phoff, segments.data(), tableSize))
		return B_NOT_AN_EXECUTABLE;
	for (const ElfW(Phdr)& segment : segments) {
		if ((segment.p_type == PT_LOAD || segment.p_type == PT_DYNAMIC)
			&& (!fits(segment.p_offset, segment.p_filesz, fileSize)
				|| segment.p_filesz > segment.p_memsz))
			return B_NOT_AN_EXECUTABLE;
	}
	*_id = AddOnFileID{status.st_dev, status.st_ino};
	return B_OK;
}

}	// namespace BPrivate
