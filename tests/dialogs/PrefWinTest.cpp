#include <gtest/gtest.h>

#include <Errors.h>

#include "GuiTest.h"
#include "PrefWin.h"

namespace {

class PrefWinTest : public GuiTest {};


TEST_F(PrefWinTest, AWindowWithoutItsViewReportsItAndQuitsSafely)
{
	TPrefWin* window = new TPrefWin(BRect(50, 50, 360, 315));
	EXPECT_NE(window->InitCheck(), B_OK);
	window->Lock();
	window->Quit();
}

}  // namespace
