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
	fSelectMessage(NULL),
	fListType(type),
	fAnchorIndex(-1),
	fContentHeight(0)
{
	SetViewColor(make_color(255, 255, 255));
	SetLowColor(make_color(255, 255, 255));
}


BListView::~BListView()
{
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
	BRect frame = Bounds();
	frame.bottom = -1;
	for (BListItem* item : fItems) {
		frame.top = frame.bottom + 1;
		frame.bottom = frame.top + std::ceil(item->Height());
		if (frame.top > updateRect.bottom)
			break;
		if (!frame.Intersects(updateRect))
			continue;
		SetHighColor(high);
		SetLowColor(low);
		DrawItem(item, frame, true);
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
	if (item == NULL || atIndex < 0 || atIndex > CountItems())
		return false;
	fItems.insert(fItems.begin() + atIndex, item);
	if (fAnchorIndex >= atIndex)
		fAnchorIndex++;
	BFont font;
	GetFont(&font);
	item->Update(this, &font);
	fContentHeight += _RowHeight(item);
	_ItemsChanged();
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
	for (int32 i = 0; i < newItems->CountItems(); i++) {
		if (!AddItem(static_cast<BListItem*>(newItems->ItemAt(i)), atIndex + i))
			return false;
	}
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
	fItems.erase(fItems.begin() + index);
	fContentHeight -= _RowHeight(item);
	if (fAnchorIndex == index)
		fAnchorIndex = -1;
	else if (fAnchorIndex > index)
		fAnchorIndex--;
	if (item->IsSelected()) {
		item->Deselect();
		SelectionChanged();
	}
	_ItemsChanged();
	return item;
}


bool
BListView::RemoveItems(int32 index, int32 count)
{
	if (index < 0 || count < 0 || index + count > CountItems())
		return false;
	for (int32 i = 0; i < count; i++)
		BListView::RemoveItem(index);
	return true;
}


void
BListView::MakeEmpty()
{
	bool hadSelection = false;
	for (BListItem* item : fItems) {
		hadSelection |= item->IsSelected();
		item->Deselect();
	}
	fItems.clear();
	fContentHeight = 0;
	fAnchorIndex = -1;
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
	const auto found = std::find(fItems.begin(), fItems.end(), item);
	return found == fItems.end() ? -1 : int32(found - fItems.begin());
}


int32
BListView::IndexOf(BPoint point) const
{
	float top = 0;
	for (int32 i = 0; i < CountItems(); i++) {
		const float bottom = top + std::ceil(fItems[i]->Height());
		if (point.y >= top && point.y < bottom + 1)
			return point.y >= 0 ? i : -1;
		top = bottom + 1;
	}
	return -1;
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
	BRect frame = Bounds();
	frame.top = 0;
	frame.bottom = -1;
	for (int32 i = 0; i <= index && i < CountItems(); i++) {
		frame.top = frame.bottom + 1;
		frame.bottom = frame.top + std::ceil(fItems[i]->Height());
	}
	if (index < 0 || index >= CountItems())
		return BRect();
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
