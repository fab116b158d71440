#include "PKNDlgView.h"

#include <cctype>

#include <Button.h>
#include <CheckBox.h>
#include <InterfaceDefs.h>
#include <MenuField.h>
#include <RadioButton.h>
#include <Window.h>

#include "WindowFunctions.h"

namespace {

bool
label_matches(const char* label, int32 rawChar)
{
	return label != NULL && label[0] != '\0'
		&& std::tolower((unsigned char)label[0]) == rawChar;
}

}


TPKNDlgView::TPKNDlgView(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
	:
	TPKNView(frame, name, resizingMode, flags)
{
	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
}


TPKNDlgView::TPKNDlgView(BMessage* archive)
	:
	TPKNView(archive)
{
}


bool
TPKNDlgView::SetLanguage(pelkan::TLang /*lang*/)
{
	return true;
}


void
TPKNDlgView::ShortCutDown(int32 rawChar, int32 key)
{
	if (rawChar != B_ENTER) {
		ApplyCharShortCut(this, rawChar, key);
		return;
	}
	BWindow* window = Window();
	if (window == NULL)
		return;
	BButton* button = dynamic_cast<BButton*>(window->CurrentFocus());
	if (button == NULL)
		button = window->DefaultButton();
	pelkan::click_button(button);
}


bool
TPKNDlgView::ApplyCharShortCut(BView* parent, int32 rawChar, int32 key)
{
	if (parent == NULL)
		return false;
	for (int32 i = 0; i < parent->CountChildren(); i++) {
		BView* child = parent->ChildAt(i);
		if (BButton* button = dynamic_cast<BButton*>(child)) {
			if (label_matches(button->Label(), rawChar)) {
				pelkan::click_button(button);
				return true;
			}
		} else if (BCheckBox* box = dynamic_cast<BCheckBox*>(child)) {
			if (label_matches(box->Label(), rawChar)) {
				box->MakeFocus(true);
				box->SetValue(box->Value() == B_CONTROL_OFF ? B_CONTROL_ON : B_CONTROL_OFF);
				box->Invoke();
				return true;
			}
		} else if (BMenuField* field = dynamic_cast<BMenuField*>(child)) {
			if (label_matches(field->Label(), rawChar)) {
				field->MakeFocus(true);
				return true;
			}
		} else if (BRadioButton* radio = dynamic_cast<BRadioButton*>(child)) {
			if (label_matches(radio->Label(), rawChar)) {
				radio->MakeFocus(true);
				radio->SetValue(B_CONTROL_ON);
				radio->Invoke();
				return true;
			}
		} else if (BControl* control = dynamic_cast<BControl*>(child)) {
			if (label_matches(control->Label(), rawChar)) {
				control->MakeFocus(true);
				return true;
			}
		}
		if (ApplyCharShortCut(child, rawChar, key))
			return true;
	}
	return false;
}
