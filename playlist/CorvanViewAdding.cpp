// Adding songs, lists and folders: entries are resolved and loaded depth
// first into rows that are not yet in the list, then inserted in one batch.

#include "CorvanView.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include <sys/stat.h>

#include <Entry.h>
#include <Message.h>
#include <Node.h>
#include <NodeInfo.h>
#include <UTF8.h>

#include <Charset.h>

#include "AppGlobals.h"

namespace {

// The type this platform gives MIDI files, and the one the desktop's type
// database names them by (the other is its alias there).
const char* const kMidiTypes[] = {"audio/x-midi", "audio/midi"};


// A folder's canonical path and identity, looked up once per list load:
// the songs of a list mostly share a few folders.
struct FolderInfo {
	std::string path;
	dev_t device;
	ino_t node;
	bool found;
};


class FolderCache {
public:
	const FolderInfo& Find(const std::string& folder)
	{
		auto known = fFolders.find(folder);
		if (known != fFolders.end())
			return known->second;
		FolderInfo info{folder, (dev_t)-1, (ino_t)-1, false};
		char* resolved = realpath(folder.c_str(), NULL);
		struct stat status;
		if (resolved != NULL && stat(resolved, &status) == 0 && S_ISDIR(status.st_mode)) {
			info = {resolved, status.st_dev, status.st_ino, true};
		}
		free(resolved);
		return fFolders.emplace(folder, info).first->second;
	}

private:
	std::unordered_map<std::string, FolderInfo> fFolders;
};


void
stat_entry(TCorvanView::TEntryInfo* info)
{
	struct stat status;
	const std::string path = info->ref.path();
	info->exists = !path.empty() && stat(path.c_str(), &status) == 0;
	info->folder = info->exists && S_ISDIR(status.st_mode);
}


// The entry of an absolute path, its folder taken from the cache.
bool
entry_for_path(const std::string& absolute, FolderCache& folders,
	TCorvanView::TEntryInfo* info)
{
	std::string path = absolute;
	while (path.size() > 1 && path.back() == '/')
		path.pop_back();
	const size_t slash = path.rfind('/');
	const std::string leaf = path.substr(slash + 1);
	if (leaf.empty() || leaf == "." || leaf == "..") {
		if (get_ref_for_path(path.c_str(), &info->ref) != B_OK)
			info->ref = entry_ref();
	} else {
		const FolderInfo& folder = folders.Find(slash == 0 ? "/" : path.substr(0, slash));
		info->ref.device = folder.device;
		info->ref.directory = folder.node;
		info->ref.directory_path = folder.path;
		info->ref.set_name(leaf.c_str());
	}
	info->shown = leaf.empty() ? path : leaf;
	stat_entry(info);
	return true;
}


// Relative entries name files beside the list, in the list's own folder;
// written on Windows they may use backslashes and Shift-JIS.
std::string
relative_entry_path(const std::string& entry, const std::string& listPath)
{
	std::string text = entry;
	std::replace(text.begin(), text.end(), '\\', '/');
	if (pelkan::detect_charset(text.c_str()) == B_SJIS_CONVERSION) {
		int32 sourceLength = int32(text.size());
		int32 length = sourceLength * 3 + 1;
		std::string converted(length, '\0');
		int32 state = 0;
		if (convert_to_utf8(B_SJIS_CONVERSION, text.c_str(), &sourceLength,
				&converted[0], &length, &state, 0x1a) == B_OK) {
			converted.resize(length);
			text = converted;
		}
	}
	return listPath.substr(0, listPath.rfind('/') + 1) + text;
}


bool
is_drive_form(const std::string& entry)
{
	return (entry.size() >= 2 && entry[1] == ':') || entry[0] == '\\';
}


bool
leaf_names_midi_file(const char* leaf)
{
	std::string lower = leaf != NULL ? leaf : "";
	std::transform(lower.begin(), lower.end(), lower.begin(),
		[](unsigned char c) { return (char)std::tolower(c); });
	return lower.find(".mid") != std::string::npos;
}


bool
is_midi_entry(const TCorvanView::TEntryInfo& info)
{
	if (!info.exists || info.folder)
		return false;
	if (leaf_names_midi_file(info.ref.name))
		return true;
	BNode node(&info.ref);
	BNodeInfo nodeInfo(&node);
	char type[B_MIME_TYPE_LENGTH];
	if (nodeInfo.GetType(type) != B_OK)
		return false;
	return std::any_of(std::begin(kMidiTypes), std::end(kMidiTypes),
		[&type](const char* midiType) { return strcmp(type, midiType) == 0; });
}


int
by_magic(const TCorvanView::TPendingRow& a, const TCorvanView::TPendingRow& b)
{
	return compare_func_by_magic_num_up(a.item, b.item);
}

}


