#ifndef WIDTH_ADJUST_H
#define WIDTH_ADJUST_H

class BButton;
class BCheckBox;
class BMenuField;
class BRadioButton;
class BStringView;
class BTextControl;

namespace pelkan {

// Each makes a control exactly as wide as its label needs in the control's
// font (the width taken up to a whole pixel, plus the room for the box or
// gap); the height stays. For text controls and menu fields the divider
// between label and field moves instead of the width.
void adjust_strview_width(BStringView* view);
void adjust_cbox_width(BCheckBox* box);
void adjust_rbutton_width(BRadioButton* button);
void adjust_txtctrl_width(BTextControl* control);
void adjust_mfield_width(BMenuField* field);
// The button's own preferred width, up to a whole pixel.
void adjust_button_width(BButton* button);

}

#endif
