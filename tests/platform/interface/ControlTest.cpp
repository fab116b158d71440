#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <QAbstractButton>

#include <Box.h>
#include <Button.h>
#include <CheckBox.h>
#include <RadioButton.h>
#include <Slider.h>
#include <TextControl.h>
#include <ViewQt.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;

namespace {

const uint32 kControlMessage = 'ctlm';

class ControlTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fRecorder = new Recorder;
		fWindow = new BWindow(BRect(50, 50, 449, 349), "controls", B_TITLED_WINDOW,
			B_ASYNCHRONOUS_CONTROLS);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
		fRecorder->Finish();
	}

	// Puts the control in the window (or `parent`) and points it at the
	// recorder.
	template<typename Control>
	Control* Add(Control* control, BView* parent = nullptr)
	{
		fWindow->Lock();
		if (parent != nullptr)
			parent->AddChild(control);
		else
			fWindow->AddChild(control);
		control->SetTarget(fRecorder->Messenger());
		fWindow->Unlock();
		return control;
	}

	static void Click(BControl* control)
	{
		static_cast<QAbstractButton*>(BPrivate::native_widget(control))->click();
	}

	BWindow* fWindow = nullptr;
	Recorder* fRecorder = nullptr;
};


struct ControlCase {
	const char* name;
	std::function<BControl*()> make;
	std::function<void(BControl*)> changeFromCode;
};


BRect
frame()
{
	return BRect(10, 10, 160, 30);
}


const ControlCase kQuietCases[] = {
	{"button pressed and released", [] {
		return new BButton(frame(), "button", "Press", new BMessage(kControlMessage));
	}, [](BControl* control) {
		control->SetValue(B_CONTROL_ON);
		control->SetValue(B_CONTROL_OFF);
		control->SetLabel("Pressed & held");
	}},
	{"check box ticked", [] {
		return new BCheckBox(frame(), "check", "Tick", new BMessage(kControlMessage));
	}, [](BControl* control) {
		control->SetValue(B_CONTROL_ON);
		control->SetEnabled(false);
	}},
	{"radio button turned on", [] {
		return new BRadioButton(frame(), "radio", "Pick", new BMessage(kControlMessage));
	}, [](BControl* control) { control->SetValue(B_CONTROL_ON); }},
	{"slider moved", [] {
		return new BSlider(frame(), "slider", "", new BMessage(kControlMessage), 0, 100);
	}, [](BControl* control) {
		static_cast<BSlider*>(control)->SetModificationMessage(new BMessage('modi'));
		control->SetValue(40);
		static_cast<BSlider*>(control)->SetPosition(0.9f);
	}},
	{"text control given a text", [] {
		return new BTextControl(frame(), "text", "Name", "old", new BMessage(kControlMessage));
	}, [](BControl* control) {
		static_cast<BTextControl*>(control)->SetModificationMessage(new BMessage('modi'));
		static_cast<BTextControl*>(control)->SetText("new text");
	}},
};


TEST_F(ControlTest, ChangesFromCodeSendNothing)
{
	for (const ControlCase& testCase : kQuietCases) {
		SCOPED_TRACE(testCase.name);
		const size_t before = fRecorder->Count();
		BControl* control = Add(testCase.make());
		fWindow->Lock();
		testCase.changeFromCode(control);
		fWindow->Unlock();
		EXPECT_TRUE(fRecorder->StaysAt(before));
	}
}


TEST_F(ControlTest, InvokeSendsTheMessageWithValueAndSource)
{
	for (const ControlCase& testCase : kQuietCases) {
		SCOPED_TRACE(testCase.name);
		const size_t before = fRecorder->Count();
		BControl* control = Add(testCase.make());
		fWindow->Lock();
		testCase.changeFromCode(control);
		const int32 value = control->Value();
		EXPECT_EQ(B_OK, control->Invoke());
		fWindow->Unlock();
		ASSERT_TRUE(fRecorder->WaitFor(before + 1));
		const BMessage message = fRecorder->Messages()[before];
		EXPECT_EQ(kControlMessage, message.what);
		EXPECT_EQ(value, controls_test::int32_of(message, "be:value"));
		void* source = nullptr;
		EXPECT_EQ(B_OK, message.FindPointer("source", &source));
		EXPECT_EQ(control, source);
	}
}


