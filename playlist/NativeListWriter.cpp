#include "NativeListWriter.h"

#include <AtomicFile.h>
#include <NodeInfo.h>

#include "CLNative100.h"
#include "LineReader.h"

const char* const kNativeListMimeType = "text/x-vnd.PELKAN-VantuMIDI-PlayList";

namespace {

// The reader ends a line when its buffer is full, leaving the line feed
// for a line of its own, and takes a CR before the line feed as part of the
// line end: such entries would come back altered.
bool reads_back_as_one_line(const std::string& entry)
{
	return entry.size() < TLineReader::kLineBufferSize - 1
		&& entry.find_first_of("\r\n") == std::string::npos;
}

} // namespace


status_t
write_native_list(const char* path, const std::vector<std::string>& entries,
	std::string* badEntry)
{
	if (path == nullptr || path[0] == '\0')
		return B_BAD_VALUE;

	std::string content = TCLNative100::kHeader;
	content += '\n';
	for (const std::string& entry : entries) {
		if (!reads_back_as_one_line(entry)) {
			if (badEntry != nullptr)
				*badEntry = entry;
			return B_BAD_VALUE;
		}
		content += entry;
		content += '\n';
	}

	BAtomicFile file(path);
	status_t status = file.InitCheck();
	if (status != B_OK)
		return status;
	// A short write is remembered by the file and fails the commit.
	file.Write(content.data(), content.size());
	// Typed before the rename, so the list never shows up untyped. Without
	// attributes the type still follows from the ".lml" extension.
	BNodeInfo(&file).SetType(kNativeListMimeType);
	return file.Commit();
}
