#include "DrvCvtView.h"

#include <algorithm>
#include <string>
#include <vector>

#include <Alert.h>
#include <Box.h>
#include <Button.h>
#include <InterfaceDefs.h>
#include <ListView.h>
#include <Message.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <PopUpMenu.h>
#include <ScrollView.h>
#include <StringItem.h>
#include <StringView.h>
#include <TextControl.h>
#include <Window.h>

#include <Alerts.h>
#include <VLT.h>
#include <WidthAdjust.h>
#include <WindowFunctions.h>

#include "AppMessages.h"
#include "PKNDlgWin.h"

namespace {

const float kViewWidth = 300.0f;
const float kViewHeight = 240.0f;
const float kEdgeMargin = 10.0f;
const float kButtonWidth = 70.0f;
// Room between Cancel and OK.
const float kButtonGap = 15.0f;
// The narrowest the path field may become when the buttons widen.
const float kPathFieldWidth = 160.0f;
// The list leaves this much of the view's width right of it, its scroll bar
// and border included.
const float kListRightRoom = 24.0f;
const float kPathDivider = 29.0f;
const char kSeparator[] = "  <-->  ";


// The text of a key, or nothing before a table is given.
const char*
text_of(const TVLT* table, const char* key)
{
	return table != NULL ? table->Text(key) : "";
}


float
preferred_width(BButton* button)
{
	float width = 0;
	float height = 0;
	button->GetPreferredSize(&width, &height);
	return width;
}

}


TDrvCvtView::TDrvCvtView(BRect frame)
	:
	TPKNDlgView(frame, "DrvCvtView", B_FOLLOW_ALL_SIDES, B_WILL_DRAW),
	fVLT(NULL)
{
	ResizeTo(kViewWidth, kViewHeight);

	fDescription = new BStringView(BRect(10, 10, 53, 22), "StrViewDesc", "");
	AddChild(fDescription);

	fRemoveButton = new BButton(BRect(220, 120, 290, 144), "ButtonRemove", "",
		new BMessage(kMsgDrvCvtRemove));
	fTable = new BListView(BRect(kEdgeMargin, fDescription->Frame().bottom + kEdgeMargin,
		kViewWidth - kListRightRoom, fRemoveButton->Frame().top - kEdgeMargin), "LViewTable",
		B_SINGLE_SELECTION_LIST, B_FOLLOW_ALL_SIDES);
	fTable->SetSelectionMessage(new BMessage(kMsgDrvCvtTableSelected));
	AddChild(new BScrollView("ScrlViewTable", fTable, B_FOLLOW_ALL_SIDES, 0, false, true,
		B_FANCY_BORDER));
	AddChild(fRemoveButton);

	fLetterMenu = new BPopUpMenu("PopMenu", true, true);
	for (char letter = 'A'; letter <= 'Z'; letter++) {
		const char label[] = {letter, ':', '\0'};
		fLetterMenu->AddItem(new BMenuItem(label, new BMessage(kMsgDrvCvtLetterChosen)));
	}
	BMenuField* letterField = new BMenuField(BRect(10, 157, 50, 179), "MFieldWinDL", "",
		fLetterMenu);
	letterField->SetDivider(0);
	AddChild(letterField);

	fPathControl = new BTextControl(BRect(50, 158, 210, 177), "TxtCtrlBeDL", "", "", NULL);
	fPathControl->SetDivider(kPathDivider);
	AddChild(fPathControl);

	fRegisterButton = new BButton(BRect(220, 155, 290, 179), "ButtonRegist", "",
		new BMessage(kMsgDrvCvtRegister));
	AddChild(fRegisterButton);

	fSeparator = new BBox(BRect(0, 190, kViewWidth, 191), "BoxSep", B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW, B_PLAIN_BORDER);
	AddChild(fSeparator);

	fCancelButton = new BButton(BRect(135, 205, 205, 229), "ButtonCancel", "",
		new BMessage(kMsgDrvCvtCancel));
	AddChild(fCancelButton);
	fOKButton = new BButton(BRect(220, 204, 290, 228), "ButtonOK", "",
		new BMessage(kMsgDrvCvtOK));
	AddChild(fOKButton);
}


