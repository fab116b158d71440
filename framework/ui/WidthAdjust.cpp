#include "WidthAdjust.h"

#include <cmath>

#include <Button.h>
#include <CheckBox.h>
#include <MenuField.h>
#include <RadioButton.h>
#include <StringView.h>
#include <TextControl.h>

namespace pelkan {

namespace {

// The mark of a check box or radio button and the gap after it.
const float kMarkAllowance = 20.0f;
const float kTextAllowance = 2.0f;


float
label_width(const BView* view, const char* label)
{
	return std::ceil(view->StringWidth(label != NULL ? label : ""));
}


void
set_width(BView* view, float width)
{
	view->ResizeTo(width, view->Bounds().Height());
}

}


void
adjust_strview_width(BStringView* view)
{
	if (view != NULL)
		set_width(view, label_width(view, view->Text()) + kTextAllowance);
}


void
adjust_cbox_width(BCheckBox* box)
{
	if (box != NULL)
		set_width(box, label_width(box, box->Label()) + kMarkAllowance + kTextAllowance);
}


void
adjust_rbutton_width(BRadioButton* button)
{
	if (button != NULL) {
		set_width(button, label_width(button, button->Label()) + kMarkAllowance
			+ kTextAllowance);
	}
}


void
adjust_txtctrl_width(BTextControl* control)
{
	if (control != NULL)
		control->SetDivider(label_width(control, control->Label()) + kTextAllowance);
}


void
adjust_mfield_width(BMenuField* field)
{
	if (field != NULL)
		field->SetDivider(label_width(field, field->Label()) + kTextAllowance);
}


void
adjust_button_width(BButton* button)
{
	if (button == NULL)
		return;
	float width = 0;
	float height = 0;
	button->GetPreferredSize(&width, &height);
	set_width(button, std::ceil(width));
}

}
