#include <gtest/gtest.h>

#include <Errors.h>
#include <VLT.h>

#include "AboutWin.h"
#include "AppMessages.h"
#include "GuiTest.h"

namespace {

class AboutWinWithoutLayoutTest : public GuiTest {};


// The application quits such a window at once; until then every call and
// message it may get is harmless.
TEST_F(AboutWinWithoutLayoutTest, ReportsItAndTakesEveryCallSafely)
{
	TAboutWin* window = new TAboutWin(BRect(50, 50, 370, 500));
	EXPECT_EQ(B_NO_INIT, window->InitCheck());
	EXPECT_EQ(nullptr, window->AboutView());
	TVLT table;
	EXPECT_EQ(0, window->SetVLTRef(&table));
	EXPECT_TRUE(window->SetAppInfo("Name", "Ver 1", "Author"));
	window->PostMessage(kMsgNodeLanguageChanged);
	window->PostMessage(kMsgLoaderFolderChanged);
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
