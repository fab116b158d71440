#include <map>
#include <vector>

#include <gtest/gtest.h>

#include <Box.h>
#include <Button.h>
#include <CheckBox.h>
#include <InterfaceDefs.h>
#include <InterfaceKit.h>
#include <Looper.h>
#include <RadioButton.h>
#include <TextControl.h>

#include "../support/RecordingLooper.h"
#include "GuiTest.h"
#include "PKNDlgView.h"
#include "PKNDlgWin.h"

namespace {

const uint32 kMsgYes = 'yes_';
const uint32 kMsgNo = 'no__';
const uint32 kMsgOk = 'ok__';
const uint32 kMsgSend = 'send';
const uint32 kMsgRadio = 'radi';


// A dialog view that also writes down the keys it is given.
class KeyView : public TPKNDlgView {
public:
	KeyView() : TPKNDlgView(BRect(0, 0, 299, 199), "dialog", B_FOLLOW_ALL, B_WILL_DRAW) {}

	void ShortCutDown(int32 rawChar, int32 key) override
	{
		fKeys.push_back(rawChar);
		TPKNDlgView::ShortCutDown(rawChar, key);
	}

	std::vector<int32> fKeys;
};


// Counts the messages the dialog's controls send it.
class CountingDialog : public TPKNDlgWin {
public:
	CountingDialog()
		: TPKNDlgWin(BRect(50, 50, 349, 249), "DlgWin", B_TITLED_WINDOW, B_NOT_RESIZABLE) {}

	void MessageReceived(BMessage* message) override
	{
		fCounts[message->what]++;
		TPKNDlgWin::MessageReceived(message);
	}

	std::map<uint32, int32> fCounts;
};


class DialogTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fDialog = new CountingDialog;
		fView = new KeyView;
		fDialog->AddMainChild(fView);
		fYes = new BButton(BRect(10, 10, 90, 35), "yes", "Y・はい", new BMessage(kMsgYes));
		fNo = new BButton(BRect(100, 10, 190, 35), "no", "N・いいえ", new BMessage(kMsgNo));
		fOk = new BButton(BRect(200, 10, 280, 35), "ok", "OK", new BMessage(kMsgOk));
		fText = new BTextControl(BRect(10, 50, 280, 70), "text", "Text", "", NULL);
		// The check box sits inside a box, so the search has to go down.
		BBox* box = new BBox(BRect(10, 80, 280, 150), "box");
		fSend = new BCheckBox(BRect(5, 5, 250, 25), "send", "S - send resets",
			new BMessage(kMsgSend));
		fRadio = new BRadioButton(BRect(5, 30, 250, 50), "radio", "R - radio",
			new BMessage(kMsgRadio));
		box->AddChild(fSend);
		box->AddChild(fRadio);
		fView->AddChild(fYes);
		fView->AddChild(fNo);
		fView->AddChild(fOk);
		fView->AddChild(fText);
		fView->AddChild(box);
		fDialog->SetDefaultButton(fOk);
		fDialog->Show();
	}

	// A key typed while `focus` has the focus.
	void Type(BView* focus, int32 rawChar, int32 modifiers)
	{
		BMessage key = KeyMessage(rawChar, modifiers);
		fDialog->PostMessage(&key, focus);
	}

	int32 Count(uint32 what) { return fDialog->fCounts[what]; }

	CountingDialog* fDialog = nullptr;
	KeyView* fView = nullptr;
	BButton* fYes = nullptr;
	BButton* fNo = nullptr;
	BButton* fOk = nullptr;
	BTextControl* fText = nullptr;
	BCheckBox* fSend = nullptr;
	BRadioButton* fRadio = nullptr;
};


TEST_F(DialogTest, ControlLetterClicksTheButtonOfThatAccelerator)
{
	RunSteps({
		[&] { Type(fText->ChildAt(0), 'y', B_CONTROL_KEY); return true; },
		[&] { return Count(kMsgYes) > 0; },
		Settle(),
	});
	EXPECT_EQ(1, Count(kMsgYes));
	EXPECT_EQ(0, Count(kMsgNo));
	EXPECT_EQ(0, fYes->Value()) << "the button is released after the click";
}


TEST_F(DialogTest, ControlLetterWithoutAControlDoesNothing)
{
	RunSteps({
		[&] { Type(fText->ChildAt(0), 'q', B_CONTROL_KEY); return true; },
		[&] { return !fView->fKeys.empty(); },
		Settle(),
	});
	EXPECT_EQ(std::vector<int32>{'q'}, fView->fKeys);
	EXPECT_EQ(0, Count(kMsgYes) + Count(kMsgNo) + Count(kMsgOk) + Count(kMsgSend));
}


TEST_F(DialogTest, PlainLetterStaysWithTheFocusedField)
{
	RunSteps({
		[&] { Type(fText->ChildAt(0), 'y', 0); return true; },
		Settle(),
	});
	EXPECT_TRUE(fView->fKeys.empty());
	EXPECT_EQ(0, Count(kMsgYes));
}


