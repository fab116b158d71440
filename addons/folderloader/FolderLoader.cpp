#include "FolderLoader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>


TFolderLoader::TFolderLoader(const std::string& path)
	:
	TContainerLoader(path)
{
}


bool
TFolderLoader::IsLoadable(const entry_ref& ref, TSupportFmt* kind) const
{
	*kind = kSupportFolder;
	struct stat status;
	return lstat(loader_entry_path(ref).c_str(), &status) == 0
		&& S_ISDIR(status.st_mode);
}


int32
TFolderLoader::Load(const entry_ref& ref, std::list<std::string>* paths)
{
	const std::string folder = loader_entry_path(ref);
	DIR* listing = opendir(folder.c_str());
	if (listing == NULL)
		return -1;
	std::vector<std::string> names;
	while (const dirent* entry = readdir(listing)) {
		if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
			names.push_back(entry->d_name);
	}
	closedir(listing);
	// Sorted by name, byte order, as every folder listing of the program is:
	// the raw order of the file system is arbitrary.
	std::sort(names.begin(), names.end());
	const std::string prefix = folder.back() == '/' ? folder : folder + "/";
	for (const std::string& name : names)
		paths->push_back(prefix + name);
	return 0;
}


std::string
TFolderLoader::Name() const
{
	return "Container Loader Folder";
}


std::string
TFolderLoader::Version() const
{
	return "Ver 1.10";
}


std::string
TFolderLoader::Copyright() const
{
	return "Copyright (C) 2025 PELKAN";
}


std::string
TFolderLoader::Description() const
{
	return "Tells MIDI files in the folder.";
}


TContainerLoader*
make_container_loader(const std::string& path, image_id)
{
	return new TFolderLoader(path);
}
