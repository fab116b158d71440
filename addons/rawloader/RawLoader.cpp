#include "RawLoader.h"

#include <strings.h>
#include <sys/stat.h>

#include <LineReader.h>


TRawLoader::TRawLoader(const std::string& path)
	:
	TContainerLoader(path)
{
}


bool
TRawLoader::IsLoadable(const entry_ref& ref, TSupportFmt* kind) const
{
	const std::string path = loader_entry_path(ref);
	struct stat status;
	if (lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
		return false;
	TLineReader reader;
	if (!reader.Open(path))
		return false;
	std::string line;
	for (int32 number = 1; number <= kDetectionLines; number++) {
		if (reader.ReadLine(&line) == 0)
			return false;
		if (IsMidiFileName(line)) {
			*kind = number == 1 ? kSupportRawList : kSupportSemiRawList;
			return true;
		}
	}
	return false;
}


int32
TRawLoader::Load(const entry_ref& ref, std::list<std::string>* paths)
{
	TLineReader reader;
	if (!reader.Open(loader_entry_path(ref)))
		return -1;
	std::string line;
	while (reader.ReadLine(&line) > 0) {
		if (IsMidiFileName(line))
			paths->push_back(line);
	}
	return 0;
}


std::string
TRawLoader::Name() const
{
	return "Container Loader Raw List";
}


std::string
TRawLoader::Version() const
{
	return "Ver 1.10";
}


std::string
TRawLoader::Copyright() const
{
	return "Copyright (C) 2025 PELKAN";
}


std::string
TRawLoader::Description() const
{
	return "Tells MIDI files in the raw list / semi raw list.\n"
		"Raw List: Only file names are written.\n"
		"Semi Raw List: File names and other informations ( header etc. ) are "
		"written.";
}


bool
TRawLoader::IsMidiFileName(const std::string& text) const
{
	return text.size() >= 3
		&& strncasecmp(text.c_str() + text.size() - 3, "mid", 3) == 0;
}


TContainerLoader*
make_container_loader(const std::string& path, image_id)
{
	return new TRawLoader(path);
}