// Reports of one add are shown together once it is done.
TCorvanView::TAddScope::TAddScope(TCorvanView* view)
	:
	fView(view)
{
	fView->fAddDepth++;
}


TCorvanView::TAddScope::~TAddScope()
{
	if (--fView->fAddDepth > 0)
		return;
	fView->Invalidate();
	if (fView->fReportCount == 0)
		return;
	std::string text = fView->fFirstReport;
	if (fView->fReportCount > 1) {
		std::string more = gVLT.Text("Stat_Str_More_Reports");
		const size_t mark = more.find("%s");
		if (mark != std::string::npos)
			more.replace(mark, 2, std::to_string(fView->fReportCount - 1));
		text += more;
	}
	fView->fReportCount = 0;
	fView->fFirstReport.clear();
	fView->SendExpStatBarRqtd(text.c_str());
}


void
TCorvanView::AddListFolderFileToTopLevel(BMessage* message)
{
	bool added = false;
	{
		TAddScope scope(this);
		entry_ref ref;
		for (int32 i = 0; message->FindRef("refs", i, &ref) == B_OK; i++)
			added |= AddListFolderFile(ref, TopList(), -1);
		if (added)
			_MarkModified(TopList());
	}
	ScrollTo(BPoint(0, _LastRowTop()));
	SendCurSongIdxChanged();
}


bool
TCorvanView::AddListFolderFile(const entry_ref& ref, TVantuSItem* parent, int32 magic)
{
	TAddScope scope(this);
	TPendingRow holder{parent, {}};
	TEntryInfo info;
	info.ref = ref;
	info.shown = ref.name != NULL ? ref.name : "";
	stat_entry(&info);
	const bool added = _Resolve(info, holder, true, magic);
	_Commit(holder);
	return added;
}


void
TCorvanView::AddMidiFile(const entry_ref& ref, TVantuSItem* parent, int32 magic)
{
	TAddScope scope(this);
	TPendingRow holder{parent, {}};
	_AddSong(ref, holder, magic);
	_Commit(holder);
}


bool
TCorvanView::AddContainer(const entry_ref& ref, TSupportFmt kind,
	const std::list<std::string>& entries, TVantuSItem* parent, int32 magic)
{
	TAddScope scope(this);
	TPendingRow holder{parent, {}};
	const bool added = _LoadContainer(ref, kind, entries, holder, true, magic);
	_Commit(holder);
	return added;
}


TVantuSItem*
TCorvanView::AddNewList(TVantuSItem* parent)
{
	TVantuSItem* list = new TVantuSItem(entry_ref(), kSupportNative100);
	list->ListInfo().unnamed = true;
	list->ListInfo().listID = fNextListID++;
	list->ListInfo().newListNum = fNextNewListNum++;
	list->UpdateText();
	TPendingRow holder{parent, {}};
	holder.children.push_back({list, {}});
	_Commit(holder);
	return list;
}


void
TCorvanView::ClearList()
{
	std::vector<TVantuSItem*> rows;
	for (const TRowPlace& place : _Layout())
		rows.push_back(place.item);
	BOutlineListView::MakeEmpty();
	_DeleteRows(rows);
	_EnsureTopList();
}