TDrvCvtView::~TDrvCvtView()
{
	_DeleteLViewItems();
}


void
TDrvCvtView::AttachedToWindow()
{
	TPKNDlgView::AttachedToWindow();
	Window()->SetDefaultButton(fOKButton);
	fTable->MakeFocus(true);
	fTable->SetTarget(this);
	for (BButton* button : {fRemoveButton, fRegisterButton, fCancelButton, fOKButton})
		button->SetTarget(this);
	fLetterMenu->SetTargetForItems(this);
	fLetterMenu->ItemAt(0)->SetMarked(true);
	MFieldWinDLChanged();
	UpdateDrvCvt();
}


void
TDrvCvtView::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgDrvCvtLetterChosen:
			MFieldWinDLChanged();
			break;
		case kMsgDrvCvtTableSelected:
			_TableSelected();
			break;
		case kMsgDrvCvtRegister:
			_Register();
			break;
		case kMsgDrvCvtRemove:
			_Remove();
			break;
		case kMsgDrvCvtOK:
			_OK();
			break;
		case kMsgDrvCvtCancel:
			_Cancel();
			break;
		default:
			TPKNDlgView::MessageReceived(message);
	}
}


// Escape cancels; every other accelerator is its button's label letter, so
// Alt+O presses OK as "O・OK" promises rather than throwing the edits away.
void
TDrvCvtView::ShortCutDown(int32 rawChar, int32 key)
{
	if (rawChar == B_ESCAPE)
		pelkan::click_button(fCancelButton);
	else
		TPKNDlgView::ShortCutDown(rawChar, key);
}


void
TDrvCvtView::SetViewLabel()
{
	BWindow* window = Window();
	if (fVLT == NULL || (window != NULL && !window->Lock()))
		return;
	fDescription->SetText(fVLT->Text("DLC_Description"));
	fRemoveButton->SetLabel(fVLT->Text("DLC_Button_Remove"));
	fRegisterButton->SetLabel(fVLT->Text("DLC_Button_Regist"));
	fCancelButton->SetLabel(fVLT->Text("Button_Cancel"));
	fOKButton->SetLabel(fVLT->Text("Button_OK"));
	_FitWidths();
	if (window != NULL)
		window->Unlock();
}


bool
TDrvCvtView::UpdateLViewTable()
{
	BWindow* window = Window();
	if (window != NULL && !window->Lock())
		return false;
	_DeleteLViewItems();
	for (char letter = 'A'; letter <= 'Z'; letter++) {
		BString path;
		if (fDrvCvt.GetBeDL(letter, &path))
			_AddLViewItem(letter, path);
	}
	if (window != NULL)
		window->Unlock();
	return true;
}


void
TDrvCvtView::UpdateDrvCvt()
{
	fDrvCvt.Load();
	UpdateLViewTable();
}


void
TDrvCvtView::Update()
{
	UpdateDrvCvt();
	SetViewLabel();
}


void
TDrvCvtView::MFieldWinDLChanged()
{
	BString path;
	const char letter = _MarkedLetter();
	if (letter == '\0' || !fDrvCvt.GetBeDL(letter, &path))
		path = "";
	fPathControl->SetText(path.String());
}


void
TDrvCvtView::_AddLViewItem(char letter, const BString& path)
{
	// "D:  <-->  /boot/home"
	const std::string text = std::string(1, letter) + ":" + kSeparator + path.String();
	fTable->AddItem(new BStringItem(text.c_str()));
}


void
TDrvCvtView::_DeleteLViewItems()
{
	std::vector<BListItem*> items;
	items.reserve(fTable->CountItems());
	for (int32 i = 0; i < fTable->CountItems(); i++)
		items.push_back(fTable->ItemAt(i));
	fTable->MakeEmpty();
	for (BListItem* item : items)
		delete item;
}


