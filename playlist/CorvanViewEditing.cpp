// Selection, the pointer, drag reordering, deletion, sorting and the pop-up
// menu. Every edit is one pass over the rows and one relayout of the list.

#include "CorvanView.h"

#include <algorithm>
#include <unordered_set>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <MenuItem.h>
#include <Message.h>
#include <OS.h>
#include <PopUpMenu.h>
#include <SeparatorItem.h>
#include <Window.h>

#include <NextMsg.h>

#include "AppGlobals.h"
#include "PointerProbe.h"
#include "ViewProbe.h"

namespace {

// The room an outline level takes on the left of a row, the latch in it.
const float kLevelIndent = 12.0f;
// Squared distance the pointer must exceed for a press to become a drag.
const float kDragDistanceSquared = 10.0f;
// The rows a chained delete was confirmed for.
const char* const kRowField = "Row";

}


void
TCorvanView::KeyDown(const char*, int32)
{
}


int32
TCorvanView::_FullRowAt(BPoint where) const
{
	if (where.y < 0)
		return -1;
	const int32 row = int32(where.y / RowPitch());
	const BListItem* item = ItemAt(row);
	return item != NULL ? FullListIndexOf(item) : -1;
}


void
TCorvanView::MouseDown(BPoint where)
{
	if (FullListCountItems() == 0)
		return;
	const BMessage* message = Window() != NULL ? Window()->CurrentMessage() : NULL;
	int32 buttons = 0;
	int32 clicks = 1;
	if (message != NULL) {
		message->FindInt32("buttons", &buttons);
		message->FindInt32("clicks", &clicks);
	}
	const int32 row = _FullRowAt(where);
	const BListItem* item = FullListItemAt(row);
	// The latch of a list opens and closes it, as in every outline list.
	if (item != NULL && where.x < (item->OutlineLevel() + 1) * kLevelIndent
		&& CountItemsUnder(const_cast<BListItem*>(item), true) > 0) {
		BOutlineListView::MouseDown(where);
		return;
	}
	if (clicks % 2 == 1
		&& (buttons == B_PRIMARY_MOUSE_BUTTON || buttons == B_SECONDARY_MOUSE_BUTTON))
		ChangeSelection(row);

	TPointerProbe& probe = PointerProbe();
	bool drag = false;
	for (;;) {
		BPoint point;
		uint32 held = 0;
		probe.GetMouse(&point, &held);
		const float dx = point.x - where.x;
		const float dy = point.y - where.y;
		if (held == (uint32)buttons && dx * dx + dy * dy > kDragDistanceSquared) {
			drag = true;
			break;
		}
		if (held != (uint32)buttons)
			break;
		probe.Wait();
	}
	if (drag) {
		if (clicks == 1 && buttons == B_PRIMARY_MOUSE_BUTTON)
			MouseDragLeft(where, row);
		return;
	}
	if (clicks % 2 == 0 && buttons == B_PRIMARY_MOUSE_BUTTON)
		MouseClickLeftDouble(where, row);
	else if (clicks % 2 == 1 && buttons == B_SECONDARY_MOUSE_BUTTON)
		OpenPopup(where);
}


TPointerProbe&
TCorvanView::PointerProbe()
{
	if (!fProbe)
		fProbe.reset(new TViewProbe(this));
	return *fProbe;
}


void
TCorvanView::ChangeSelection(int32 fullRow)
{
	BListItem* item = FullListItemAt(fullRow);
	const int32 row = item != NULL ? IndexOf(item) : -1;
	if (row < 0)
		return;
	const BMessage* message = Window() != NULL ? Window()->CurrentMessage() : NULL;
	int32 modifiers = 0;
	if (message != NULL)
		message->FindInt32("modifiers", &modifiers);
	BListItem* anchor = FullListItemAt(fAnchor);
	const int32 anchorRow = anchor != NULL ? IndexOf(anchor) : -1;
	if ((modifiers & B_SHIFT_KEY) != 0) {
		if (anchorRow >= 0 && anchor->IsSelected())
			Select(std::min(anchorRow, row), std::max(anchorRow, row), true);
		else
			Select(row, true);
	} else if ((modifiers & B_COMMAND_KEY) != 0) {
		if (item->IsSelected())
			Deselect(row);
		else
			Select(row, true);
	} else if (!item->IsSelected())
		Select(row, false);
	fAnchor = fullRow;
}


