#include <ListView.h>

#include <algorithm>

#include <Font.h>
#include <InterfaceDefs.h>
#include <List.h>
#include <Looper.h>
#include <Message.h>
#include <ScrollBar.h>
#include <ScrollView.h>
#include <Window.h>

BListView::BListView(BRect frame, const char* name, list_view_type type,
	uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags),
	fAlive(std::make_shared<bool>(true)),
	fSelectMessage(NULL),
	fListType(type),
	fAnchorIndex(-1),
	fContentHeight(0),
	fRowsValid(0),
	fTops(1, 0.0f),
	fTopsValid(0)
{
	SetViewColor(make_color(255, 255, 255));
	SetLowColor(make_color(255, 255, 255));
}


BListView::~BListView()
{
	// The program may have deleted its items already: they are not touched.
	*fAlive = false;
	delete fSelectMessage;
}


void
BListView::Draw(BRect updateRect)
{
	// Items change the colours to draw themselves and leave them so: each
	// row starts from the list's own colours, which are back once all rows
	// are drawn, so that no row paints its background in another's colour.
	const rgb_color high = HighColor();
	const rgb_color low = LowColor();
	// Rows start at the list's own origin; scrolling moves the bounds.
	_CountTops(CountItems());
	const int32 first = std::max<int32>(0, int32(std::upper_bound(fTops.begin(),
		fTops.begin() + CountItems() + 1, updateRect.top) - fTops.begin()) - 1);
	BRect frame = Bounds();
	for (int32 i = first; i < CountItems(); i++) {
		frame.top = fTops[i];
		frame.bottom = fTops[i + 1] - 1;
		if (frame.top > updateRect.bottom)
			break;
		if (!frame.Intersects(updateRect))
			continue;
		SetHighColor(high);
		SetLowColor(low);
		DrawItem(fItems[i], frame, true);
	}
	SetHighColor(high);
	SetLowColor(low);
}


void
BListView::AttachedToWindow()
{
	BView::AttachedToWindow();
	_UpdateItems();
	_FixupScrollBar();
}


void
BListView::FrameResized(float width, float height)
{
	BView::FrameResized(width, height);
	// Items may have changed their heights meanwhile.
	_RecountContentHeight();
	_FixupScrollBar();
}


void
BListView::MouseDown(BPoint where)
{
	MakeFocus(true);
	const int32 index = IndexOf(where);
	if (index < 0)
		return;
	int32 clicks = 1;
	int32 modifierKeys = 0;
	if (BMessage* message = Looper() != NULL ? Looper()->CurrentMessage() : NULL) {
		message->FindInt32("clicks", &clicks);
		message->FindInt32("modifiers", &modifierKeys);
	}
	if (clicks >= 2 && IsItemSelected(index)) {
		Invoke();
		return;
	}
	if (fListType == B_MULTIPLE_SELECTION_LIST
		&& (modifierKeys & B_SHIFT_KEY) != 0 && fAnchorIndex >= 0) {
		const int32 anchor = fAnchorIndex;
		if (_Select(std::min(anchor, index), std::max(anchor, index), false)) {
			_UserChangedSelection();
		}
		fAnchorIndex = anchor;
		return;
	}
	if (fListType == B_MULTIPLE_SELECTION_LIST
		&& (modifierKeys & B_COMMAND_KEY) != 0
		&& IsItemSelected(index)) {
		if (_Deselect(index, index)) {
			_UserChangedSelection();
		}
		return;
	}
	SelectAsUser(index, fListType == B_MULTIPLE_SELECTION_LIST
		&& (modifierKeys & B_COMMAND_KEY) != 0);
}


void
BListView::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes != 1 || fItems.empty()) {
		BView::KeyDown(bytes, numBytes);
		return;
	}
	const int32 current = CurrentSelection();
	switch (bytes[0]) {
		case B_UP_ARROW:
			SelectAsUser(current > 0 ? current - 1 : 0, false);
			ScrollToSelection();
			break;
		case B_DOWN_ARROW:
			SelectAsUser(std::min<int32>(current + 1, CountItems() - 1), false);
			ScrollToSelection();
			break;
		case B_HOME:
			SelectAsUser(0, false);
			ScrollToSelection();
			break;
		case B_END:
			SelectAsUser(CountItems() - 1, false);
			ScrollToSelection();
			break;
		case B_ENTER:
		case B_SPACE:
			Invoke();
			break;
		default:
			BView::KeyDown(bytes, numBytes);
	}
}


