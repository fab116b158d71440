#include <OutlineListView.h>

#include <algorithm>
#include <cstdint>

#include <InterfaceDefs.h>

namespace {

// Horizontal room per outline level; the latch sits in the last one.
const float kLevelIndent = 12.0f;
const rgb_color kLatchColor = make_color(80, 80, 80);

}


BOutlineListView::BOutlineListView(BRect frame, const char* name,
	list_view_type type, uint32 resizingMode, uint32 flags)
	:
	BListView(frame, name, type, resizingMode, flags),
	fFullValid(0)
{
}


BOutlineListView::~BOutlineListView()
{
}


void
BOutlineListView::MouseDown(BPoint where)
{
	if (!_ToggleLatchAt(where))
		BListView::MouseDown(where);
}


void
BOutlineListView::KeyDown(const char* bytes, int32 numBytes)
{
	BListItem* item = ItemAt(CurrentSelection());
	if (numBytes == 1 && item != NULL
		&& (bytes[0] == B_RIGHT_ARROW || bytes[0] == B_LEFT_ARROW)) {
		if (bytes[0] == B_RIGHT_ARROW)
			Expand(item);
		else
			Collapse(item);
		return;
	}
	BListView::KeyDown(bytes, numBytes);
}


bool
BOutlineListView::AddUnder(BListItem* item, BListItem* superitem)
{
	if (superitem == NULL)
		return AddItem(item);
	const int32 superIndex = FullListIndexOf(superitem);
	if (item == NULL || superIndex < 0)
		return false;
	item->SetOutlineLevel(superitem->OutlineLevel() + 1);
	return _InsertAt(item, _SubtreeEnd(superIndex));
}


bool
BOutlineListView::AddItem(BListItem* item)
{
	if (item == NULL)
		return false;
	item->SetOutlineLevel(0);
	return _InsertAt(item, FullListCountItems());
}


bool
BOutlineListView::AddItem(BListItem* item, int32 fullListIndex)
{
	if (item == NULL || fullListIndex < 0 || fullListIndex > FullListCountItems())
		return false;
	// A level deeper than the previous item's child level would leave the
	// item without a superitem.
	const uint32 deepest = fullListIndex == 0
		? 0 : fFullList[fullListIndex - 1]->OutlineLevel() + 1;
	item->SetOutlineLevel(std::min(item->OutlineLevel(), deepest));
	return _InsertAt(item, fullListIndex);
}


bool
BOutlineListView::RemoveItem(BListItem* item)
{
	const int32 index = FullListIndexOf(item);
	if (index < 0)
		return false;
	const int32 end = _SubtreeEnd(index);
	const std::vector<BListItem*> rows = _RowsIn(index, end);
	if (!rows.empty())
		_RemoveRows(IndexOf(rows.front()), int32(rows.size()));
	for (int32 i = index; i < end; i++) {
		fFullList[i]->_SetOwner(NULL);
		fFullList[i]->fSuperitem = NULL;
	}
	fFullList.erase(fFullList.begin() + index, fFullList.begin() + end);
	_FullListChanged(index);
	return true;
}


BListItem*
BOutlineListView::RemoveItem(int32 fullListIndex)
{
	BListItem* item = FullListItemAt(fullListIndex);
	return item != NULL && RemoveItem(item) ? item : NULL;
}


void
BOutlineListView::MakeEmpty()
{
	for (BListItem* item : fFullList) {
		item->_SetOwner(NULL);
		item->fSuperitem = NULL;
	}
	fFullList.clear();
	_FullListChanged(0);
	BListView::MakeEmpty();
}


BListItem*
BOutlineListView::FullListItemAt(int32 fullListIndex) const
{
	return fullListIndex >= 0 && fullListIndex < FullListCountItems()
		? fFullList[fullListIndex] : NULL;
}


