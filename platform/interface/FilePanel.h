#ifndef _FILE_PANEL_H
#define _FILE_PANEL_H

#include <memory>

#include <StorageDefs.h>
#include <SupportDefs.h>

class BDirectory;
class BEntry;
class BMessage;
class BMessenger;
class BRefFilter;
class BWindow;
struct entry_ref;

enum file_panel_mode {
	B_OPEN_PANEL,
	B_SAVE_PANEL
};

enum file_panel_button {
	B_CANCEL_BUTTON,
	B_DEFAULT_BUTTON
};

// A window for choosing entries to open, or a folder and a name to save
// under. The panel is made once and reused: it keeps its folder, and Show()
// and Hide() only show and hide its window (never modal here).
//
// Replies go to the target (be_app_messenger by default):
// - open: a copy of the panel's message (B_REFS_RECEIVED when none) with
//   one "refs" per chosen entry; files and folders can be chosen together
//   when the node flavours allow both (double-clicking a folder opens it
//   in the panel instead). With folders allowed and nothing selected, the
//   folder shown is chosen.
// - save: a copy of the panel's message (B_SAVE_REQUESTED when none), its
//   own fields kept, with "directory" (entry_ref of the folder shown) and
//   "name" (the text of the name field).
// - B_CANCEL with "source" (this panel) every time the user closes the
//   panel: Cancel, the close box, Escape, and after a confirmed choice when
//   the panel hides when done (after the choice's message). Hide() from
//   code sends nothing.
// A folder that does not exist (a path from another system, say) gives
// the home folder instead.
//
// The panel's window never quits on its own: the close box hides it. When
// the application quits, its window goes with the others; the panel then
// keeps its folder (GetPanelDirectory) but shows nothing, and Window() is
// NULL.
class BFilePanel {
public:
	// Copies `target` and `message`; the caller keeps its own.
	BFilePanel(file_panel_mode mode = B_OPEN_PANEL, BMessenger* target = NULL,
		const entry_ref* directory = NULL, uint32 nodeFlavors = 0,
		bool allowMultipleSelection = true, BMessage* message = NULL,
		BRefFilter* filter = NULL, bool modal = false, bool hideWhenDone = true);
	virtual ~BFilePanel();

	void Show();
	void Hide();
	bool IsShowing() const;

	BWindow* Window() const;
	file_panel_mode PanelMode() const;
	BMessenger Messenger() const;

	void SetTarget(BMessenger target);
	// Copies `message`.
	void SetMessage(BMessage* message);
	void SetButtonLabel(file_panel_button button, const char* label);
	void SetSaveText(const char* text);
	void SetNodeFlavors(uint32 flavors);
	void SetHideWhenDone(bool hideWhenDone);
	bool HidesWhenDone() const;

	void SetPanelDirectory(const BEntry* entry);
	void SetPanelDirectory(const BDirectory* directory);
	void SetPanelDirectory(const entry_ref* ref);
	void SetPanelDirectory(const char* path);
	void GetPanelDirectory(entry_ref* ref) const;

	// Lists the folder again.
	void Refresh();

	struct Private;

private:
	BFilePanel(const BFilePanel&) = delete;
	BFilePanel& operator=(const BFilePanel&) = delete;

	std::unique_ptr<Private> fData;
};

#endif