void
BListView::ScrollTo(BPoint where)
{
	BView::ScrollTo(where);
	if (BScrollBar* bar = _VerticalBar())
		bar->SetValue(where.y);
}


bool
BListView::AddItem(BListItem* item)
{
	return BListView::AddItem(item, CountItems());
}


bool
BListView::AddItem(BListItem* item, int32 atIndex)
{
	if (item == NULL || item->_LiveOwner() != NULL || atIndex < 0 || atIndex > CountItems())
		return false;
	item->_SetOwner(this);
	_InsertRows(atIndex, &item, 1);
	return true;
}


bool
BListView::AddList(BList* newItems)
{
	return newItems != NULL && AddList(newItems, CountItems());
}


bool
BListView::AddList(BList* newItems, int32 atIndex)
{
	if (newItems == NULL || atIndex < 0 || atIndex > CountItems())
		return false;
	const int32 count = newItems->CountItems();
	std::vector<BListItem*> items(count);
	for (int32 i = 0; i < count; i++)
		items[i] = static_cast<BListItem*>(newItems->ItemAt(i));
	// All or nothing: an item already in a list (this one included, or twice
	// in `newItems`) leaves the list as it was.
	for (int32 i = 0; i < count; i++) {
		if (items[i] == NULL || items[i]->_LiveOwner() != NULL) {
			while (--i >= 0)
				items[i]->_SetOwner(NULL);
			return false;
		}
		items[i]->_SetOwner(this);
	}
	_InsertRows(atIndex, items.data(), count);
	return true;
}


bool
BListView::RemoveItem(BListItem* item)
{
	return BListView::RemoveItem(IndexOf(item)) != NULL;
}


BListItem*
BListView::RemoveItem(int32 index)
{
	if (index < 0 || index >= CountItems())
		return NULL;
	BListItem* item = fItems[index];
	_RemoveRows(index, 1);
	item->_SetOwner(NULL);
	return item;
}


bool
BListView::RemoveItems(int32 index, int32 count)
{
	if (index < 0 || count < 0 || index + count > CountItems())
		return false;
	for (int32 i = index; i < index + count; i++)
		fItems[i]->_SetOwner(NULL);
	_RemoveRows(index, count);
	return true;
}


void
BListView::MakeEmpty()
{
	bool hadSelection = false;
	for (BListItem* item : fItems) {
		hadSelection |= item->IsSelected();
		item->Deselect();
		item->_SetOwner(NULL);
		item->fRow = -1;
	}
	fItems.clear();
	fContentHeight = 0;
	fAnchorIndex = -1;
	_RowsChanged(0);
	if (hadSelection)
		SelectionChanged();
	_ItemsChanged();
}


BListItem*
BListView::ItemAt(int32 index) const
{
	return index >= 0 && index < CountItems() ? fItems[index] : NULL;
}


BListItem*
BListView::FirstItem() const
{
	return ItemAt(0);
}


BListItem*
BListView::LastItem() const
{
	return ItemAt(CountItems() - 1);
}


int32
BListView::IndexOf(const BListItem* item) const
{
	if (item == NULL || item->_LiveOwner() != this || item->fRow < 0)
		return -1;
	if (item->fRow >= fRowsValid) {
		for (int32 i = fRowsValid; i < CountItems(); i++)
			fItems[i]->fRow = i;
		fRowsValid = CountItems();
	}
	return item->fRow;
}


int32
BListView::IndexOf(BPoint point) const
{
	_CountTops(CountItems());
	if (point.y < 0 || !(point.y < fTops[CountItems()]))
		return -1;
	return int32(std::upper_bound(fTops.begin(), fTops.begin() + CountItems() + 1,
		point.y) - fTops.begin()) - 1;
}


bool
BListView::HasItem(const BListItem* item) const
{
	return IndexOf(item) >= 0;
}


int32
BListView::CountItems() const
{
	return int32(fItems.size());
}


bool
BListView::IsEmpty() const
{
	return fItems.empty();
}


bool
BListView::SwapItems(int32 a, int32 b)
{
	if (ItemAt(a) == NULL || ItemAt(b) == NULL)
		return false;
	std::swap(fItems[a], fItems[b]);
	_RowsChanged(std::min(a, b));
	Invalidate();
	return true;
}


bool
BListView::MoveItem(int32 from, int32 to)
{
	if (ItemAt(from) == NULL || ItemAt(to) == NULL)
		return false;
	BListItem* item = fItems[from];
	fItems.erase(fItems.begin() + from);
	fItems.insert(fItems.begin() + to, item);
	_RowsChanged(std::min(from, to));
	Invalidate();
	return true;
}