TEST_F(ControlTest, ClicksSendTheMessageWithTheNewValue)
{
	BButton* button = Add(new BButton(frame(), "button", "Go", new BMessage('bttn')));
	BCheckBox* check = Add(new BCheckBox(frame(), "check", "On", new BMessage('chck')));
	Click(button);
	Click(check);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	std::vector<BMessage> messages = fRecorder->Messages();
	EXPECT_EQ('bttn', messages[0].what);
	EXPECT_EQ('chck', messages[1].what);
	EXPECT_EQ(B_CONTROL_ON, controls_test::int32_of(messages[1], "be:value"));
	EXPECT_EQ(B_CONTROL_ON, check->Value());

	Click(check);
	ASSERT_TRUE(fRecorder->WaitFor(3));
	EXPECT_EQ(B_CONTROL_OFF, controls_test::int32_of(fRecorder->Messages()[2], "be:value"));
	EXPECT_EQ(B_CONTROL_OFF, check->Value());
	EXPECT_TRUE(fRecorder->StaysAt(3));
}


TEST_F(ControlTest, DisabledControlsIgnoreClicks)
{
	BCheckBox* check = Add(new BCheckBox(frame(), "check", "On", new BMessage('chck')));
	fWindow->Lock();
	check->SetEnabled(false);
	fWindow->Unlock();
	Click(check);
	EXPECT_TRUE(fRecorder->StaysAt(0));
	EXPECT_EQ(B_CONTROL_OFF, check->Value());
}


TEST_F(ControlTest, RadioButtonsSharingAParentAreExclusive)
{
	fWindow->Lock();
	BBox* groupA = new BBox(BRect(0, 0, 190, 120), "a");
	BBox* groupB = new BBox(BRect(200, 0, 390, 120), "b");
	fWindow->AddChild(groupA);
	fWindow->AddChild(groupB);
	fWindow->Unlock();
	BRadioButton* a[3];
	for (int32 i = 0; i < 3; i++) {
		BMessage* message = new BMessage('rad0' + i);
		a[i] = Add(new BRadioButton(BRect(5, 5 + 25 * i, 180, 25 + 25 * i),
			"radio", "choice", message), groupA);
	}
	BRadioButton* other = Add(new BRadioButton(BRect(5, 5, 180, 25), "other", "other",
		new BMessage('othr')), groupB);

	fWindow->Lock();
	other->SetValue(B_CONTROL_ON);
	a[0]->SetValue(B_CONTROL_ON);
	a[1]->SetValue(B_CONTROL_ON);
	fWindow->Unlock();
	EXPECT_EQ(B_CONTROL_OFF, a[0]->Value());
	EXPECT_EQ(B_CONTROL_ON, a[1]->Value());
	EXPECT_EQ(B_CONTROL_ON, other->Value());
	EXPECT_TRUE(fRecorder->StaysAt(0));

	Click(a[2]);
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ('rad2', fRecorder->Messages()[0].what);
	EXPECT_EQ(B_CONTROL_OFF, a[1]->Value());
	EXPECT_EQ(B_CONTROL_ON, a[2]->Value());
	EXPECT_EQ(B_CONTROL_ON, other->Value());
	EXPECT_FALSE(static_cast<QAbstractButton*>(BPrivate::native_widget(a[1]))->isChecked());

	// A click on the button that is already on keeps it on.
	Click(a[2]);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	EXPECT_EQ(B_CONTROL_ON, a[2]->Value());
	EXPECT_TRUE(static_cast<QAbstractButton*>(BPrivate::native_widget(a[2]))->isChecked());
}


TEST_F(ControlTest, ControlWithoutTargetReportsToItsWindow)
{
	fWindow->Lock();
	BButton* button = new BButton(frame(), "button", "Go", new BMessage('bttn'));
	fWindow->AddChild(button);
	fWindow->Unlock();
	BLooper* looper = nullptr;
	button->Target(&looper);
	EXPECT_EQ(fWindow, looper);
}


TEST_F(ControlTest, ArchivedControlsComeBackWithLabelValueAndMessage)
{
	BCheckBox original(frame(), "CBoxGM", "GM", new BMessage('cgm_'));
	original.SetValue(B_CONTROL_ON);
	original.SetEnabled(false);
	BMessage archive;
	ASSERT_EQ(B_OK, original.Archive(&archive));
	BCheckBox* copy = dynamic_cast<BCheckBox*>(instantiate_object(&archive));
	ASSERT_NE(nullptr, copy);
	EXPECT_STREQ("GM", copy->Label());
	EXPECT_STREQ("CBoxGM", copy->Name());
	EXPECT_EQ(B_CONTROL_ON, copy->Value());
	EXPECT_FALSE(copy->IsEnabled());
	ASSERT_NE(nullptr, copy->Message());
	EXPECT_EQ('cgm_', copy->Message()->what);
	delete copy;
}

}
