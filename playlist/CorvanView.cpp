#include "CorvanView.h"

#include <algorithm>
#include <cmath>

#include <Looper.h>
#include <Message.h>
#include <Window.h>

#include "AppGlobals.h"
#include "PointerProbe.h"
#include "ToolTip.h"

namespace {

// A relayout that touches more rows than this share of the list rebuilds
// the whole list: the layer's single-row operations each cost a walk of it.
const int64 kRebuildShare = 8;
const int64 kRebuildMinimum = 256;

}


TCorvanView::TCorvanView(BRect frame, const char* name, bool work)
	:
	BOutlineListView(frame, name, B_MULTIPLE_SELECTION_LIST, B_FOLLOW_ALL),
	fWork(work),
	fNextListID(1),
	fNextNewListNum(1),
	fSongs(0),
	fSavePanelListID(-1),
	fAnchor(-1),
	fTargetSet(false),
	fAddDepth(0),
	fReportCount(0),
	fTableValid(false),
	fRevision(0)
{
	load_container_loader(&fLoaders, gAppPrivacy.ExePath());
	_EnsureTopList();
}


TCorvanView::~TCorvanView()
{
	std::vector<TVantuSItem*> rows;
	for (const TRowPlace& place : _Layout())
		rows.push_back(place.item);
	BOutlineListView::MakeEmpty();
	_DeleteRows(rows);
	unload_container_loader(&fLoaders);
}


void
TCorvanView::AttachedToWindow()
{
	BOutlineListView::AttachedToWindow();
	if (!fToolTip)
		fToolTip.reset(new TToolTip("Playlist"));
	fToolTip->SetTarget(this);
	if (fTargetSet)
		return;
	BView* parent = Parent();
	BView* owner = parent != NULL ? parent->Parent() : NULL;
	if (owner != NULL)
		fTarget = BMessenger(owner);
	else
		fTarget = BMessenger(Window());
}


void
TCorvanView::DetachedFromWindow()
{
	if (fToolTip)
		fToolTip->ReleaseTarget();
	BOutlineListView::DetachedFromWindow();
}


void
TCorvanView::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
	const std::string tip = ToolTipAt(where);
	if (fToolTip && tip != fToolTip->Tip()) {
		fToolTip->Hide();
		fToolTip->SetTip(tip.c_str());
	}
	BOutlineListView::MouseMoved(where, transit, dragMessage);
}


std::string
TCorvanView::ToolTipAt(BPoint where) const
{
	const TVantuSItem* item = static_cast<TVantuSItem*>(FullListItemAt(_FullRowAt(where)));
	if (item == NULL || !item->Container() || item->EntryRef().name == NULL)
		return std::string();
	return item->EntryRef().path();
}


void
TCorvanView::SetTarget(const BMessenger& target)
{
	fTarget = target;
	fTargetSet = true;
}


void
TCorvanView::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgPopupAddNewList:
			PopupAddNewListClicked();
			break;
		case kMsgPopupDeleteFile:
			PopupDeleteFileClicked(message);
			break;
		case kMsgPopupDeselect:
			DeselectAll();
			break;
		case kMsgPopupSort:
			PopupSortClicked(message);
			break;
		case kMsgPopupSaveList:
			PopupSaveListClicked(message);
			break;
		case kMsgPopupSaveListAs:
			PopupSaveListAsClicked(message);
			break;
		case B_SAVE_REQUESTED:
			SaveRequested(message);
			break;
		case kMsgChangeSongOrderRqtd:
			ChangeSongOrderRqtd(message);
			break;
		case kMsgContainerLoaderDropped:
			container_loader_dropped(message);
			break;
		case kMsgNodeLoaderChanged:
			NodeLoaderChanged();
			break;
		case kMsgLanguageChanged:
			LanguageChanged();
			break;
		default:
			BOutlineListView::MessageReceived(message);
			break;
	}
}


TContainerLoader*
TCorvanView::FindContainerLoader(const entry_ref& ref, TSupportFmt* kind) const
{
	return find_container_loader(fLoaders, ref, kind);
}


void
TCorvanView::NodeLoaderChanged()
{
	unload_container_loader(&fLoaders);
	load_container_loader(&fLoaders, gAppPrivacy.ExePath());
}


// #pragma mark - Songs


int32
TCorvanView::Songs() const
{
	return fSongs;
}


std::string
TCorvanView::SongLeafName(int32 index) const
{
	const TVantuSItem* song = Song(index);
	return song != NULL && song->EntryRef().name != NULL ? song->EntryRef().name : "";
}


uint64
TCorvanView::SongsRevision() const
{
	return fRevision;
}


