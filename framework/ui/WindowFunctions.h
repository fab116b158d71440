#ifndef WINDOW_FUNCTIONS_H
#define WINDOW_FUNCTIONS_H

#include <SupportDefs.h>

class BButton;
class BFilePanel;
class BWindow;

namespace pelkan {

// Moves the window so that it lies on the main screen's usable area (the
// desktop's panels left out): at most 5 pixels from the right and bottom
// edges, at least 5 from the left and 24 from the top (room for the
// window's tab).
void move_window_into_screen(BWindow* window);

// Shows the button pressed for 50 ms, releases it and invokes it, as a
// click would.
void click_button(BButton* button);

// Records the priority for the panel's window; every window shares the GUI
// thread, so no thread is changed.
void set_file_panel_priority(BFilePanel* panel, int32 priority);

// The program's entry in the desktop's task bar shows newLabel instead of
// currentLabel: the icon name of its windows. True when the entry was
// renamed: while no label has been set the entry stands for the program
// itself and answers to any currentLabel; afterwards only to the label it
// shows.
bool set_deskbar_title(const char* currentLabel, const char* newLabel);

}

#endif
