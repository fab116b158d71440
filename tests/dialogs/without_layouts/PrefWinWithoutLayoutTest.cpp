#include <gtest/gtest.h>

#include <Errors.h>

#include "AppGlobals.h"
#include "AppMessages.h"
#include "GuiTest.h"
#include "PKNApp.h"
#include "PrefWin.h"

namespace {

class PrefWinWithoutLayoutTest : public GuiTest {};


// The application quits such a window at once; until then every message it
// may get, the close box included, is harmless.
TEST_F(PrefWinWithoutLayoutTest, ReportsItAndTakesEveryMessageSafely)
{
	TPrefWin* window = new TPrefWin(BRect(50, 50, 360, 315));
	EXPECT_EQ(B_NO_INIT, window->InitCheck());
	EXPECT_EQ(nullptr, window->PrefView());
	EXPECT_EQ(&gPref, &window->ConfirmedPref());
	for (uint32 what : {(uint32)kMsgLanguageChanged, (uint32)kMsgNodeLanguageChanged,
			(uint32)'lnfd' /* a dropped language file */, (uint32)B_QUIT_REQUESTED, (uint32)B_KEY_DOWN}) {
		window->PostMessage(what);
	}
	window->Show();
	RunSteps({
		Drain(window),
		[window] {
			window->Lock();
			window->Quit();
			return true;
		},
	});
}

}  // namespace
