#include "AboutViewAddOn.h"

#include <cmath>

#include <ListView.h>
#include <Message.h>
#include <ScrollView.h>
#include <StringView.h>
#include <TextView.h>
#include <VLT.h>
#include <Window.h>

#include "WidthAdjust.h"

namespace {

const uint32 kMsgAddOnSelected = 'avas';

const float kMargin = 10;
const float kTitleHeight = 14;
const float kTitleGap = 5;
const float kListGap = 10;
// Room right of a list for its vertical scroll bar and the border.
const float kRightRoom = 24;
// The list's bottom is this much above the tab's middle.
const float kListBottomRoom = 14;
const float kInfoBottomRoom = 34;


// A title with its top-left corner at `where`: one pixel wide until it has
// a text, and as high as a line of the font when that is higher than the
// usual 14 pixels, so that no text is cut.
BStringView*
new_title(BPoint where, const char* name)
{
	BStringView* title = new BStringView(BRect(where.x, where.y, where.x + 1,
		where.y + kTitleHeight), name, "");
	float width;
	float height;
	title->GetPreferredSize(&width, &height);
	if (height > kTitleHeight)
		title->ResizeTo(1, std::ceil(height));
	return title;
}

}	// namespace


TAboutViewAddOn::TAboutViewAddOn(BRect frame, const char* name)
	:
	TPKNDlgView(frame, name, B_FOLLOW_ALL, B_WILL_DRAW),
	fList(NULL),
	fListTitle(NULL),
	fInfoTitle(NULL),
	fInfo(NULL),
	fVLT(NULL),
	fNeedList(true),
	fNeedInfo(true)
{
	const BRect bounds = Bounds();
	fListTitle = new_title(BPoint(kMargin, kMargin), "StrViewListTitle");
	AddChild(fListTitle);

	fList = new BListView(BRect(kMargin, fListTitle->Frame().bottom + kTitleGap,
		bounds.right - kRightRoom, std::floor(bounds.Height() * 0.5f) - kListBottomRoom),
		"ListView", B_SINGLE_SELECTION_LIST, B_FOLLOW_ALL);
	fList->SetSelectionMessage(new BMessage(kMsgAddOnSelected));
	BScrollView* listScroll = new BScrollView("ScrlViewList", fList, B_FOLLOW_ALL, 0, true,
		true, B_FANCY_BORDER);
	AddChild(listScroll);

	fInfoTitle = new_title(BPoint(kMargin, listScroll->Frame().bottom + kListGap),
		"StrViewInfoTitle");
	AddChild(fInfoTitle);

	const BRect infoFrame(kMargin, fInfoTitle->Frame().bottom + kTitleGap,
		bounds.right - kRightRoom, bounds.bottom - kInfoBottomRoom);
	BRect textRect = infoFrame;
	textRect.OffsetTo(0, 0);
	fInfo = new BTextView(infoFrame, "InfoView", textRect, B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW);
	fInfo->MakeEditable(false);
	AddChild(new BScrollView("ScrlViewInfo", fInfo, B_FOLLOW_LEFT | B_FOLLOW_TOP, 0, true,
		true));
}


TAboutViewAddOn::~TAboutViewAddOn()
{
	_DeleteItems();
}


void
TAboutViewAddOn::SetVLTRef(TVLT* table)
{
	fVLT = table;
	SetNeedSetInfo();
}


void
TAboutViewAddOn::AllAttached()
{
	TPKNDlgView::AllAttached();
	fList->SetTarget(this);
	if (fNeedList)
		_RebuildList();
	if (fNeedInfo)
		_RebuildInfo();
}


void
TAboutViewAddOn::MessageReceived(BMessage* message)
{
	if (message->what == kMsgAddOnSelected)
		SetNeedSetInfo();
	else
		TPKNDlgView::MessageReceived(message);
}


void
TAboutViewAddOn::SetNeedSetList()
{
	fNeedList = true;
	if (Window() != NULL)
		_RebuildList();
}


void
TAboutViewAddOn::SetNeedSetInfo()
{
	fNeedInfo = true;
	if (Window() != NULL)
		_RebuildInfo();
}


void
TAboutViewAddOn::SetTitles(const char* listTitleKey, const char* infoTitleKey)
{
	if (fVLT == NULL)
		return;
	BWindow* window = Window();
	if (window != NULL && !window->Lock())
		return;
	fListTitle->SetText(fVLT->Text(listTitleKey));
	pelkan::adjust_strview_width(fListTitle);
	fInfoTitle->SetText(fVLT->Text(infoTitleKey));
	pelkan::adjust_strview_width(fInfoTitle);
	if (window != NULL)
		window->Unlock();
}


void
TAboutViewAddOn::ShowInfo(const TInfoSections& sections)
{
	std::string text;
	for (const auto& [labelKey, value] : sections) {
		if (!text.empty())
			text += "\n\n";
		if (fVLT != NULL)
			text += fVLT->Text(labelKey);
		text += '\n';
		text += value;
	}
	fInfo->SetText(text.c_str());
}


// The rows are made afresh, so the details of the row that was selected
// would otherwise stay on show for a row that may be gone: the add-on that
// was selected is selected again where it now is, and the details follow
// the selection.
void
TAboutViewAddOn::_RebuildList()
{
	const int32 selection = fList->CurrentSelection();
	const std::string selected = selection >= 0 ? RowIdentity(selection) : std::string();
	_DeleteItems();
	SetList();
	fNeedList = false;
	if (selection >= 0) {
		for (int32 i = 0; i < fList->CountItems(); i++) {
			if (RowIdentity(i) == selected) {
				fList->Select(i);
				break;
			}
		}
	}
	_RebuildInfo();
}


void
TAboutViewAddOn::_RebuildInfo()
{
	fInfo->SetText("");
	SetInfo();
	fNeedInfo = false;
}


void
TAboutViewAddOn::_DeleteItems()
{
	std::vector<BListItem*> items;
	items.reserve(fList->CountItems());
	for (int32 i = 0; i < fList->CountItems(); i++)
		items.push_back(fList->ItemAt(i));
	fList->MakeEmpty();
	for (BListItem* item : items)
		delete item;
}
