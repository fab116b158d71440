#ifndef _LIST_VIEW_H
#define _LIST_VIEW_H

#include <memory>
#include <vector>

#include <Invoker.h>
#include <ListItem.h>
#include <View.h>

class BList;
class BScrollBar;

enum list_view_type {
	B_SINGLE_SELECTION_LIST,
	B_MULTIPLE_SELECTION_LIST
};

// A column of self-drawing items, drawn by the layer through the Be drawing
// API. Item i's frame starts one pixel below item i-1's bottom, so rows of
// height 12 are 13 pixels apart. The list never deletes its items.
//
// Selecting from code (Select, Deselect…) calls SelectionChanged() but sends
// no message; the selection message goes out only when the user changes the
// selection, the invocation message on a double click, Enter, or Invoke().
class BListView : public BView, public BInvoker {
public:
	BListView(BRect frame, const char* name,
		list_view_type type = B_SINGLE_SELECTION_LIST,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE);
	virtual ~BListView();

	virtual void Draw(BRect updateRect);
	virtual void AttachedToWindow();
	virtual void FrameResized(float width, float height);
	virtual void MouseDown(BPoint where);
	virtual void KeyDown(const char* bytes, int32 numBytes);
	using BView::ScrollTo;
	// Keeps the scroll view's bar on the new position.
	virtual void ScrollTo(BPoint where);

	virtual bool AddItem(BListItem* item);
	virtual bool AddItem(BListItem* item, int32 atIndex);
	virtual bool AddList(BList* newItems);
	virtual bool AddList(BList* newItems, int32 atIndex);
	virtual bool RemoveItem(BListItem* item);
	virtual BListItem* RemoveItem(int32 index);
	virtual bool RemoveItems(int32 index, int32 count);
	virtual void MakeEmpty();

	BListItem* ItemAt(int32 index) const;
	BListItem* FirstItem() const;
	BListItem* LastItem() const;
	int32 IndexOf(const BListItem* item) const;
	// The row under `point` (view coordinates), or -1.
	int32 IndexOf(BPoint point) const;
	bool HasItem(const BListItem* item) const;
	int32 CountItems() const;
	bool IsEmpty() const;
	bool SwapItems(int32 a, int32 b);
	bool MoveItem(int32 from, int32 to);
	void SortItems(int (*compare)(const void*, const void*));

	virtual void SetSelectionMessage(BMessage* message);
	BMessage* SelectionMessage() const;
	uint32 SelectionCommand() const;
	virtual void SetInvocationMessage(BMessage* message);
	BMessage* InvocationMessage() const;
	uint32 InvocationCommand() const;
	// Sends the invocation message with "index" for every selected row.
	virtual status_t Invoke(BMessage* message = NULL);

	virtual void SetListType(list_view_type type);
	list_view_type ListType() const;

	void Select(int32 index, bool extend = false);
	void Select(int32 from, int32 to, bool extend = false);
	void Deselect(int32 index);
	void DeselectAll();
	void DeselectExcept(int32 exceptFrom, int32 exceptTo);
	bool IsItemSelected(int32 index) const;
	// The n-th selected row in ascending row order, or -1.
	int32 CurrentSelection(int32 n = 0) const;
	virtual void SelectionChanged();

	BRect ItemFrame(int32 index) const;
	void InvalidateItem(int32 index);
	void ScrollToSelection();

protected:
	// Draws one row; an outline list indents it and adds the latch.
	virtual void DrawItem(BListItem* item, BRect itemRect, bool complete);
	// A mouse press or key the list acted on as the user: selection changes
	// it makes are reported with the selection message.
	void SelectAsUser(int32 index, bool extend);

private:
	friend class BListItem;
	friend class BOutlineListView;

	// Row changes in batches: the caches are renumbered once per batch, and
	// the selection-changed hook and redraw happen once.
	void _InsertRows(int32 at, BListItem* const* items, int32 count);
	void _RemoveRows(int32 at, int32 count);
	// Puts `items`, the same rows in another order, at rows `at`….
	void _ReplaceRows(int32 at, const std::vector<BListItem*>& items);
	void _RowsChanged(int32 from);
	void _HeightChanged(BListItem* item);
	// Brings fTops up to row `count`.
	void _CountTops(int32 count) const;
	bool _Select(int32 from, int32 to, bool extend);
	bool _Deselect(int32 from, int32 to);
	void _UserChangedSelection();
	static float _RowHeight(const BListItem* item);
	void _RecountContentHeight();
	void _UpdateItems();
	BScrollBar* _VerticalBar() const;
	void _FixupScrollBar();
	void _ItemsChanged();

	std::vector<BListItem*> fItems;
	// False once the list is gone; its items keep a share of it.
	std::shared_ptr<bool> fAlive;
	BMessage* fSelectMessage;
	list_view_type fListType;
	int32 fAnchorIndex;
	// The rows' total height, kept as items come and go.
	float fContentHeight;
	// Items' fRow values are right for rows below fRowsValid.
	mutable int32 fRowsValid;
	// fTops[i] is row i's top, right for i <= fTopsValid.
	mutable std::vector<float> fTops;
	mutable int32 fTopsValid;
};

#endif