void
BListView::SortItems(int (*compare)(const void*, const void*))
{
	// The comparator takes pointers to the elements, as qsort passes them.
	std::stable_sort(fItems.begin(), fItems.end(),
		[compare](BListItem* const& a, BListItem* const& b) {
			return compare(&a, &b) < 0;
		});
	fAnchorIndex = -1;
	_RowsChanged(0);
	Invalidate();
}


void
BListView::SetSelectionMessage(BMessage* message)
{
	delete fSelectMessage;
	fSelectMessage = message;
}


BMessage*
BListView::SelectionMessage() const
{
	return fSelectMessage;
}


uint32
BListView::SelectionCommand() const
{
	return fSelectMessage != NULL ? fSelectMessage->what : 0;
}


void
BListView::SetInvocationMessage(BMessage* message)
{
	SetMessage(message);
}


BMessage*
BListView::InvocationMessage() const
{
	return Message();
}


uint32
BListView::InvocationCommand() const
{
	return Command();
}


status_t
BListView::Invoke(BMessage* message)
{
	BMessage* model = message != NULL ? message : Message();
	if (model == NULL)
		return B_BAD_VALUE;
	BMessage copy(*model);
	copy.AddPointer("source", this);
	for (int32 i = 0; i < CountItems(); i++) {
		if (fItems[i]->IsSelected())
			copy.AddInt32("index", i);
	}
	return BInvoker::Invoke(&copy);
}


void
BListView::SetListType(list_view_type type)
{
	if (fListType == B_MULTIPLE_SELECTION_LIST && type == B_SINGLE_SELECTION_LIST)
		Select(CurrentSelection());
	fListType = type;
}


list_view_type
BListView::ListType() const
{
	return fListType;
}


void
BListView::Select(int32 index, bool extend)
{
	if (_Select(index, index, extend))
		SelectionChanged();
}


void
BListView::Select(int32 from, int32 to, bool extend)
{
	if (_Select(from, to, extend))
		SelectionChanged();
}


void
BListView::Deselect(int32 index)
{
	if (_Deselect(index, index))
		SelectionChanged();
}


void
BListView::DeselectAll()
{
	if (_Deselect(0, CountItems() - 1))
		SelectionChanged();
}


void
BListView::DeselectExcept(int32 exceptFrom, int32 exceptTo)
{
	bool changed = _Deselect(0, exceptFrom - 1);
	changed |= _Deselect(exceptTo + 1, CountItems() - 1);
	if (changed)
		SelectionChanged();
}


bool
BListView::IsItemSelected(int32 index) const
{
	const BListItem* item = ItemAt(index);
	return item != NULL && item->IsSelected();
}


int32
BListView::CurrentSelection(int32 n) const
{
	for (int32 i = 0; i < CountItems(); i++) {
		if (fItems[i]->IsSelected() && n-- == 0)
			return i;
	}
	return -1;
}


void
BListView::SelectionChanged()
{
}


BRect
BListView::ItemFrame(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return BRect();
	_CountTops(index + 1);
	BRect frame = Bounds();
	frame.top = fTops[index];
	frame.bottom = fTops[index + 1] - 1;
	return frame;
}


void
BListView::InvalidateItem(int32 index)
{
	if (ItemAt(index) != NULL)
		Invalidate(ItemFrame(index));
}


void
BListView::ScrollToSelection()
{
	const int32 index = CurrentSelection();
	if (index < 0)
		return;
	const BRect item = ItemFrame(index);
	const BRect visible = Bounds();
	if (item.top < visible.top)
		ScrollTo(BPoint(visible.left, item.top));
	else if (item.bottom > visible.bottom)
		ScrollTo(BPoint(visible.left, item.bottom - visible.Height()));
}


void
BListView::DrawItem(BListItem* item, BRect itemRect, bool complete)
{
	item->DrawItem(this, itemRect, complete);
}


void
BListView::SelectAsUser(int32 index, bool extend)
{
	if (_Select(index, index, extend)) {
		_UserChangedSelection();
	}
}


void
BListView::_InsertRows(int32 at, BListItem* const* items, int32 count)
{
	if (count == 0)
		return;
	BFont font;
	GetFont(&font);
	for (int32 i = 0; i < count; i++) {
		// Not a row yet: its height counts once it is one.
		items[i]->fRow = -1;
		items[i]->Update(this, &font);
		items[i]->fRow = at + i;
		fContentHeight += _RowHeight(items[i]);
	}
	fItems.insert(fItems.begin() + at, items, items + count);
	if (fAnchorIndex >= at)
		fAnchorIndex += count;
	_RowsChanged(at);
	_ItemsChanged();
}


