#include "Files.h"

#include <climits>
#include <unistd.h>
#include <vector>

#include <Directory.h>
#include <Entry.h>
#include <File.h>
#include <FindDirectory.h>
#include <Message.h>

#include "AtomicWrite.h"
#include "PathFunctions.h"

namespace {

const char* const kMakerFolder = "PELKAN";


std::string
join(const std::string& folder, const char* name)
{
	if (name == nullptr || name[0] == '\0')
		return folder;
	if (!folder.empty() && folder.back() == '/')
		return folder + name;
	return folder + "/" + name;
}


bool
set_entry_in(const std::string& folder, const char* name, BEntry* entry,
	bool createFolder)
{
	if (createFolder && create_directory(folder.c_str(), 0777) != B_OK)
		return false;
	return entry->SetTo(join(folder, name).c_str()) == B_OK;
}

}


bool
pelkan::get_entry(const char* name, BEntry* entry, TBaseDir base, const char* sub)
{
	if (name == nullptr || name[0] == '\0')
		return false;
	if (name[0] == '/')
		return entry->SetTo(name) == B_OK;

	switch (base) {
		case BaseDir_Absolute:
			return set_entry_in(sub != nullptr ? sub : "", name, entry, false);
		case BaseDir_Exe:
		{
			std::string folder = extract_file_path(executable_path());
			if (folder.empty())
				return false;
			return set_entry_in(join(folder, sub), name, entry, true);
		}
		case BaseDir_Settings:
		{
			BPath settings;
			if (find_directory(B_USER_SETTINGS_DIRECTORY, &settings) != B_OK)
				return false;
			return set_entry_in(join(join(settings.Path(), kMakerFolder), sub),
				name, entry, true);
		}
	}
	return true;
}


std::string
pelkan::executable_path()
{
	std::vector<char> buffer(PATH_MAX + 1);
	ssize_t length = readlink("/proc/self/exe", buffer.data(), PATH_MAX);
	if (length <= 0)
		return std::string();
	return std::string(buffer.data(), static_cast<size_t>(length));
}


status_t
pelkan::get_save_ref(const BMessage* saveRequest, entry_ref* ref)
{
	entry_ref folder;
	const char* name = nullptr;
	status_t status = saveRequest->FindRef("directory", &folder);
	if (status == B_OK)
		status = saveRequest->FindString("name", &name);
	if (status != B_OK)
		return status;
	return get_ref(folder, name, ref);
}


status_t
pelkan::get_ref(const entry_ref& folder, const char* name, entry_ref* ref)
{
	BPath path(&folder);
	status_t status = path.InitCheck();
	if (status == B_OK)
		status = path.Append(name);
	if (status != B_OK)
		return status;
	return get_ref_for_path(path.Path(), ref);
}


BPath
pelkan::path_for_ref(const entry_ref* ref)
{
	return BPath(ref);
}


status_t
pelkan::copy_file(const char* source, const char* destination)
{
	BEntry destinationEntry(destination, true);
	std::string target = destination;
	if (destinationEntry.IsDirectory())
		target = join(target, extract_file_name(source).c_str());
	else if (!target.empty() && target.back() == '/') {
		// A name ending in '/' names a folder; no file is made of it.
		return destinationEntry.Exists() ? B_NOT_A_DIRECTORY : B_ENTRY_NOT_FOUND;
	}

	BFile input(source, B_READ_ONLY);
	status_t status = input.InitCheck();
	if (status != B_OK)
		return status;
	return copy_file_atomically(input, target.c_str());
}


bool
is_file_exists(const char* path)
{
	return BEntry(path).Exists();
}