TVantuSItem*
TCorvanView::Song(int32 index) const
{
	_UpdateSongTable();
	if (index < 0 || index >= int32(fSongRows.size()))
		return NULL;
	return static_cast<TVantuSItem*>(FullListItemAt(fSongRows[index]));
}


int32
TCorvanView::SongIdx(int32 fullRow) const
{
	_UpdateSongTable();
	if (fullRow < 0 || fullRow >= int32(fRowSongs.size()))
		return -1;
	return fRowSongs[fullRow];
}


int32
TCorvanView::SelectedSongIdx(int32 n) const
{
	const std::vector<int32> selected = _SelectedRows();
	if (n < 0 || n >= int32(selected.size()))
		return -1;
	return SongIdx(selected[n]);
}


int32
TCorvanView::FirstSelection() const
{
	return FullListCurrentSelection(0);
}


int32
TCorvanView::LastSelection() const
{
	for (int32 row = FullListCountItems() - 1; row >= 0; row--) {
		if (FullListItemAt(row)->IsSelected())
			return row;
	}
	return -1;
}


int32
TCorvanView::CountSelections() const
{
	return int32(_SelectedRows().size());
}


int32
TCorvanView::CurrentSongIdx() const
{
	_UpdateSongTable();
	for (int32 index = int32(fSongRows.size()) - 1; index >= 0; index--) {
		if (static_cast<TVantuSItem*>(FullListItemAt(fSongRows[index]))->Current())
			return index;
	}
	return -1;
}


void
TCorvanView::ScrollToSong(int32 index)
{
	const TVantuSItem* song = Song(index);
	const int32 row = song != NULL ? IndexOf(song) : -1;
	if (row < 0)
		return;
	// Never past the last row at the bottom: rows scrolled out of a view
	// tall enough for them could not be brought back, the scroll bar having
	// no range.
	ScrollTo(BPoint(0, std::min(std::max(0, row - 1) * RowPitch(), _LastRowTop())));
}


float
TCorvanView::_LastRowTop() const
{
	return std::max(0.0f, CountItems() * RowPitch() - (Bounds().Height() + 1));
}


float
TCorvanView::RowPitch() const
{
	const BListItem* first = FullListItemAt(0);
	return std::ceil(first != NULL ? first->Height() : 12.0f) + 1;
}


TVantuSItem*
TCorvanView::TopList() const
{
	return static_cast<TVantuSItem*>(FullListItemAt(0));
}


TVantuSItem*
TCorvanView::FindList(int32 id) const
{
	for (int32 row = 0; row < FullListCountItems(); row++) {
		TVantuSItem* item = static_cast<TVantuSItem*>(FullListItemAt(row));
		if (item->Container() && item->ListInfo().listID == id)
			return item;
	}
	return NULL;
}


TVantuSItem*
TCorvanView::ParentOf(const TVantuSItem* item) const
{
	return static_cast<TVantuSItem*>(Superitem(item));
}


// #pragma mark - Requests


void
TCorvanView::SendChangeSongRqtd(int32 index, bool play)
{
	BMessage message(kMsgChangeSongRqtd);
	message.AddInt32("NewIdx", index);
	message.AddBool("PlaySong", play);
	fTarget.SendMessage(&message);
}


void
TCorvanView::SendCurSongIdxChanged()
{
	BMessage message(kMsgCurSongIdxChanged);
	message.AddInt32("NewIdx", CurrentSongIdx());
	fTarget.SendMessage(&message);
}


void
TCorvanView::SendExpStatBarRqtd(const BString& text)
{
	BMessage message(kMsgExpStatBarRqtd);
	message.AddString("StatBarString", text);
	fTarget.SendMessage(&message);
}


void
TCorvanView::SendUpdateWinTitleRqtd()
{
	BMessage message(kMsgUpdateWinTitleRqtd);
	fTarget.SendMessage(&message);
}


// #pragma mark - Rows


std::vector<TCorvanView::TRowPlace>
TCorvanView::_Layout() const
{
	std::vector<TRowPlace> rows;
	rows.reserve(FullListCountItems());
	for (int32 row = 0; row < FullListCountItems(); row++) {
		TVantuSItem* item = static_cast<TVantuSItem*>(FullListItemAt(row));
		rows.push_back({item, item->OutlineLevel()});
	}
	return rows;
}


std::vector<int32>
TCorvanView::_SubtreeEnds(const std::vector<TRowPlace>& rows)
{
	std::vector<int32> ends(rows.size());
	std::vector<int32> open;
	for (int32 row = 0; row <= int32(rows.size()); row++) {
		const uint32 level = row < int32(rows.size()) ? rows[row].level : 0;
		while (!open.empty() && (row == int32(rows.size())
				|| rows[open.back()].level >= level)) {
			ends[open.back()] = row;
			open.pop_back();
		}
		if (row < int32(rows.size()))
			open.push_back(row);
	}
	return ends;
}


