#ifndef _OUTLINE_LIST_VIEW_H
#define _OUTLINE_LIST_VIEW_H

#include <vector>

#include <ListView.h>

// A list of items in a tree. The full list holds every item in tree order
// (each item followed by its subtree); the rows the base class shows are the
// items whose every ancestor is expanded. ItemAt(), CountItems() and
// CurrentSelection() count visible rows; the FullList… calls count all items.
// Every operation works on a list that is in no window.
class BOutlineListView : public BListView {
public:
	BOutlineListView(BRect frame, const char* name,
		list_view_type type = B_SINGLE_SELECTION_LIST,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE);
	virtual ~BOutlineListView();

	virtual void MouseDown(BPoint where);
	virtual void KeyDown(const char* bytes, int32 numBytes);

	// Adds `item` as the LAST child of `superitem` (at the top level's end
	// when NULL). The original platform put it first, directly under the
	// superitem; callers here always want the appending order.
	virtual bool AddUnder(BListItem* item, BListItem* superitem);
	// At the top level's end.
	virtual bool AddItem(BListItem* item);
	// At a full-list index, taking over the outline level already set in
	// the item.
	virtual bool AddItem(BListItem* item, int32 fullListIndex);
	// Removes the item together with its subtree; deletes nothing.
	virtual bool RemoveItem(BListItem* item);
	virtual BListItem* RemoveItem(int32 fullListIndex);
	virtual void MakeEmpty();

	BListItem* FullListItemAt(int32 fullListIndex) const;
	int32 FullListIndexOf(const BListItem* item) const;
	int32 FullListCountItems() const;
	bool FullListHasItem(const BListItem* item) const;
	// The n-th selected item in full-list order, as a full-list index.
	int32 FullListCurrentSelection(int32 n = 0) const;

	BListItem* Superitem(const BListItem* item) const;
	void Expand(BListItem* item);
	void Collapse(BListItem* item);
	bool IsExpanded(int32 fullListIndex) const;

	int32 CountItemsUnder(BListItem* superitem, bool oneLevelOnly) const;
	BListItem* ItemUnderAt(BListItem* superitem, bool oneLevelOnly,
		int32 index) const;
	// Sorts the children of `superitem` (the top level when NULL); each
	// child moves with its subtree. Equal items keep their order. Without
	// `oneLevelOnly` every level below is sorted too.
	void SortItemsUnder(BListItem* superitem, bool oneLevelOnly,
		int (*compare)(const BListItem*, const BListItem*));
	void FullListSortItems(int (*compare)(const BListItem*, const BListItem*));

protected:
	virtual void DrawItem(BListItem* item, BRect itemRect, bool complete);

private:
	bool _InsertAt(BListItem* item, int32 fullIndex);
	bool _HasSubitems(int32 fullIndex) const;
	BRect _LatchRect(BRect itemRect, uint32 level) const;
	int32 _SubtreeEnd(int32 fullIndex) const;
	// The row a newly shown item at `fullIndex` takes.
	int32 _RowFor(int32 fullIndex) const;
	// The items of [begin, end) that are rows; they are one block of rows.
	std::vector<BListItem*> _RowsIn(int32 begin, int32 end) const;
	// The items of [begin, end) that should be rows, given that every item
	// before `begin` shows as it should.
	std::vector<BListItem*> _ShownIn(int32 begin, int32 end) const;
	void _FullListChanged(int32 from);
	void _SortRange(int32 begin, int32 end, bool recursive,
		int (*compare)(const BListItem*, const BListItem*));
	bool _ToggleLatchAt(BPoint where);

	std::vector<BListItem*> fFullList;
	// Items' fFullIndex values are right below fFullValid.
	mutable int32 fFullValid;
};

#endif
