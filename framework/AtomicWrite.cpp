#include "AtomicWrite.h"

#include <sys/stat.h>
#include <vector>

#include <AtomicFile.h>
#include <Entry.h>
#include <Message.h>
#include <StorageDefs.h>

namespace {

status_t
copy_bytes(BFile& source, BFile& target)
{
	std::vector<char> buffer(64 * 1024);
	for (;;) {
		ssize_t got = source.Read(buffer.data(), buffer.size());
		if (got < 0)
			return static_cast<status_t>(got);
		if (got == 0)
			return B_OK;
		ssize_t written = target.Write(buffer.data(), static_cast<size_t>(got));
		if (written != got)
			return written < 0 ? static_cast<status_t>(written) : B_IO_ERROR;
	}
}


status_t
copy_attributes(BNode& source, BNode& target)
{
	char name[B_ATTR_NAME_LENGTH];
	source.RewindAttrs();
	while (source.GetNextAttrName(name) == B_OK) {
		attr_info info;
		if (source.GetAttrInfo(name, &info) != B_OK)
			continue;
		std::vector<char> data(static_cast<size_t>(info.size));
		ssize_t got = source.ReadAttr(name, info.type, 0, data.data(), data.size());
		if (got < 0)
			continue;
		ssize_t written = target.WriteAttr(name, info.type, 0, data.data(),
			static_cast<size_t>(got));
		// A file system without attributes takes the bytes all the same.
		if (written < 0 && written != B_UNSUPPORTED)
			return static_cast<status_t>(written);
	}
	return B_OK;
}

}


status_t
pelkan::write_message_atomically(const BEntry& entry, const BMessage& message)
{
	BAtomicFile file(&entry);
	status_t status = file.InitCheck();
	if (status == B_OK)
		status = message.Flatten(&file);
	if (status == B_OK)
		status = file.Commit();
	return status;
}


status_t
pelkan::copy_file_atomically(BFile& source, const char* target)
{
	BAtomicFile file(target);
	status_t status = file.InitCheck();
	struct stat sourceStat;
	if (status == B_OK)
		status = source.GetStat(&sourceStat);
	// A new file gets the source's permissions, as cp gives them (an
	// executable stays executable); a file it replaces keeps its own.
	if (status == B_OK)
		status = file.SetPermissions(sourceStat.st_mode & 0777);
	if (status == B_OK)
		status = copy_bytes(source, file);
	if (status == B_OK)
		status = copy_attributes(source, file);
	if (status == B_OK)
		status = file.Commit();
	return status;
}
