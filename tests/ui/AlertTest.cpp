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


TEST_F(AlertTest, LetterAndEscapePressTheirButtons)
{
	struct {
		int32 key;
		int32 expected;
	} cases[] = {{'y', 1}, {B_ESCAPE, 0}};
	for (const auto& c : cases) {
		BAlert* alert = pelkan::new_alert("Caption", "Text", "N・いいえ", "Y・はい", NULL, 0,
			B_STOP_ALERT);
		BMessage key = KeyMessage(c.key, 0);
		alert->PostMessage(&key, alert);
		EXPECT_EQ(c.expected, alert->Go()) << c.key;
	}
}

}
