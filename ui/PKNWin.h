#ifndef PKN_WIN_H
#define PKN_WIN_H

#include <Window.h>

#include "Lang.h"

class TPKNView;

// The base of every window of the program. It holds one main view that
// fills it and receives the keys no control takes. Closing it by the user
// only hides it; the program's own quit (no current message) ends it.
class TPKNWin : public BWindow {
public:
	TPKNWin(BRect frame, const char* title, window_look look, window_feel feel,
		uint32 flags, uint32 workspace = B_CURRENT_WORKSPACE);
	TPKNWin(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);

	virtual void MessageReceived(BMessage* message);
	virtual bool QuitRequested();
	virtual void WorkspaceActivated(int32 workspace, bool active);

	virtual void AddMainChild(TPKNView* view);
	// Shows the window when hidden, else brings it to the front.
	virtual void Appear();
	virtual bool SetLanguage(pelkan::TLang lang);
	virtual void KeyDown(BMessage* message);
	// Renews the window's entry in the task bar; nothing to do in the base.
	virtual bool SetDeskBarTitle();

	TPKNView* MainView() const { return fMainView; }

	// Moves the window to `point` (kept 5 pixels inside the right and
	// bottom edges of the main screen's usable area and off its top and
	// left) or, when useGiven is false, to the centre of that area; returns
	// the point used.
	BPoint SetPos(bool useGiven, BPoint point);

protected:
	// Every key-down that reaches the window passes here first.
	void ShowMenu(int32 rawChar);

private:
	TPKNView* fMainView;
};

#endif
