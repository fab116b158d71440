#include <string>

#include <gtest/gtest.h>

#include <Alert.h>
#include <InterfaceDefs.h>

#include "Alerts.h"
#include "GuiTest.h"

namespace {

class AlertTest : public GuiTest {
};


TEST_F(AlertTest, ShortcutsAreLabelLettersAndEscape)
{
	BAlert* alert = pelkan::new_alert("Caption", "Text", "N・いいえ", "Y・はい", NULL, 0,
		B_WARNING_ALERT);
	EXPECT_EQ(B_ESCAPE, alert->Shortcut(0));
	EXPECT_EQ('y', alert->Shortcut(1));
	EXPECT_EQ(nullptr, alert->ButtonAt(2));
	ASSERT_TRUE(alert->Lock());
	alert->Quit();

	alert = pelkan::new_alert("Caption", "Text", "OK", NULL, "Lost", -1, B_INFO_ALERT);
	EXPECT_EQ('o', alert->Shortcut(0));
	EXPECT_EQ(nullptr, alert->ButtonAt(1));
	EXPECT_EQ(nullptr, alert->ButtonAt(2)) << "a button after a missing one is left out";
	ASSERT_TRUE(alert->Lock());
	alert->Quit();
}


TEST_F(AlertTest, TheWindowIsTitledByTheCaptionWithoutItsStars)
{
	struct {
		const char* caption;
		const char* title;
	} cases[] = {{"* Vantu MIDI *", "Vantu MIDI"}, {"Plain", "Plain"}, {"**", "**"}};
	for (const auto& c : cases) {
		BAlert* alert = pelkan::new_alert(c.caption, "Text", "OK", NULL, NULL, -1,
			B_INFO_ALERT);
		EXPECT_STREQ(c.title, alert->Title()) << c.caption;
		ASSERT_TRUE(alert->Lock());
		alert->Quit();
	}
}


TEST_F(AlertTest, LetterAndEscapePressTheirButtons)
{
	// Alt is the accelerator key: the window makes Alt+Y a control
	// character in "bytes", as the original platform's Control key did.
	struct {
		int32 key;
		int32 modifiers;
		char bytes;
		int32 expected;
	} cases[] = {
		{'y', 0, 'y', 1},
		{'y', B_CONTROL_KEY, 'y' & 0x1f, 1},
		{B_ESCAPE, 0, B_ESCAPE, 0},
	};
	for (const auto& c : cases) {
		BAlert* alert = pelkan::new_alert("Caption", "Text", "N・いいえ", "Y・はい", NULL, 0,
			B_STOP_ALERT);
		BMessage key = KeyMessage(c.key, c.modifiers);
		key.ReplaceString("bytes", std::string(1, c.bytes).c_str());
		alert->PostMessage(&key, alert);
		EXPECT_EQ(c.expected, alert->Go()) << c.key << " with " << c.modifiers;
	}
}

}