void
BListView::_RemoveRows(int32 at, int32 count)
{
	if (count == 0)
		return;
	bool hadSelection = false;
	for (int32 i = at; i < at + count; i++) {
		BListItem* item = fItems[i];
		item->fRow = -1;
		fContentHeight -= _RowHeight(item);
		hadSelection |= item->IsSelected();
		item->Deselect();
	}
	fItems.erase(fItems.begin() + at, fItems.begin() + at + count);
	if (fAnchorIndex >= at + count)
		fAnchorIndex -= count;
	else if (fAnchorIndex >= at)
		fAnchorIndex = -1;
	_RowsChanged(at);
	if (hadSelection)
		SelectionChanged();
	_ItemsChanged();
}


void
BListView::_ReplaceRows(int32 at, const std::vector<BListItem*>& items)
{
	std::copy(items.begin(), items.end(), fItems.begin() + at);
	_RowsChanged(at);
	Invalidate();
}


void
BListView::_RowsChanged(int32 from)
{
	fRowsValid = std::min(fRowsValid, from);
	fTopsValid = std::min(fTopsValid, from);
}


void
BListView::_HeightChanged(BListItem* item)
{
	const int32 row = IndexOf(item);
	if (row >= 0)
		fTopsValid = std::min(fTopsValid, row);
}


void
BListView::_CountTops(int32 count) const
{
	if (fTopsValid >= count)
		return;
	fTops.resize(CountItems() + 1);
	for (int32 i = fTopsValid; i < count; i++)
		fTops[i + 1] = fTops[i] + _RowHeight(fItems[i]);
	fTopsValid = count;
}


bool
BListView::_Select(int32 from, int32 to, bool extend)
{
	if (from < 0 || to < from || to >= CountItems())
		return false;
	if (fListType == B_SINGLE_SELECTION_LIST) {
		from = to;
		extend = false;
	}
	bool changed = false;
	if (!extend) {
		changed |= _Deselect(0, from - 1);
		changed |= _Deselect(to + 1, CountItems() - 1);
	}
	for (int32 i = from; i <= to; i++) {
		if (!fItems[i]->IsSelected()) {
			fItems[i]->Select();
			InvalidateItem(i);
			changed = true;
		}
	}
	fAnchorIndex = from;
	return changed;
}


bool
BListView::_Deselect(int32 from, int32 to)
{
	bool changed = false;
	for (int32 i = std::max<int32>(from, 0); i <= to && i < CountItems(); i++) {
		if (fItems[i]->IsSelected()) {
			fItems[i]->Deselect();
			InvalidateItem(i);
			changed = true;
		}
	}
	return changed;
}


void
BListView::_UserChangedSelection()
{
	SelectionChanged();
	if (fSelectMessage != NULL)
		InvokeNotify(fSelectMessage, B_CONTROL_MODIFIED);
}


float
BListView::_RowHeight(const BListItem* item)
{
	return std::ceil(item->Height()) + 1;
}


void
BListView::_RecountContentHeight()
{
	fContentHeight = 0;
	for (const BListItem* item : fItems)
		fContentHeight += _RowHeight(item);
}


void
BListView::_UpdateItems()
{
	BFont font;
	GetFont(&font);
	for (BListItem* item : fItems)
		item->Update(this, &font);
	_RecountContentHeight();
}


BScrollBar*
BListView::_VerticalBar() const
{
	const BScrollView* scrollView = dynamic_cast<const BScrollView*>(Parent());
	return scrollView != NULL ? scrollView->ScrollBar(B_VERTICAL) : NULL;
}


void
BListView::_FixupScrollBar()
{
	BScrollBar* bar = _VerticalBar();
	if (bar == NULL)
		return;
	const float visible = Bounds().Height() + 1;
	const float content = fContentHeight;
	const float range = std::max(0.0f, content - visible);
	bar->SetRange(0, range);
	bar->SetProportion(content > 0 ? std::min(1.0f, visible / content) : 1.0f);
	bar->SetSteps(fItems.empty() ? 13 : std::ceil(fItems[0]->Height()) + 1, visible);
}


void
BListView::_ItemsChanged()
{
	_FixupScrollBar();
	Invalidate();
}
