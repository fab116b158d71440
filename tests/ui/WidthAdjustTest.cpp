#include <cmath>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <Button.h>
#include <CheckBox.h>
#include <Menu.h>
#include <MenuField.h>
#include <RadioButton.h>
#include <StringView.h>
#include <TextControl.h>
#include <Window.h>

#include "GuiTest.h"
#include "WidthAdjust.h"

namespace {

// Labels whose width in the test font is not a whole number of pixels, and
// a font size other than the default, so that a wrong font shows.
const char* const kLabels[] = {"S・送信する", "iii", "Wide label with room", ""};
const float kFontSize = 17.0f;
const BRect kFrame(10, 10, 59, 33);


class WidthAdjustTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fWindow = new BWindow(BRect(50, 50, 649, 249), "Widths", B_TITLED_WINDOW, 0);
		fWindow->Lock();
	}

	void TearDown() override
	{
		fWindow->Unlock();
		GuiTest::TearDown();
	}

	// Attaches the control in the test font.
	template<typename T> T* Attach(T* control)
	{
		control->SetFontSize(kFontSize);
		fWindow->AddChild(control);
		return control;
	}

	BWindow* fWindow = nullptr;
};


float
label_width(const BView* view, const char* label)
{
	return std::ceil(view->StringWidth(label));
}


TEST_F(WidthAdjustTest, ViewsBecomeAsWideAsTheirLabels)
{
	struct Case {
		const char* name;
		std::function<BView*(const char*)> make;
		std::function<void(BView*)> adjust;
		float allowance;
	};
	const Case cases[] = {
		{"string view",
			[](const char* label) { return new BStringView(kFrame, "s", label); },
			[](BView* v) { pelkan::adjust_strview_width(static_cast<BStringView*>(v)); }, 2},
		{"check box",
			[](const char* label) { return new BCheckBox(kFrame, "c", label, NULL); },
			[](BView* v) { pelkan::adjust_cbox_width(static_cast<BCheckBox*>(v)); }, 22},
		{"radio button",
			[](const char* label) { return new BRadioButton(kFrame, "r", label, NULL); },
			[](BView* v) { pelkan::adjust_rbutton_width(static_cast<BRadioButton*>(v)); }, 22},
	};
	for (const Case& c : cases) {
		for (const char* label : kLabels) {
			SCOPED_TRACE(std::string(c.name) + " \"" + label + "\"");
			BView* view = Attach(c.make(label));
			c.adjust(view);
			EXPECT_EQ(label_width(view, label) + c.allowance, view->Bounds().Width());
			EXPECT_EQ(kFrame.Height(), view->Bounds().Height());
			EXPECT_EQ(kFrame.LeftTop(), view->Frame().LeftTop());
			view->RemoveSelf();
			delete view;
		}
	}
}


TEST_F(WidthAdjustTest, LabelledFieldsMoveTheirDivider)
{
	const BRect frame(10, 10, 309, 33);
	struct Case {
		const char* name;
		std::function<BView*(const char*)> make;
		std::function<float(BView*)> adjust;
	};
	const Case cases[] = {
		{"text control",
			[&](const char* label) { return new BTextControl(frame, "t", label, "text", NULL); },
			[](BView* v) {
				BTextControl* control = static_cast<BTextControl*>(v);
				control->SetDivider(150);
				pelkan::adjust_txtctrl_width(control);
				return control->Divider();
			}},
		{"menu field",
			[&](const char* label) { return new BMenuField(frame, "m", label, new BMenu("menu")); },
			[](BView* v) {
				BMenuField* field = static_cast<BMenuField*>(v);
				field->SetDivider(150);
				pelkan::adjust_mfield_width(field);
				return field->Divider();
			}},
	};
	for (const Case& c : cases) {
		for (const char* label : kLabels) {
			SCOPED_TRACE(std::string(c.name) + " \"" + label + "\"");
			BView* view = Attach(c.make(label));
			EXPECT_EQ(label_width(view, label) + 2, c.adjust(view));
			EXPECT_EQ(frame, view->Frame()) << "the control keeps its size";
			view->RemoveSelf();
			delete view;
		}
	}
}


TEST_F(WidthAdjustTest, ButtonTakesItsPreferredWidth)
{
	for (const char* label : kLabels) {
		SCOPED_TRACE(label);
		BButton* button = Attach(new BButton(BRect(10, 10, 300, 40), "b", label, NULL));
		float width = 0;
		float height = 0;
		button->GetPreferredSize(&width, &height);
		pelkan::adjust_button_width(button);
		EXPECT_EQ(std::ceil(width), button->Bounds().Width());
		EXPECT_EQ(30, button->Bounds().Height());
		button->RemoveSelf();
		delete button;
	}
}

}