int32
BOutlineListView::FullListIndexOf(const BListItem* item) const
{
	if (item == NULL || item->_LiveOwner() != this)
		return -1;
	if (item->fFullIndex >= fFullValid) {
		for (int32 i = fFullValid; i < FullListCountItems(); i++)
			fFullList[i]->fFullIndex = i;
		fFullValid = FullListCountItems();
	}
	return item->fFullIndex;
}


int32
BOutlineListView::FullListCountItems() const
{
	return int32(fFullList.size());
}


bool
BOutlineListView::FullListHasItem(const BListItem* item) const
{
	return FullListIndexOf(item) >= 0;
}


int32
BOutlineListView::FullListCurrentSelection(int32 n) const
{
	for (int32 i = 0; i < FullListCountItems(); i++) {
		if (fFullList[i]->IsSelected() && n-- == 0)
			return i;
	}
	return -1;
}


BListItem*
BOutlineListView::Superitem(const BListItem* item) const
{
	return item != NULL && item->_LiveOwner() == this ? item->fSuperitem : NULL;
}


void
BOutlineListView::Expand(BListItem* item)
{
	const int32 index = FullListIndexOf(item);
	if (index < 0 || item->IsExpanded())
		return;
	item->SetExpanded(true);
	const int32 row = IndexOf(item);
	if (row < 0)
		return;
	const std::vector<BListItem*> shown = _ShownIn(index + 1, _SubtreeEnd(index));
	_InsertRows(row + 1, shown.data(), int32(shown.size()));
}


void
BOutlineListView::Collapse(BListItem* item)
{
	const int32 index = FullListIndexOf(item);
	if (index < 0 || !item->IsExpanded())
		return;
	item->SetExpanded(false);
	const int32 row = IndexOf(item);
	if (row < 0)
		return;
	_RemoveRows(row + 1, int32(_RowsIn(index + 1, _SubtreeEnd(index)).size()));
	InvalidateItem(row);
}


bool
BOutlineListView::IsExpanded(int32 fullListIndex) const
{
	const BListItem* item = FullListItemAt(fullListIndex);
	return item != NULL && item->IsExpanded();
}


int32
BOutlineListView::CountItemsUnder(BListItem* superitem, bool oneLevelOnly) const
{
	int32 begin = 0;
	int32 end = FullListCountItems();
	uint32 childLevel = 0;
	if (superitem != NULL) {
		const int32 superIndex = FullListIndexOf(superitem);
		if (superIndex < 0)
			return 0;
		begin = superIndex + 1;
		end = _SubtreeEnd(superIndex);
		childLevel = superitem->OutlineLevel() + 1;
	}
	if (!oneLevelOnly)
		return end - begin;
	int32 count = 0;
	for (int32 i = begin; i < end; i++)
		count += fFullList[i]->OutlineLevel() == childLevel;
	return count;
}


BListItem*
BOutlineListView::ItemUnderAt(BListItem* superitem, bool oneLevelOnly,
	int32 index) const
{
	int32 begin = 0;
	int32 end = FullListCountItems();
	uint32 childLevel = 0;
	if (superitem != NULL) {
		const int32 superIndex = FullListIndexOf(superitem);
		if (superIndex < 0)
			return NULL;
		begin = superIndex + 1;
		end = _SubtreeEnd(superIndex);
		childLevel = superitem->OutlineLevel() + 1;
	}
	for (int32 i = begin; i < end && index >= 0; i++) {
		if (oneLevelOnly && fFullList[i]->OutlineLevel() != childLevel)
			continue;
		if (index-- == 0)
			return fFullList[i];
	}
	return NULL;
}


void
BOutlineListView::SortItemsUnder(BListItem* superitem, bool oneLevelOnly,
	int (*compare)(const BListItem*, const BListItem*))
{
	int32 begin = 0;
	int32 end = FullListCountItems();
	if (superitem != NULL) {
		const int32 superIndex = FullListIndexOf(superitem);
		if (superIndex < 0)
			return;
		begin = superIndex + 1;
		end = _SubtreeEnd(superIndex);
	}
	const std::vector<BListItem*> shownBefore = _RowsIn(begin, end);
	_SortRange(begin, end, !oneLevelOnly, compare);
	_FullListChanged(begin);
	if (shownBefore.empty())
		return;
	// The rows of the range stay one block in the visible list; only their
	// order changes, and every item keeps its selection.
	_ReplaceRows(IndexOf(shownBefore.front()), _RowsIn(begin, end));
}


