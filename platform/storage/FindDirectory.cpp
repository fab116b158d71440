#include <FindDirectory.h>

#include <string>

#include <Directory.h>
#include <Path.h>

#include "StoragePrivate.h"

status_t
find_directory(directory_which which, BPath* path, bool create, BVolume*)
{
	if (path == nullptr)
		return B_BAD_VALUE;
	std::string folder;
	switch (which) {
		case B_DESKTOP_DIRECTORY:
			folder = BPrivate::home_directory();
			if (!folder.empty())
				folder = BPrivate::join_path(folder, "Desktop");
			break;
		case B_TRASH_DIRECTORY:
			folder = BPrivate::xdg_directory("XDG_DATA_HOME", ".local/share");
			if (!folder.empty())
				folder = BPrivate::join_path(folder, "Trash");
			break;
		case B_USER_DIRECTORY:
			folder = BPrivate::home_directory();
			break;
		case B_USER_CONFIG_DIRECTORY:
		case B_USER_SETTINGS_DIRECTORY:
			folder = BPrivate::xdg_directory("XDG_CONFIG_HOME", ".config");
			break;
		default:
			path->Unset();
			return B_BAD_VALUE;
	}
	if (folder.empty()) {
		path->Unset();
		return B_ENTRY_NOT_FOUND;
	}
	if (create) {
		status_t status = create_directory(folder.c_str(), 0777);
		if (status != B_OK) {
			path->Unset();
			return status;
		}
	}
	return path->SetTo(folder.c_str());
}