void
TDrvCvtView::_TableSelected()
{
	BStringItem* item = dynamic_cast<BStringItem*>(fTable->ItemAt(fTable->CurrentSelection()));
	if (item == NULL || item->Text() == NULL)
		return;
	BMenuItem* letterItem = fLetterMenu->ItemAt(item->Text()[0] - 'A');
	if (letterItem == NULL)
		return;
	letterItem->SetMarked(true);
	MFieldWinDLChanged();
}


void
TDrvCvtView::_Register()
{
	const char letter = _MarkedLetter();
	if (letter == '\0')
		return;
	// SetBeDL refuses what is not a letter and roots a relative path.
	if (fDrvCvt.SetBeDL(letter, BString(fPathControl->Text())))
		UpdateLViewTable();
}


void
TDrvCvtView::_Remove()
{
	BStringItem* item = dynamic_cast<BStringItem*>(fTable->ItemAt(fTable->CurrentSelection()));
	if (item == NULL || item->Text() == NULL)
		return;
	if (fDrvCvt.SetBeDL(item->Text()[0], BString()))
		UpdateLViewTable();
}


// A table that could not be saved stays in the open window with the user's
// edits, so that nothing typed is lost and OK can be tried again.
void
TDrvCvtView::_OK()
{
	const status_t status = fDrvCvt.Save();
	if (status != B_OK) {
		const std::string text = std::string(text_of(fVLT, "Err_Cannot_Save_Drv_Cvt"))
			+ TDrvCvt::TablePath();
		pelkan::show_alert(text_of(fVLT, "Alert_Caption"), text.c_str(),
			text_of(fVLT, "Button_Understand"), NULL, NULL, 0, B_WARNING_ALERT);
		return;
	}
	BMessage changed(kMsgDrvCvtChanged);
	if (TPKNDlgWin* window = dynamic_cast<TPKNDlgWin*>(Window()))
		window->Invoke(&changed);
	Window()->Hide();
}


void
TDrvCvtView::_Cancel()
{
	Window()->Hide();
	UpdateDrvCvt();
	MFieldWinDLChanged();
}


void
TDrvCvtView::_FitWidths()
{
	pelkan::adjust_strview_width(fDescription);
	float buttonWidth = kButtonWidth;
	for (BButton* button : {fRemoveButton, fRegisterButton, fCancelButton, fOKButton})
		buttonWidth = std::max(buttonWidth, preferred_width(button));
	const float width = std::max({kViewWidth, fDescription->Frame().right + kEdgeMargin,
		fPathControl->Frame().left + kPathFieldWidth + 2 * kEdgeMargin + buttonWidth});

	if (BWindow* window = Window())
		window->ResizeTo(width, window->Bounds().Height());
	else
		ResizeTo(width, Bounds().Height());

	const float buttonLeft = width - kEdgeMargin - buttonWidth;
	for (BButton* button : {fRemoveButton, fRegisterButton, fOKButton}) {
		button->MoveTo(buttonLeft, button->Frame().top);
		button->ResizeTo(buttonWidth, button->Bounds().Height());
	}
	fCancelButton->MoveTo(buttonLeft - kButtonGap - buttonWidth, fCancelButton->Frame().top);
	fCancelButton->ResizeTo(buttonWidth, fCancelButton->Bounds().Height());
	fPathControl->ResizeTo(buttonLeft - kEdgeMargin - fPathControl->Frame().left,
		fPathControl->Bounds().Height());
	// The list follows the view's sides by itself.
	fSeparator->ResizeTo(width, fSeparator->Bounds().Height());
}


char
TDrvCvtView::_MarkedLetter() const
{
	BMenuItem* item = fLetterMenu->FindMarked();
	if (item == NULL || item->Label() == NULL)
		return '\0';
	return item->Label()[0];
}
