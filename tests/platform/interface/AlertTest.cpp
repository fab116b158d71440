#include <string>

#include <gtest/gtest.h>

#include <QTimer>

#include <Alert.h>
#include <Button.h>
#include <Invoker.h>
#include <TextView.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;

namespace {

void
post_key(BLooper* looper, char key)
{
	BMessage message(B_KEY_DOWN);
	const char bytes[2] = {key, '\0'};
	message.AddString("bytes", bytes);
	message.AddInt32("raw_char", (unsigned char)key);
	message.AddInt32("key", 0);
	message.AddInt32("modifiers", 0);
	looper->PostMessage(&message);
}


// Go() with the keys already waiting for the alert. A watchdog presses the
// first button if the alert is still up after a few seconds.
int32
go_with_keys(BAlert* alert, const std::string& keys)
{
	for (char key : keys)
		post_key(alert, key);
	QTimer watchdog;
	watchdog.setSingleShot(true);
	QObject::connect(&watchdog, &QTimer::timeout, [alert]() {
		ADD_FAILURE() << "the alert did not close";
		alert->ButtonAt(0)->Invoke();
	});
	watchdog.start(5000);
	return alert->Go();
}


BAlert*
three_buttons()
{
	return new BAlert("Title", "Save the list?\n\nIt has changed.", "Cancel", "Don't save",
		"Save", B_WIDTH_AS_USUAL, B_WARNING_ALERT);
}


class AlertTest : public ::testing::Test {
protected:
	void SetUp() override { controls_test::init_gui(); }
};


TEST_F(AlertTest, ButtonsStayInTheGivenOrderLeftToRight)
{
	BAlert* alert = three_buttons();
	EXPECT_STREQ("Cancel", alert->ButtonAt(0)->Label());
	EXPECT_STREQ("Don't save", alert->ButtonAt(1)->Label());
	EXPECT_STREQ("Save", alert->ButtonAt(2)->Label());
	EXPECT_EQ(nullptr, alert->ButtonAt(3));
	EXPECT_LT(alert->ButtonAt(0)->Frame().right, alert->ButtonAt(1)->Frame().left);
	EXPECT_LT(alert->ButtonAt(1)->Frame().right, alert->ButtonAt(2)->Frame().left);
	EXPECT_TRUE(alert->ButtonAt(2)->IsDefault());
	EXPECT_STREQ("Save the list?\n\nIt has changed.", alert->TextView()->Text());
	EXPECT_EQ(2, go_with_keys(alert, "\n"));
}


TEST_F(AlertTest, KeysChooseButtons)
{
	struct Case {
		const char* name;
		std::string keys;
		int32 expected;
	};
	const Case cases[] = {
		{"Enter presses the rightmost button", "\n", 2},
		{"a shortcut letter", "d", 1},
		{"a shortcut letter typed in upper case", "C", 0},
		{"Escape without a shortcut does nothing", "\x1bs", 2},
		{"other keys do nothing", "xyz\n", 2},
	};
	for (const Case& testCase : cases) {
		SCOPED_TRACE(testCase.name);
		BAlert* alert = three_buttons();
		alert->SetShortcut(0, 'c');
		alert->SetShortcut(1, 'd');
		alert->SetShortcut(2, 's');
		EXPECT_EQ(testCase.expected, go_with_keys(alert, testCase.keys));
	}
}


TEST_F(AlertTest, EscapeOnlyThroughItsShortcut)
{
	BAlert* alert = three_buttons();
	alert->SetShortcut(0, B_ESCAPE);
	EXPECT_EQ(0, go_with_keys(alert, "\x1b"));

	BAlert* single = new BAlert("Title", "Done.", "OK");
	EXPECT_EQ(0, go_with_keys(single, "\x1b\n"));
}


TEST_F(AlertTest, GoInsideAWindowsHandler)
{
	// The alert runs while the window is busy with its message; the window
	// gets its answer when Go returns.
	class Asker : public BWindow {
	public:
		Asker() : BWindow(BRect(10, 10, 109, 109), "asker", B_TITLED_WINDOW, 0) {}
		void MessageReceived(BMessage* message) override
		{
			if (message->what != 'ask_') {
				BWindow::MessageReceived(message);
				return;
			}
			BAlert* alert = three_buttons();
			alert->SetShortcut(1, 'd');
			answer = go_with_keys(alert, "d");
		}
		int32 answer = -1;
	};
	Asker* window = new Asker;
	window->Show();
	window->PostMessage('ask_');
	EXPECT_TRUE(controls_test::pump_until([window]() { return window->answer >= 0; }));
	EXPECT_EQ(1, window->answer);
	if (window->Lock())
		window->Quit();
}


TEST_F(AlertTest, AsynchronousGoSendsTheIndex)
{
	Recorder* recorder = new Recorder;
	BAlert* alert = three_buttons();
	alert->SetShortcut(0, 'c');
	ASSERT_EQ(B_OK, alert->Go(new BInvoker(new BMessage('answ'), recorder->Messenger())));
	post_key(alert, 'c');
	ASSERT_TRUE(recorder->WaitFor(1));
	const BMessage answer = recorder->Messages()[0];
	EXPECT_EQ('answ', answer.what);
	EXPECT_EQ(0, controls_test::int32_of(answer, "which"));
	recorder->Finish();
}

}
