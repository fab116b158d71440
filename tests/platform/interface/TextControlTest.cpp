#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include <TextControl.h>
#include <TextView.h>
#include <ViewQt.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;

namespace {

const uint32 kTextMain = 'tmai';
const uint32 kTextModified = 'tsar';

class TextControlTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fRecorder = new Recorder;
		fWindow = new BWindow(BRect(50, 50, 349, 149), "text", B_TITLED_WINDOW, 0);
		fControl = new BTextControl(BRect(10, 10, 200, 30), "field", "Interval", "100",
			new BMessage(kTextMain));
		fControl->SetModificationMessage(new BMessage(kTextModified));
		fWindow->AddChild(fControl);
		fControl->SetTarget(fRecorder->Messenger());
		// Typed keys go to the focused entry.
		fControl->MakeFocus(true);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
		fRecorder->Finish();
	}

	QLineEdit* Entry() const
	{
		return static_cast<QLineEdit*>(BPrivate::native_widget(fControl->TextView()));
	}

	// A key typed into the entry, as Qt delivers it.
	void Type(int key, const QString& text)
	{
		QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
		QCoreApplication::sendEvent(Entry(), &press);
		controls_test::settle();
	}

	BWindow* fWindow = nullptr;
	BTextControl* fControl = nullptr;
	Recorder* fRecorder = nullptr;
};


TEST_F(TextControlTest, TheEntryIsTheOnlyChild)
{
	EXPECT_EQ(1, fControl->CountChildren());
	EXPECT_EQ(fControl->TextView(), fControl->ChildAt(0));
	EXPECT_EQ(fControl, fControl->TextView()->Parent());
}


TEST_F(TextControlTest, EveryUserEditSendsTheModificationMessage)
{
	Entry()->setCursorPosition(3);
	Type(Qt::Key_5, QStringLiteral("5"));
	Type(Qt::Key_Backspace, QString());
	ASSERT_TRUE(fRecorder->WaitFor(2));
	EXPECT_TRUE(fRecorder->StaysAt(2)) << "editing does not send the main message";
	for (const BMessage& message : fRecorder->Messages())
		EXPECT_EQ(kTextModified, message.what);
	EXPECT_STREQ("100", fControl->Text());
}


TEST_F(TextControlTest, EnterAfterAnEditSendsTheMessageOnce)
{
	Type(Qt::Key_Return, QString());
	EXPECT_TRUE(fRecorder->StaysAt(0)) << "Enter without an edit sends nothing";
	Type(Qt::Key_7, QStringLiteral("7"));
	Type(Qt::Key_Return, QString());
	ASSERT_TRUE(fRecorder->WaitFor(2));
	EXPECT_EQ(kTextModified, fRecorder->Messages()[0].what);
	EXPECT_EQ(kTextMain, fRecorder->Messages()[1].what);
	Type(Qt::Key_Return, QString());
	EXPECT_TRUE(fRecorder->StaysAt(2));
}


TEST_F(TextControlTest, TextFromCodeSendsNothing)
{
	fWindow->Lock();
	fControl->SetText("250");
	fWindow->Unlock();
	Type(Qt::Key_Return, QString());
	EXPECT_TRUE(fRecorder->StaysAt(0));
	EXPECT_STREQ("250", fControl->Text());
}


TEST_F(TextControlTest, DividerPlacesTheEntryAndAlignmentReachesIt)
{
	fWindow->Lock();
	fControl->SetDivider(60);
	fControl->SetAlignment(B_ALIGN_LEFT, B_ALIGN_RIGHT);
	fWindow->Unlock();
	EXPECT_EQ(60, fControl->TextView()->Frame().left);
	EXPECT_EQ(fControl->Bounds().right, fControl->TextView()->Frame().right);
	alignment label;
	alignment text;
	fControl->GetAlignment(&label, &text);
	EXPECT_EQ(B_ALIGN_LEFT, label);
	EXPECT_EQ(B_ALIGN_RIGHT, text);
	EXPECT_TRUE(Entry()->alignment() & Qt::AlignRight);
}


// The entry ends at the field's right edge whatever happened to its width:
// a divider placed past the edge, or a field narrowed past its divider, left
// the entry's edge behind, and a later widening pushed the entry (and a
// right-aligned number in it) past the field's edge, out of sight.
TEST_F(TextControlTest, TheEntryEndsAtTheFieldsEdgeAfterItWasSqueezed)
{
	struct Case {
		const char* what;
		float divider;
		float squeezedWidth;
		float finalWidth;
	};
	const Case cases[] = {
		{"divider past the edge, then widened", 250, 190, 310},
		{"narrowed past the divider, then widened", 60, 40, 200},
		{"narrowed far past the divider, then widened just past it", 60, 20, 70},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		fWindow->Lock();
		fControl->ResizeTo(190, 20);
		fControl->SetDivider(c.divider);
		fControl->ResizeTo(c.squeezedWidth, 20);
		const QRect squeezed = BPrivate::view_widget(fControl->TextView())->geometry();
		fControl->ResizeTo(c.finalWidth, 20);
		fWindow->Unlock();
		EXPECT_TRUE(squeezed.isEmpty()) << "no room, no entry";
		const BRect entry = fControl->TextView()->Frame();
		EXPECT_EQ(c.divider, entry.left);
		EXPECT_EQ(fControl->Bounds().right, entry.right);
		EXPECT_EQ(QRect(int(c.divider), 0, int(c.finalWidth - c.divider) + 1, 21),
			BPrivate::view_widget(fControl->TextView())->geometry());
	}
}

}
