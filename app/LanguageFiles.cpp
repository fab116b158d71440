#include "LanguageFiles.h"

#include <Directory.h>
#include <Entry.h>

#include <AddOnFolders.h>
#include <VLT.h>

#include "AppGlobals.h"

const char* const kLanguageFolderName = "Language";

namespace {

const char kLanguageFileEnding[] = "vlt";


void
add_lang_files_of(const std::string& folderPath, TLanguageFiles* languages)
{
	BDirectory folder(folderPath.c_str());
	if (folder.InitCheck() != B_OK)
		return;
	// Listed by reference so that a dangling link is skipped without ending
	// the listing.
	entry_ref ref;
	while (folder.GetNextRef(&ref) == B_OK) {
		if (ref.name == nullptr || !is_language_file_name(ref.name))
			continue;
		// The path in the folder, not a link's target: the preference keeps
		// following the link.
		const std::string path = folderPath + "/" + ref.name;
		// A fresh table for every file: one that names no language must not
		// be listed under the name of the file read before it.
		TVLT table;
		if (table.Load(path.c_str()) != B_OK)
			continue;
		std::string name = table.LanguageName();
		if (name.empty())
			name = ref.name;
		(*languages)[name] = path;
	}
}

}	// namespace


std::vector<std::string>
language_folders()
{
	return add_on_folders(gAppPrivacy.ExePath(), kLanguageFolderName);
}


bool
is_language_file_name(const std::string& name)
{
	const size_t ending = sizeof(kLanguageFileEnding) - 1;
	return name.size() >= ending
		&& name.compare(name.size() - ending, ending, kLanguageFileEnding) == 0;
}


void
get_lang_files(TLanguageFiles* languages)
{
	for (const std::string& folder : language_folders())
		add_lang_files_of(folder, languages);
	TVLT builtIn;
	if (builtIn.Load(nullptr, TVLT::kBuiltInTextId) == B_OK)
		(*languages)[builtIn.LanguageName()] = "";
}