void
TCorvanView::MouseClickLeftDouble(BPoint, int32 fullRow)
{
	int32 index = -1;
	for (int32 row = std::max(0, fullRow); row < FullListCountItems() && index < 0; row++)
		index = SongIdx(row);
	SendChangeSongRqtd(index, true);
}


void
TCorvanView::MouseDragLeft(BPoint, int32 fullRow)
{
	if (FullListItemAt(fullRow) == NULL)
		return;
	const std::vector<int32> selected = _SelectedRows();
	if (selected.empty())
		return;
	BMessage drag(B_SIMPLE_DATA);
	for (int32 row : selected) {
		const TVantuSItem* item = static_cast<TVantuSItem*>(FullListItemAt(row));
		drag.AddRef("refs", &item->EntryRef());
	}
	BRect rect = ItemFrame(IndexOf(FullListItemAt(selected.front())));
	rect = rect | ItemFrame(IndexOf(FullListItemAt(selected.back())));
	StartDrag(&drag, rect);
}


void
TCorvanView::StartDrag(BMessage* message, BRect dragRect)
{
	DragMessage(message, dragRect, this);
}


// #pragma mark - Reordering


void
TCorvanView::ChangeSongOrderRqtd(BMessage* message)
{
	if (CountItems() <= 2 || !message->WasDropped())
		return;
	BPoint drop = message->DropPoint();
	ConvertFromScreen(&drop);
	if (drop.y < 0)
		return;
	const std::vector<TRowPlace> rows = _Layout();
	const std::vector<int32> ends = _SubtreeEnds(rows);
	const std::vector<int32> parents = _Parents(rows);
	const int32 count = int32(rows.size());

	// Where the rows land: after a song, first in a list, or last in the
	// top list when dropped below the rows.
	int32 target = 0;
	int32 before = ends[0];
	if (const BListItem* onto = ItemAt(int32(drop.y / RowPitch()))) {
		const int32 row = FullListIndexOf(onto);
		target = rows[row].item->Container() ? row : parents[row];
		before = rows[row].item->Container() ? row + 1 : ends[row];
	}
	// A list cannot move into itself.
	for (int32 row = target;; row = parents[row]) {
		rows[row].item->Deselect();
		if (parents[row] == row)
			break;
	}

	// Only the topmost selected rows move, each with its subtree, in the
	// order they stand.
	std::vector<bool> moving(count, false);
	std::vector<TRowPlace> moved;
	std::vector<TVantuSItem*> losers;
	const uint32 base = rows[target].level + 1;
	for (int32 row = 0; row < count; row++) {
		if (!rows[row].item->IsSelected())
			continue;
		losers.push_back(rows[parents[row]].item);
		for (int32 inner = row; inner < ends[row]; inner++) {
			moving[inner] = true;
			moved.push_back({rows[inner].item, rows[inner].level - rows[row].level + base});
		}
		row = ends[row] - 1;
	}
	std::vector<TRowPlace> layout;
	layout.reserve(count);
	for (int32 row = 0; row <= count; row++) {
		if (row == before)
			layout.insert(layout.end(), moved.begin(), moved.end());
		if (row < count && !moving[row])
			layout.push_back(rows[row]);
	}
	_Relayout(layout);

	// The target's children stand in an order of the user's now.
	TVantuSItem* list = rows[target].item;
	const std::vector<TRowPlace> now = _Layout();
	for (int32 row = FullListIndexOf(list) + 1;
		row < int32(now.size()) && now[row].level > list->OutlineLevel(); row++) {
		if (now[row].level == base)
			now[row].item->SetMagicNum(-1);
	}
	for (TVantuSItem* loser : losers)
		_MarkModified(loser);
	_MarkModified(list);
	SendCurSongIdxChanged();
}


