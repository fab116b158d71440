#include "WindowFunctions.h"

#include <cstring>
#include <string>

#include <Button.h>
#include <FilePanel.h>
#include <InterfaceKit.h>
#include <OS.h>
#include <Screen.h>
#include <Window.h>

namespace pelkan {

namespace {

const float kScreenMargin = 5.0f;
const float kTabHeight = 24.0f;
const bigtime_t kButtonPressTime = 50000;

}


void
move_window_into_screen(BWindow* window)
{
	if (window == NULL)
		return;
	const BRect screen = BScreen(B_MAIN_SCREEN_ID).Frame();
	const BRect frame = window->Frame();

	float x = frame.left;
	if (frame.right > screen.right - kScreenMargin)
		x = screen.right - frame.Width() - kScreenMargin;
	if (x < screen.left + kScreenMargin)
		x = screen.left + kScreenMargin;

	float y = frame.top;
	if (frame.bottom >= screen.bottom - kScreenMargin)
		y = screen.bottom - frame.Height() - kScreenMargin;
	if (y < screen.top + kTabHeight)
		y = screen.top + kTabHeight;

	window->MoveTo(x, y);
}


void
click_button(BButton* button)
{
	if (button == NULL)
		return;
	button->SetValue(B_CONTROL_ON);
	if (BWindow* window = button->Window())
		window->UpdateIfNeeded();
	snooze(kButtonPressTime);
	button->SetValue(B_CONTROL_OFF);
	button->Invoke();
}


void
set_file_panel_priority(BFilePanel* panel, int32 priority)
{
	if (panel != NULL && panel->Window() != NULL)
		BPrivate::record_window_priority(panel->Window(), priority);
}


bool
set_deskbar_title(const char* currentLabel, const char* newLabel)
{
	if (currentLabel == NULL || newLabel == NULL)
		return false;
	const std::string shown = BPrivate::task_bar_label();
	if (!shown.empty() && shown != currentLabel)
		return false;
	BPrivate::set_task_bar_label(newLabel);
	return true;
}

}