void
TCorvanView::_Relayout(const std::vector<TRowPlace>& rows)
{
	const int32 oldCount = FullListCountItems();
	const int32 newCount = int32(rows.size());
	auto same = [this, &rows](int32 oldRow, int32 newRow) {
		const BListItem* item = FullListItemAt(oldRow);
		return item == rows[newRow].item && item->OutlineLevel() == rows[newRow].level;
	};
	int32 first = 0;
	while (first < oldCount && first < newCount && same(first, first))
		first++;
	int32 suffix = 0;
	while (suffix < oldCount - first && suffix < newCount - first
		&& same(oldCount - 1 - suffix, newCount - 1 - suffix)) {
		suffix++;
	}
	int32 oldEnd = oldCount - suffix;
	int32 newEnd = newCount - suffix;
	if (oldEnd > first) {
		// Rows leave the list with their subtrees: the changed part must not
		// end inside the subtree of one of its rows.
		uint32 lowest = FullListItemAt(first)->OutlineLevel();
		for (int32 row = first; row < oldEnd; row++)
			lowest = std::min(lowest, FullListItemAt(row)->OutlineLevel());
		while (oldEnd < oldCount && FullListItemAt(oldEnd)->OutlineLevel() > lowest) {
			oldEnd++;
			newEnd++;
		}
	}
	if (oldEnd == first && newEnd == first)
		return;

	const int64 touched = int64(oldEnd - first) + (newEnd - first);
	if (touched > kRebuildMinimum && touched * kRebuildShare > newCount) {
		BOutlineListView::MakeEmpty();
		for (int32 row = 0; row < newCount; row++) {
			rows[row].item->SetOutlineLevel(rows[row].level);
			BOutlineListView::AddItem(rows[row].item, row);
		}
	} else {
		for (int32 row = oldEnd - 1; row >= first; row--)
			BOutlineListView::RemoveItem(FullListItemAt(row));
		for (int32 row = first; row < newEnd; row++) {
			rows[row].item->SetOutlineLevel(rows[row].level);
			BOutlineListView::AddItem(rows[row].item, row);
		}
	}
	_StructureChanged();
}


void
TCorvanView::_DeleteRows(const std::vector<TVantuSItem*>& rows)
{
	for (TVantuSItem* item : rows) {
		if (!item->Container())
			fSongs--;
		_ForgetListPath(item);
		delete item;
	}
	_StructureChanged();
}


void
TCorvanView::_StructureChanged()
{
	fTableValid = false;
	fRevision++;
}


void
TCorvanView::_UpdateSongTable() const
{
	if (fTableValid)
		return;
	const int32 count = FullListCountItems();
	fSongRows.clear();
	fRowSongs.assign(count, -1);
	for (int32 row = 0; row < count; row++) {
		if (!static_cast<TVantuSItem*>(FullListItemAt(row))->Container()) {
			fRowSongs[row] = int32(fSongRows.size());
			fSongRows.push_back(row);
		}
	}
	fTableValid = true;
}


void
TCorvanView::_MarkModified(TVantuSItem* list)
{
	if (list == NULL)
		return;
	list->ListInfo().modified = true;
	list->UpdateText();
	if (fAddDepth == 0)
		Invalidate();
}


void
TCorvanView::_EnsureTopList()
{
	if (FullListCountItems() > 0)
		return;
	if (!fWork) {
		AddNewList(NULL);
		return;
	}
	TVantuSItem* root = new TVantuSItem(entry_ref(), kSupportNative100);
	root->ListInfo().listID = fNextListID++;
	BOutlineListView::AddItem(root, 0);
	_StructureChanged();
}


std::vector<int32>
TCorvanView::_SelectedRows() const
{
	std::vector<int32> selected;
	for (int32 row = 0; row < FullListCountItems(); row++) {
		if (FullListItemAt(row)->IsSelected())
			selected.push_back(row);
	}
	return selected;
}


void
TCorvanView::LanguageChanged()
{
	for (const TRowPlace& place : _Layout()) {
		if (place.item->Container())
			place.item->UpdateText();
	}
	Invalidate();
	if (FindList(fSavePanelListID) == NULL || Window() == NULL)
		return;
	BMessage retitle(kMsgSavePanelTitleChanged);
	retitle.AddString("SvPnlTitle", SavePanelTitle(fSavePanelListID).c_str());
	Window()->PostMessage(&retitle, Window());
}
