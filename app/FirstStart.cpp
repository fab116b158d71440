#include "FirstStart.h"

#include <algorithm>
#include <filesystem>

#include <Entry.h>
#include <Files.h>

#include "GlobalSettings.h"

namespace {

const char* const kDemoFolderName = "Demo";

}


bool
is_first_start()
{
	BEntry entry;
	if (!pelkan::get_entry(kExitStatesFileName, &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName)) {
		return false;
	}
	return !entry.Exists();
}


std::vector<std::string>
demo_songs(const std::string& programFolder)
{
	std::vector<std::string> songs;
	std::error_code error;
	for (const auto& file : std::filesystem::directory_iterator(
			programFolder + kDemoFolderName, error)) {
		std::string extension = file.path().extension().string();
		std::transform(extension.begin(), extension.end(), extension.begin(),
			[](unsigned char c) { return std::tolower(c); });
		if (extension == ".mid" && file.is_regular_file(error))
			songs.push_back(file.path().string());
	}
	std::sort(songs.begin(), songs.end());
	return songs;
}