bool
TCorvanView::DupliCheck(const entry_ref& ref)
{
	if (fListPathCounts.count(_CanonicalPath(ref)) == 0)
		return false;
	TAddScope scope(this);
	_Report(ref.name != NULL ? ref.name : "", "Stat_Str_Already_Added");
	return true;
}


bool
TCorvanView::IsMidiFile(const entry_ref& ref) const
{
	TEntryInfo info;
	info.ref = ref;
	stat_entry(&info);
	return is_midi_entry(info);
}


bool
TCorvanView::_Resolve(const TEntryInfo& info, TPendingRow& parent, bool parentInView,
	int32 magic)
{
	const TSupportFmt parentKind = parent.item != NULL ? parent.item->Kind()
		: kSupportNative100;
	if (!info.exists) {
		if (parentKind != kSupportSemiRawList) {
			_Report(info.shown, "Stat_Str_File_Not_Found");
			_MarkModified(parent.item);
		}
		return false;
	}
	if (is_midi_entry(info)) {
		_AddSong(info.ref, parent, magic);
		return true;
	}
	TSupportFmt kind = kSupportGeneralList;
	TContainerLoader* loader = FindContainerLoader(info.ref, &kind);
	if (loader == NULL) {
		if (parentKind != kSupportFolder) {
			_Report(info.shown, "Stat_Str_Unsupported_File");
			_MarkModified(parent.item);
		}
		return false;
	}
	if (DupliCheck(info.ref)) {
		_MarkModified(parent.item);
		return false;
	}
	std::list<std::string> entries;
	loader->Load(info.ref, &entries);
	return _LoadContainer(info.ref, kind, entries, parent, parentInView, magic);
}


void
TCorvanView::_AddSong(const entry_ref& ref, TPendingRow& parent, int32 magic)
{
	TVantuSItem* song = new TVantuSItem(ref, kSupportMidiFile);
	song->SetMagicNum(magic);
	parent.children.push_back({song, {}});
}


bool
TCorvanView::_LoadContainer(const entry_ref& ref, TSupportFmt kind,
	const std::list<std::string>& entries, TPendingRow& parent, bool parentInView,
	int32 magic)
{
	TVantuSItem* list = new TVantuSItem(ref, kind);
	list->SetMagicNum(magic);
	list->ListInfo().listID = fNextListID++;
	list->UpdateText();
	// Known before its entries load, so a list that names itself is refused.
	_RememberListPath(list);
	TPendingRow row{list, {}};

	FolderCache folders;
	const std::string listPath = ref.path();
	int32 number = 0;
	for (const std::string& entry : entries) {
		// An empty line names nothing; the list loses nothing without it.
		if (entry.empty())
			continue;
		TEntryInfo info;
		std::string path;
		if (entry[0] == '/')
			path = entry;
		else if (is_drive_form(entry)) {
			char converted[TDrvCvt::kPathBufferSize];
			if (gAppPrivacy.CvtPathWinToBe(entry.c_str(), converted, listPath.c_str()))
				path = converted;
		} else
			path = relative_entry_path(entry, listPath);
		if (path.empty()) {
			// No path to look for: it is missing under the name it was given.
			info.shown = entry;
			_Resolve(info, row, false, number++);
			continue;
		}
		entry_for_path(path, folders, &info);
		_Resolve(info, row, false, number++);
	}

	if (row.children.empty()
		&& (kind == kSupportRawList || kind == kSupportSemiRawList)) {
		_ForgetListPath(list);
		delete list;
		return false;
	}
	_SortPending(row);

	bool added = true;
	TVantuSItem* top = TopList();
	if (parentInView && top != NULL && top->ListInfo().unnamed
		&& !top->ListInfo().modified && CountItemsUnder(top, true) == 0) {
		// The untouched start list gives way: the first list the user opens
		// becomes the top list.
		BOutlineListView::RemoveItem(top);
		_DeleteRows({top});
		parent.item = NULL;
		added = false;
	}
	parent.children.push_back(std::move(row));
	return added;
}