std::vector<int32>
TCorvanView::_Parents(const std::vector<TRowPlace>& rows)
{
	// A top-level row counts as its own parent.
	std::vector<int32> parents(rows.size(), 0);
	std::vector<int32> open;
	for (int32 row = 0; row < int32(rows.size()); row++) {
		while (!open.empty() && rows[open.back()].level >= rows[row].level)
			open.pop_back();
		parents[row] = open.empty() ? row : open.back();
		open.push_back(row);
	}
	return parents;
}


// #pragma mark - Deleting and sorting


void
TCorvanView::PopupDeleteFileClicked(BMessage* message)
{
	// The rows confirmed when the delete was chosen, not what is selected
	// when a chained delete comes back after a save.
	std::vector<TRowPlace> rows = _Layout();
	std::vector<bool> chosen(rows.size(), false);
	if (message != NULL && message->HasInt64(kRowField)) {
		std::unordered_set<const BListItem*> confirmed;
		int64 pointer;
		for (int32 i = 0; message->FindInt64(kRowField, i, &pointer) == B_OK; i++)
			confirmed.insert(reinterpret_cast<const BListItem*>(pointer));
		for (size_t row = 0; row < rows.size(); row++)
			chosen[row] = confirmed.count(rows[row].item) > 0;
	} else {
		for (size_t row = 0; row < rows.size(); row++)
			chosen[row] = rows[row].item->IsSelected();
	}

	BMessage next(kMsgPopupDeleteFile);
	std::vector<int32> lists;
	for (size_t row = 0; row < rows.size(); row++) {
		if (!chosen[row])
			continue;
		next.AddInt64(kRowField, reinterpret_cast<int64>(rows[row].item));
		if (rows[row].item->Container())
			lists.push_back(rows[row].item->ListInfo().listID);
	}
	if (!next.HasInt64(kRowField) || !_AskSaveLists(lists, next, this))
		return;

	const std::vector<int32> ends = _SubtreeEnds(rows);
	const std::vector<int32> parents = _Parents(rows);
	std::vector<bool> going(rows.size(), false);
	std::vector<TVantuSItem*> losers;
	for (int32 row = 0; row < int32(rows.size()); row++) {
		if (!chosen[row])
			continue;
		// The top row can be emptied, never removed.
		for (int32 inner = row == 0 ? 1 : row; inner < ends[row]; inner++)
			going[inner] = true;
		if (row > 0)
			losers.push_back(rows[parents[row]].item);
		else if (ends[0] > 1)
			losers.push_back(rows[0].item);
		row = ends[row] - 1;
	}
	// The player leaves a song that goes, from the last to the first.
	for (int32 row = int32(rows.size()) - 1; row >= 0; row--) {
		if (going[row] && rows[row].item->Current())
			SendChangeSongRqtd(SongIdx(row), false);
	}
	std::vector<TRowPlace> layout;
	std::vector<TVantuSItem*> deleted;
	for (size_t row = 0; row < rows.size(); row++) {
		if (going[row])
			deleted.push_back(rows[row].item);
		else
			layout.push_back(rows[row]);
	}
	_Relayout(layout);
	_DeleteRows(deleted);
	for (TVantuSItem* loser : losers) {
		if (std::find(deleted.begin(), deleted.end(), loser) == deleted.end())
			_MarkModified(loser);
	}
	_EnsureTopList();
	SendCurSongIdxChanged();
}


void
TCorvanView::PopupSortClicked(BMessage* message)
{
	int32 key = 0;
	message->FindInt32("SortKey", &key);
	if (key == 1)
		_SortContainers(compare_func_by_file_name_up);
	else if (key == 2)
		_SortContainers(compare_func_by_file_name_down);
}


