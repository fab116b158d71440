#include "ListRecovery.h"

#include <filesystem>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "CorvanView.h"
#include "NativeListWriter.h"
#include "VantuSItem.h"

namespace {

// A name in `folder` that no earlier session's copy and no other list of
// this one holds already, unless it is the list's own file (a list reopened
// from an earlier copy is written over).
std::string
free_copy_path(const std::filesystem::path& folder, const TVantuSItem& list,
	const std::unordered_set<std::string>& taken)
{
	std::string base = list.ExpFName();
	const size_t dot = base.rfind('.');
	if (dot != std::string::npos && dot > 0)
		base.erase(dot);
	for (char& c : base) {
		if (c == '/')
			c = '_';
	}
	if (base.empty())
		base = "List";
	const std::string own = list.ListInfo().unnamed ? "" : list.EntryRef().path();
	for (int number = 1;; number++) {
		const std::string name
			= base + (number == 1 ? "" : " (" + std::to_string(number) + ")") + ".lml";
		const std::string path = (folder / name).string();
		std::error_code error;
		if (taken.count(path) == 0
			&& (path == own || !std::filesystem::exists(path, error))) {
			return path;
		}
	}
}

}


std::string
recover_modified_lists(TCorvanView& playlist, const std::string& folder)
{
	std::error_code error;
	std::filesystem::create_directories(folder, error);
	std::unordered_map<std::string, std::string> copyOf;
	std::unordered_set<std::string> taken;
	std::string topCopy;
	// Deepest rows first, so that a parent's copy can name its children's.
	for (int32 row = playlist.FullListCountItems() - 1; row >= 0; row--) {
		TVantuSItem* list = static_cast<TVantuSItem*>(playlist.FullListItemAt(row));
		if (!list->Container() || !list->ListInfo().modified)
			continue;
		std::vector<std::string> entries = playlist.ListEntries(list);
		for (std::string& entry : entries) {
			const auto copied = copyOf.find(entry);
			if (copied != copyOf.end())
				entry = copied->second;
		}
		const std::string path = free_copy_path(folder, *list, taken);
		if (write_native_list(path.c_str(), entries, nullptr) != B_OK)
			continue;
		taken.insert(path);
		list->ListInfo().modified = false;
		if (!list->ListInfo().unnamed)
			copyOf[list->EntryRef().path()] = path;
		if (list == playlist.TopList())
			topCopy = path;
	}
	return topCopy;
}