void
TCorvanView::_SortPending(TPendingRow& row) const
{
	int (*compare)(const TPendingRow&, const TPendingRow&) = NULL;
	switch (gPref.autoSortKind) {
		case 0:
			compare = by_magic;
			break;
		case 1:
			compare = [](const TPendingRow& a, const TPendingRow& b) {
				return compare_func_by_file_name_up(a.item, b.item);
			};
			break;
		case 2:
			compare = [](const TPendingRow& a, const TPendingRow& b) {
				return compare_func_by_file_name_down(a.item, b.item);
			};
			break;
		default:
			return;
	}
	std::stable_sort(row.children.begin(), row.children.end(),
		[compare](const TPendingRow& a, const TPendingRow& b) { return compare(a, b) < 0; });
}


void
TCorvanView::_Commit(TPendingRow& holder)
{
	if (holder.children.empty())
		return;
	int32 at = FullListCountItems();
	uint32 level = 0;
	if (holder.item != NULL) {
		const int32 parentRow = FullListIndexOf(holder.item);
		if (parentRow < 0) {
			// A parent that is not (or no longer) a row of this view.
			std::vector<TPendingRow> open = std::move(holder.children);
			while (!open.empty()) {
				TPendingRow row = std::move(open.back());
				open.pop_back();
				_ForgetListPath(row.item);
				delete row.item;
				for (TPendingRow& child : row.children)
					open.push_back(std::move(child));
			}
			return;
		}
		level = holder.item->OutlineLevel() + 1;
		at = parentRow + 1;
		while (at < FullListCountItems() && FullListItemAt(at)->OutlineLevel() >= level)
			at++;
	}
	int32 songs = 0;
	struct Frame {
		const TPendingRow* row;
		uint32 level;
	};
	std::vector<Frame> open;
	for (auto child = holder.children.rbegin(); child != holder.children.rend(); child++)
		open.push_back({&*child, level});
	while (!open.empty()) {
		const Frame frame = open.back();
		open.pop_back();
		TVantuSItem* item = frame.row->item;
		if (!item->Container())
			songs++;
		item->SetOutlineLevel(frame.level);
		BOutlineListView::AddItem(item, at++);
		const std::vector<TPendingRow>& children = frame.row->children;
		for (auto child = children.rbegin(); child != children.rend(); child++)
			open.push_back({&*child, frame.level + 1});
	}
	holder.children.clear();
	_StructureChanged();

	const bool first = fSongs == 0;
	fSongs += songs;
	if (first && songs > 0)
		SendChangeSongRqtd(0, false);
	if (holder.item == NULL)
		SendUpdateWinTitleRqtd();
}


void
TCorvanView::_Report(const std::string& name, const char* key)
{
	TAddScope scope(this);
	if (fReportCount++ == 0)
		fFirstReport = name + gVLT.Text(key);
}


std::string
TCorvanView::_CanonicalPath(const entry_ref& ref) const
{
	const std::string path = ref.path();
	char* resolved = realpath(path.c_str(), NULL);
	const std::string canonical = resolved != NULL ? resolved : path;
	free(resolved);
	return canonical;
}


void
TCorvanView::_RememberListPath(const TVantuSItem* list)
{
	if (list->EntryRef().name == NULL)
		return;
	const std::string path = _CanonicalPath(list->EntryRef());
	fListPathOf[list] = path;
	fListPathCounts[path]++;
}


void
TCorvanView::_ForgetListPath(const TVantuSItem* list)
{
	auto known = fListPathOf.find(list);
	if (known == fListPathOf.end())
		return;
	auto count = fListPathCounts.find(known->second);
	if (count != fListPathCounts.end() && --count->second == 0)
		fListPathCounts.erase(count);
	fListPathOf.erase(known);
}