void
BOutlineListView::FullListSortItems(
	int (*compare)(const BListItem*, const BListItem*))
{
	SortItemsUnder(NULL, false, compare);
}


void
BOutlineListView::DrawItem(BListItem* item, BRect itemRect, bool complete)
{
	const int32 index = FullListIndexOf(item);
	const uint32 level = item->OutlineLevel();
	BRect indent = itemRect;
	indent.right = itemRect.left + (level + 1) * kLevelIndent - 1;
	if (complete) {
		const rgb_color high = HighColor();
		SetHighColor(LowColor());
		FillRect(indent);
		SetHighColor(high);
	}
	if (_HasSubitems(index)) {
		const BRect latch = _LatchRect(itemRect, level);
		const rgb_color high = HighColor();
		SetHighColor(kLatchColor);
		const float midY = (latch.top + latch.bottom) / 2;
		const float midX = (latch.left + latch.right) / 2;
		if (item->IsExpanded()) {
			FillTriangle(BPoint(latch.left, midY - 2), BPoint(latch.right, midY - 2),
				BPoint(midX, midY + 3));
		} else {
			FillTriangle(BPoint(midX - 2, latch.top), BPoint(midX - 2, latch.bottom),
				BPoint(midX + 3, midY));
		}
		SetHighColor(high);
	}
	itemRect.left = indent.right + 1;
	item->DrawItem(this, itemRect, complete);
}


bool
BOutlineListView::_InsertAt(BListItem* item, int32 fullIndex)
{
	if (item->_LiveOwner() != NULL)
		return false;
	const uint32 level = item->OutlineLevel();
	BListItem* previous = fullIndex > 0 ? fFullList[fullIndex - 1] : NULL;
	BListItem* superitem = previous;
	while (superitem != NULL && superitem->OutlineLevel() >= level)
		superitem = superitem->fSuperitem;
	// Deeper items right after the new one become its subtree; those whose
	// superitem came before it now hang under it. Their rows leave and come
	// back as the new item shows them.
	int32 runEnd = fullIndex;
	while (runEnd < FullListCountItems() && fFullList[runEnd]->OutlineLevel() > level)
		runEnd++;
	const std::vector<BListItem*> runRows = _RowsIn(fullIndex, runEnd);
	if (!runRows.empty())
		_RemoveRows(IndexOf(runRows.front()), int32(runRows.size()));
	uint32 shallowest = UINT32_MAX;
	for (int32 i = fullIndex; i < runEnd; i++) {
		BListItem* below = fFullList[i];
		if (below->OutlineLevel() <= shallowest)
			below->fSuperitem = item;
		shallowest = std::min(shallowest, below->OutlineLevel());
	}

	fFullList.insert(fFullList.begin() + fullIndex, item);
	item->_SetOwner(this);
	item->fSuperitem = superitem;
	item->fFullIndex = fullIndex;
	_FullListChanged(fullIndex);
	if (superitem == NULL || (superitem->IsExpanded() && IndexOf(superitem) >= 0)) {
		const int32 row = _RowFor(fullIndex);
		_InsertRows(row, &item, 1);
		const std::vector<BListItem*> shown = _ShownIn(fullIndex + 1, runEnd + 1);
		_InsertRows(row + 1, shown.data(), int32(shown.size()));
	}
	// A superitem that gains its first child now shows a latch.
	if (previous != NULL && level > previous->OutlineLevel())
		InvalidateItem(IndexOf(previous));
	return true;
}


