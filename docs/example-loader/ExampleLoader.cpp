// A complete container loader add-on for M3U lists, written against
// ContainerLoader.h alone. Build it as a shared library with hidden
// visibility (see docs/loader-addons.md) and put it into the program's
// "Loader" folder.

#include <fstream>

#include <sys/stat.h>

#include <ContainerLoader.h>

namespace {

class TM3ULoader : public TContainerLoader {
public:
	explicit TM3ULoader(const std::string& path) : TContainerLoader(path) {}

	bool IsLoadable(const entry_ref& ref, TSupportFmt* kind) const override
	{
		*kind = kSupportGeneralList;
		const std::string path = loader_entry_path(ref);
		struct stat status;
		return path.size() > 4 && path.compare(path.size() - 4, 4, ".m3u") == 0
			&& stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
	}

	int32 Load(const entry_ref& ref, std::list<std::string>* paths) override
	{
		std::ifstream list(loader_entry_path(ref));
		if (!list)
			return -1;
		std::string line;
		while (std::getline(list, line)) {
			if (!line.empty() && line.back() == '\r')
				line.pop_back();
			if (!line.empty() && line[0] != '#')
				paths->push_back(line);
		}
		return 0;
	}

	std::string Name() const override { return "Container Loader M3U"; }
	std::string Version() const override { return "Ver 1.00"; }
	std::string Copyright() const override { return "Copyright (C) 2025 Example"; }
	std::string Description() const override
	{
		return "Tells the files in an M3U list.\nComment lines are skipped.";
	}
};

}	// namespace


TContainerLoader*
make_container_loader(const std::string& path, image_id)
{
	return new TM3ULoader(path);
}
