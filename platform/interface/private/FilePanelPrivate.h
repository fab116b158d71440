#ifndef _FILE_PANEL_PRIVATE_H
#define _FILE_PANEL_PRIVATE_H

#include <string>
#include <vector>

class BFilePanel;

namespace BPrivate {

// Acts on a panel as its user would, for tests and scripted use. Call on
// the main thread.

// Selects the entries of the folder shown with these names (only them);
// false when one is not there.
bool file_panel_select(BFilePanel* panel, const std::vector<std::string>& names);
// Opens a subfolder of the folder shown, as a double click does.
bool file_panel_open_folder(BFilePanel* panel, const char* name);
// Presses the default (Open/Save) button, or Cancel.
void file_panel_confirm(BFilePanel* panel);
void file_panel_cancel(BFilePanel* panel);
// The folder's entries as listed, folders first.
std::vector<std::string> file_panel_entries(BFilePanel* panel);

}

#endif
