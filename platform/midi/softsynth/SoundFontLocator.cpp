#include "SoundFontLocator.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace BPrivate {

namespace {

const char* const kDefaultFont = "default-GM.sf2";
const char* const kSubfolders[] = {"soundfonts", "sounds/sf2"};


bool
has_font_extension(const std::string& name)
{
	for (const char* extension : {".sf2", ".sf3"}) {
		size_t length = strlen(extension);
		if (name.size() > length
			&& strcasecmp(name.c_str() + name.size() - length, extension) == 0) {
			return true;
		}
	}
	return false;
}


// 0 when `path` is a regular file this process may read, else an errno.
int
check_readable_file(const std::string& path)
{
	struct stat info;
	if (stat(path.c_str(), &info) != 0)
		return errno;
	if (S_ISDIR(info.st_mode))
		return EISDIR;
	if (!S_ISREG(info.st_mode))
		return EINVAL;
	if (access(path.c_str(), R_OK) != 0)
		return errno;
	return 0;
}


// The candidates of one folder in the order they are tried.
std::vector<std::string>
fonts_in_folder(const std::string& folder)
{
	std::vector<std::string> names;
	DIR* directory = opendir(folder.c_str());
	if (directory == NULL)
		return names;
	while (dirent* entry = readdir(directory)) {
		std::string name = entry->d_name;
		if (has_font_extension(name))
			names.push_back(name);
	}
	closedir(directory);

	std::sort(names.begin(), names.end(),
		[](const std::string& a, const std::string& b) {
			if ((a == kDefaultFont) != (b == kDefaultFont))
				return a == kDefaultFont;
			return a < b;
		});
	for (std::string& name : names)
		name = folder + "/" + name;
	return names;
}


void
add_data_folder(std::vector<std::string>& folders, const std::string& base)
{
	if (base.empty() || base[0] != '/')
		return;
	for (const char* subfolder : kSubfolders) {
		std::string folder = base + "/" + subfolder;
		if (std::find(folders.begin(), folders.end(), folder) == folders.end())
			folders.push_back(folder);
	}
}

}	// namespace


std::vector<std::string>
sound_font_folders()
{
	std::vector<std::string> folders;

	const char* dataHome = getenv("XDG_DATA_HOME");
	const char* home = getenv("HOME");
	if (dataHome != NULL && dataHome[0] != '\0')
		add_data_folder(folders, dataHome);
	else if (home != NULL)
		add_data_folder(folders, std::string(home) + "/.local/share");

	const char* dataDirs = getenv("XDG_DATA_DIRS");
	std::string list = dataDirs != NULL && dataDirs[0] != '\0'
		? dataDirs : "/usr/local/share:/usr/share";
	size_t start = 0;
	while (start <= list.size()) {
		size_t end = list.find(':', start);
		if (end == std::string::npos)
			end = list.size();
		add_data_folder(folders, list.substr(start, end - start));
		start = end + 1;
	}
	return folders;
}


status_t
find_sound_font(const char* requested, const std::vector<std::string>& folders,
	std::string* path, BString* reason)
{
	if (requested != NULL && requested[0] != '\0') {
		int error = check_readable_file(requested);
		if (error != 0) {
			reason->SetTo("The sound font \"");
			reason->Append(requested).Append("\" cannot be read: ")
				.Append(strerror(error)).Append(".");
			return status_from_errno(error);
		}
		*path = requested;
		return B_OK;
	}

	for (const std::string& folder : folders) {
		for (const std::string& candidate : fonts_in_folder(folder)) {
			if (check_readable_file(candidate) == 0) {
				*path = candidate;
				return B_OK;
			}
		}
	}

	reason->SetTo("No General MIDI sound font was found in ");
	for (size_t i = 0; i < folders.size(); i++)
		reason->Append(i == 0 ? "" : ", ").Append(folders[i].c_str());
	reason->Append(". Install one (for example the timgm6mb-soundfont or "
		"fluid-soundfont-gm package) or name a .sf2 file.");
	return B_ENTRY_NOT_FOUND;
}

}	// namespace BPrivate