TEST_F(DialogTest, EnterClicksTheFocusedButtonOnce)
{
	RunSteps({
		[&] {
			fNo->Window()->Lock();
			fNo->MakeFocus(true);
			fNo->Window()->Unlock();
			Type(fNo, B_ENTER, 0);
			return true;
		},
		[&] { return Count(kMsgNo) > 0; },
		Settle(),
	});
	EXPECT_EQ(1, Count(kMsgNo));
	EXPECT_EQ(0, Count(kMsgOk));
}


TEST_F(DialogTest, EnterElsewhereClicksTheDefaultButtonOnce)
{
	RunSteps({
		[&] {
			fText->Window()->Lock();
			fText->MakeFocus(true);
			fText->Window()->Unlock();
			Type(fText->ChildAt(0), B_ENTER, 0);
			return true;
		},
		[&] { return Count(kMsgOk) > 0; },
		Settle(),
	});
	EXPECT_EQ(1, Count(kMsgOk));
	EXPECT_EQ(0, Count(kMsgNo));
}


TEST_F(DialogTest, EscapeReachesTheDialogViewFromAnyControl)
{
	RunSteps({
		[&] { Type(fSend, B_ESCAPE, 0); return true; },
		[&] { return !fView->fKeys.empty(); },
		Settle(),
	});
	EXPECT_EQ(std::vector<int32>{B_ESCAPE}, fView->fKeys);
	EXPECT_EQ(0, Count(kMsgYes) + Count(kMsgNo) + Count(kMsgOk));
}


TEST_F(DialogTest, CheckBoxAcceleratorTogglesAndSendsLikeAClick)
{
	RunSteps({
		[&] { Type(fText->ChildAt(0), 's', B_CONTROL_KEY); return true; },
		[&] { return Count(kMsgSend) > 0; },
		Settle(),
		[&] { Type(fText->ChildAt(0), 's', B_CONTROL_KEY); return true; },
		[&] { return Count(kMsgSend) > 1; },
		Settle(),
	});
	EXPECT_EQ(2, Count(kMsgSend));
	EXPECT_EQ(B_CONTROL_OFF, fSend->Value()) << "toggled on, then off again";
}


TEST_F(DialogTest, RadioAcceleratorSetsAndSends)
{
	RunSteps({
		[&] { Type(fOk, 'r', B_CONTROL_KEY); return true; },
		[&] { return Count(kMsgRadio) > 0; },
		Settle(),
	});
	EXPECT_EQ(1, Count(kMsgRadio));
	EXPECT_EQ(B_CONTROL_ON, fRadio->Value());
	EXPECT_TRUE(fRadio->IsFocus());
}


TEST_F(DialogTest, CloseBoxOnlyHidesTheProgramQuitEnds)
{
	RunSteps({
		[&] { fDialog->PostMessage(B_QUIT_REQUESTED); return true; },
		[&] { return fDialog->IsHidden(); },
		Settle(),
	});
	EXPECT_TRUE(fDialog->IsHidden());
	EXPECT_EQ(B_LOW_PRIORITY, BPrivate::window_priority(fDialog));
	ASSERT_TRUE(fDialog->Lock());
	EXPECT_TRUE(fDialog->QuitRequested()) << "no current message: the program quits";
	fDialog->Unlock();
}


TEST_F(DialogTest, AppearShowsAHiddenWindow)
{
	fDialog->Hide();
	ASSERT_TRUE(fDialog->IsHidden());
	fDialog->Appear();
	EXPECT_FALSE(fDialog->IsHidden());
	EXPECT_EQ(B_DISPLAY_PRIORITY, BPrivate::window_priority(fDialog));
	fDialog->Appear();
	EXPECT_FALSE(fDialog->IsHidden()) << "a shown window stays shown";
}


TEST_F(DialogTest, InvokeSendsTheDefaultMessageToTheTarget)
{
	EXPECT_EQ(B_NO_INIT, fDialog->Invoke());
	RecordingLooper* recorder = new RecordingLooper;
	recorder->Run();
	fDialog->SetTarget(recorder);
	ASSERT_EQ(B_OK, fDialog->SetMessage(new BMessage('chng')));
	EXPECT_EQ(B_OK, fDialog->Invoke());
	std::vector<BMessage> received = recorder->Drain();
	ASSERT_EQ(1u, received.size());
	EXPECT_EQ((uint32)'chng', received[0].what);
	recorder->Finish();
}


TEST(DialogWindow, SetMessageNeedsADialogView)
{
	static int argc = 1;
	static char name[] = "ui_tests";
	static char* argv[] = {name, nullptr};
	BPrivate::init_interface_kit(argc, argv);
	TPKNDlgWin* dialog = new TPKNDlgWin(BRect(0, 0, 99, 99), "Dlg", B_TITLED_WINDOW, 0);
	BMessage* message = new BMessage('chng');
	EXPECT_EQ(B_NO_INIT, dialog->SetMessage(message));
	EXPECT_EQ(nullptr, dialog->Message());
	delete message;
	dialog->AddMainChild(new TPKNView(BRect(0, 0, 99, 99), "plain", B_FOLLOW_ALL, 0));
	EXPECT_EQ(nullptr, dialog->DialogView()) << "a plain main view is no dialog view";
	EXPECT_EQ(B_NO_INIT, dialog->SetMessage(message = new BMessage('chng')));
	delete message;
	ASSERT_TRUE(dialog->Lock());
	dialog->Quit();
}

}
