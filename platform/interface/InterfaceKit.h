#ifndef _INTERFACE_KIT_H
#define _INTERFACE_KIT_H

#include <string>

#include <SupportDefs.h>

class BMessenger;
class BView;
class BWindow;

namespace BPrivate {

// The program's icon: PNG images the executable carries as resources of this
// type, one per size, each with its side in pixels as id. Every window shows
// it (task bar, window switcher).
const type_code kApplicationIconType = 'AICN';

// Creates the layer's GUI application (Qt's) on the calling thread, which
// must be the main thread, installs the main-thread dispatcher that runs
// the application and every window inside its event loop, and the keyboard
// query behind modifiers(). The program calls it first thing in main();
// otherwise the first window, font measurement, screen or bitmap drawing
// does it with an empty argument list. Calling it again does nothing.
// The windows get the program's icon here.
// Without a display (no platform of Qt's starts) it prints one line saying
// so and ends the process with status 1.
void init_interface_kit(int& argc, char** argv);
// Ends the GUI application, once every window is gone; modifiers() still
// answers afterwards (from the X server when there is one).
void shutdown_interface_kit();
bool interface_kit_initialized();

// Writes a PNG of the window's content as it is drawn now.
status_t grab_window_png(BWindow* window, const char* path);
// Writes a PNG of one view (with its children).
status_t grab_view_png(BView* view, const char* path);

// The label of the program's entry in the desktop's task bar: the X11 icon
// name of every window (_NET_WM_ICON_NAME); the window titles stay as they
// are. Windows created later get it too. Empty until set.
void set_task_bar_label(const char* label);
std::string task_bar_label();

// When the desktop session ends (logging out, shutting down), a message
// `what` goes to `target`: the program is to save its state and quit without
// asking anything. A messenger that is not valid stops it. Call on the GUI
// thread, after init_interface_kit().
void set_session_end_target(const BMessenger& target, uint32 what);

// Priorities given to a window's thread are kept here, not applied: every
// window shares the GUI thread. -1 when none was given.
void record_window_priority(BWindow* window, int32 priority);
int32 window_priority(const BWindow* window);

}

#endif