bool
BOutlineListView::_HasSubitems(int32 fullIndex) const
{
	return fullIndex >= 0 && fullIndex + 1 < FullListCountItems()
		&& fFullList[fullIndex + 1]->OutlineLevel()
			> fFullList[fullIndex]->OutlineLevel();
}


BRect
BOutlineListView::_LatchRect(BRect itemRect, uint32 level) const
{
	const float left = itemRect.left + level * kLevelIndent + 2;
	const float midY = (itemRect.top + itemRect.bottom) / 2;
	return BRect(left, midY - 4, left + 7, midY + 4);
}


int32
BOutlineListView::_SubtreeEnd(int32 fullIndex) const
{
	const uint32 level = fFullList[fullIndex]->OutlineLevel();
	int32 end = fullIndex + 1;
	while (end < FullListCountItems() && fFullList[end]->OutlineLevel() > level)
		end++;
	return end;
}


int32
BOutlineListView::_RowFor(int32 fullIndex) const
{
	if (fullIndex == 0)
		return 0;
	// The item before, or its nearest ancestor that is a row: that one is
	// collapsed then, so no row of its subtree lies between it and us.
	const BListItem* before = fFullList[fullIndex - 1];
	while (IndexOf(before) < 0)
		before = before->fSuperitem;
	return IndexOf(before) + 1;
}


std::vector<BListItem*>
BOutlineListView::_RowsIn(int32 begin, int32 end) const
{
	std::vector<BListItem*> rows;
	for (int32 i = begin; i < end; i++) {
		if (fFullList[i]->fRow >= 0)
			rows.push_back(fFullList[i]);
	}
	return rows;
}


std::vector<BListItem*>
BOutlineListView::_ShownIn(int32 begin, int32 end) const
{
	std::vector<BListItem*> shown;
	std::vector<bool> inRange(end > begin ? end - begin : 0);
	for (int32 i = begin; i < end; i++) {
		BListItem* item = fFullList[i];
		const BListItem* superitem = item->fSuperitem;
		bool show = superitem == NULL;
		if (!show && superitem->IsExpanded()) {
			const int32 at = FullListIndexOf(superitem);
			show = at >= begin ? bool(inRange[at - begin]) : IndexOf(superitem) >= 0;
		}
		inRange[i - begin] = show;
		if (show)
			shown.push_back(item);
	}
	return shown;
}


void
BOutlineListView::_FullListChanged(int32 from)
{
	fFullValid = std::min(fFullValid, from);
}


void
BOutlineListView::_SortRange(int32 begin, int32 end, bool recursive,
	int (*compare)(const BListItem*, const BListItem*))
{
	if (end - begin < 2)
		return;
	// Each child of the range moves with its whole subtree.
	std::vector<std::pair<int32, int32>> children;
	for (int32 i = begin; i < end; i = _SubtreeEnd(i))
		children.emplace_back(i, _SubtreeEnd(i));
	if (recursive) {
		for (const auto& [first, last] : children)
			_SortRange(first + 1, last, true, compare);
	}
	std::stable_sort(children.begin(), children.end(),
		[this, compare](const auto& a, const auto& b) {
			return compare(fFullList[a.first], fFullList[b.first]) < 0;
		});
	std::vector<BListItem*> sorted;
	sorted.reserve(end - begin);
	for (const auto& [first, last] : children)
		sorted.insert(sorted.end(), fFullList.begin() + first, fFullList.begin() + last);
	std::copy(sorted.begin(), sorted.end(), fFullList.begin() + begin);
}


bool
BOutlineListView::_ToggleLatchAt(BPoint where)
{
	const int32 row = IndexOf(where);
	BListItem* item = ItemAt(row);
	if (item == NULL || !_HasSubitems(FullListIndexOf(item)))
		return false;
	BRect latch = _LatchRect(ItemFrame(row), item->OutlineLevel());
	latch.InsetBy(-2, -2);
	if (!latch.Contains(where))
		return false;
	if (item->IsExpanded())
		Collapse(item);
	else
		Expand(item);
	return true;
}
