#include "AddOnFolders.h"

#include <cstdlib>

#include <FindDirectory.h>
#include <Path.h>

namespace {

const char* const kUserDataFolderName = "VantuMIDI";


// $XDG_DATA_HOME, or ~/.local/share when it is unset or relative (the XDG
// rules ignore a relative value).
std::string
user_data_home()
{
	const char* dataHome = getenv("XDG_DATA_HOME");
	if (dataHome != nullptr && dataHome[0] == '/')
		return dataHome;
	BPath home;
	if (find_directory(B_USER_DIRECTORY, &home) != B_OK)
		return std::string();
	return std::string(home.Path()) + "/.local/share";
}

}	// namespace


std::string
user_add_on_folder(const char* kind)
{
	const std::string dataHome = user_data_home();
	if (dataHome.empty())
		return dataHome;
	return dataHome + "/" + kUserDataFolderName + "/" + kind;
}


std::vector<std::string>
add_on_folders(const std::string& exeFolder, const char* kind)
{
	std::vector<std::string> folders{exeFolder + kind};
	const std::string userFolder = user_add_on_folder(kind);
	if (!userFolder.empty())
		folders.push_back(userFolder);
	return folders;
}