void
TCorvanView::_SortContainers(int (*compare)(const BListItem*, const BListItem*))
{
	const std::vector<TRowPlace> rows = _Layout();
	const std::vector<int32> ends = _SubtreeEnds(rows);
	const std::vector<int32> parents = _Parents(rows);
	std::vector<bool> sorted(rows.size(), false);
	bool any = false;
	for (int32 row = 0; row < int32(rows.size()); row++) {
		if (rows[row].item->IsSelected()) {
			sorted[rows[row].item->Container() ? row : parents[row]] = true;
			any = true;
		}
	}
	if (!any)
		return;

	// Each list is sorted once, however many of its rows are selected; a
	// child moves with its subtree.
	std::vector<TRowPlace> layout;
	layout.reserve(rows.size());
	std::vector<std::vector<int32>> stack;
	auto children = [&](int32 begin, int32 end, bool sort) {
		std::vector<int32> heads;
		for (int32 row = begin; row < end; row = ends[row])
			heads.push_back(row);
		if (sort) {
			std::stable_sort(heads.begin(), heads.end(), [&](int32 a, int32 b) {
				return compare(rows[a].item, rows[b].item) < 0;
			});
		}
		std::reverse(heads.begin(), heads.end());
		return heads;
	};
	stack.push_back(children(0, int32(rows.size()), false));
	while (!stack.empty()) {
		if (stack.back().empty()) {
			stack.pop_back();
			continue;
		}
		const int32 head = stack.back().back();
		stack.back().pop_back();
		layout.push_back(rows[head]);
		stack.push_back(children(head + 1, ends[head], sorted[head]));
	}
	_Relayout(layout);
	for (int32 row = 0; row < int32(rows.size()); row++) {
		if (sorted[row])
			_MarkModified(rows[row].item);
	}
	SendCurSongIdxChanged();
}


// #pragma mark - Pop-up menu


void
TCorvanView::PopupAddNewListClicked()
{
	std::vector<TVantuSItem*> lists;
	for (const TRowPlace& place : _Layout()) {
		if (place.item->IsSelected() && place.item->Container())
			lists.push_back(place.item);
	}
	for (TVantuSItem* list : lists) {
		AddNewList(list);
		_MarkModified(list);
	}
}


BPopUpMenu*
TCorvanView::NewPopup()
{
	bool selected = false;
	bool container = false;
	for (const TRowPlace& place : _Layout()) {
		selected |= place.item->IsSelected();
		container |= place.item->IsSelected() && place.item->Container();
	}
	if (!selected)
		return NULL;
	BPopUpMenu* menu = new BPopUpMenu("Popup", false, false);
	auto add = [this, menu](const char* key, uint32 what) {
		BMenuItem* item = new BMenuItem(gVLT.Text(key), new BMessage(what));
		menu->AddItem(item);
		item->SetTarget(this);
		return item;
	};
	add("PopMItem_Del", kMsgPopupDeleteFile);
	menu->AddSeparatorItem();
	if (container) {
		add("PopMItem_Add_New", kMsgPopupAddNewList);
		menu->AddSeparatorItem();
		add("PopMItem_Save", kMsgPopupSaveList);
		add("PopMItem_Save_As", kMsgPopupSaveListAs);
		menu->AddSeparatorItem();
	}
	add("PopMItem_Sort_File_Name_Up", kMsgPopupSort)->Message()->AddInt32("SortKey", 1);
	add("PopMItem_Sort_File_Name_Down", kMsgPopupSort)->Message()->AddInt32("SortKey", 2);
	menu->AddSeparatorItem();
	BMenuItem* document = new BMenuItem(gVLT.Text("PopMItem_Open_Doc"),
		new BMessage(kMsgOpenDocument));
	document->SetTarget(fTarget);
	menu->AddItem(document);
	menu->AddSeparatorItem();
	add("PopMItem_Deselect", kMsgPopupDeselect);
	return menu;
}


void
TCorvanView::OpenPopup(BPoint where)
{
	BPopUpMenu* menu = NewPopup();
	if (menu == NULL)
		return;
	menu->SetAsyncAutoDestruct(true);
	menu->Go(ConvertToScreen(where), true, false, true);
}
