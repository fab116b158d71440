#ifndef _WINDOW_H
#define _WINDOW_H

#include <memory>

#include <InterfaceDefs.h>
#include <Looper.h>
#include <Rect.h>

class BButton;
class BMenuBar;
class BMessage;
class BView;

namespace BPrivate {
struct WindowData;
}

enum window_type {
	B_UNTYPED_WINDOW = 0,
	B_TITLED_WINDOW = 1,
	B_MODAL_WINDOW = 3,
	B_DOCUMENT_WINDOW = 11,
	B_BORDERED_WINDOW = 20,
	B_FLOATING_WINDOW = 21
};

enum window_look {
	B_BORDERED_WINDOW_LOOK = 20,
	B_NO_BORDER_WINDOW_LOOK = 19,
	B_TITLED_WINDOW_LOOK = 1,
	B_DOCUMENT_WINDOW_LOOK = 11,
	B_MODAL_WINDOW_LOOK = 3,
	B_FLOATING_WINDOW_LOOK = 7
};

enum window_feel {
	B_NORMAL_WINDOW_FEEL = 0,
	B_MODAL_SUBSET_WINDOW_FEEL = 2,
	B_MODAL_APP_WINDOW_FEEL = 1,
	B_MODAL_ALL_WINDOW_FEEL = 3,
	B_FLOATING_SUBSET_WINDOW_FEEL = 5,
	B_FLOATING_APP_WINDOW_FEEL = 4,
	B_FLOATING_ALL_WINDOW_FEEL = 6
};

// Window flags.
enum {
	B_NOT_MOVABLE = 0x00000001,
	B_NOT_CLOSABLE = 0x00000020,
	B_NOT_ZOOMABLE = 0x00000040,
	B_NOT_MINIMIZABLE = 0x00004000,
	B_NOT_RESIZABLE = 0x00000002,
	B_NOT_H_RESIZABLE = 0x00000004,
	B_NOT_V_RESIZABLE = 0x00000008,
	B_AVOID_FRONT = 0x00000080,
	B_AVOID_FOCUS = 0x00002000,
	B_WILL_ACCEPT_FIRST_CLICK = 0x00000010,
	B_OUTLINE_RESIZE = 0x00001000,
	B_NO_WORKSPACE_ACTIVATION = 0x00000100,
	B_NOT_ANCHORED_ON_ACTIVATE = 0x00020000,
	B_ASYNCHRONOUS_CONTROLS = 0x00080000,
	B_QUIT_ON_WINDOW_CLOSE = 0x00100000
};

#define B_CURRENT_WORKSPACE 0
#define B_ALL_WORKSPACES 0xffffffff

// A top-level window. Its frame is the content area in screen coordinates
// (decorations are outside); its bounds start at (0, 0).
//
// Every window's messages run on the main thread inside the GUI event loop
// (see LooperDispatcher.h): Run() (called by the first Show()) attaches the
// window there; messages posted before wait. Thread() is the main thread.
// The first window creates the layer's application object when the program
// did not call BPrivate::init_interface_kit() (InterfaceKit.h).
//
// Input arrives as B_MOUSE_DOWN, B_MOUSE_UP, B_MOUSE_MOVED, B_KEY_DOWN and
// B_KEY_UP messages dispatched through the window: the window's filters see
// them, and DispatchMessage delivers them to the view they name (the view
// under the pointer, the view tracking the pointer or the focus view).
// Closing the window from its decorations posts B_QUIT_REQUESTED.
//
// Any thread may call the window's methods: those that change it lock the
// window themselves, as on the original platform, and their Qt work runs on
// the GUI thread while the caller waits.
class BWindow : public BLooper {
public:
	BWindow(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	BWindow(BRect frame, const char* title, window_look look, window_feel feel,
		uint32 flags, uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~BWindow();

	// Detaches and deletes every view, then the window. Called from another
	// thread, the caller must hold the window's lock.
	virtual void Quit();
	void Close() { Quit(); }

	void AddChild(BView* child, BView* before = NULL);
	bool RemoveChild(BView* child);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* viewName) const;
	// The deepest visible view under `point` (window coordinates).
	BView* FindView(BPoint point) const;
	BView* CurrentFocus() const;
	BView* LastMouseMovedView() const;

	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	virtual void FrameMoved(BPoint newPosition);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void WorkspacesChanged(uint32 oldWorkspaces, uint32 newWorkspaces);
	virtual void WorkspaceActivated(int32 workspace, bool state);
	virtual void WindowActivated(bool active);
	virtual void Minimize(bool minimize);
	virtual void Zoom();
	// The user opened one of the window's menu bar menus while none was
	// open; and closed the last one (after the choice made in it was sent).
	virtual void MenusBeginning();
	virtual void MenusEnded();
	virtual bool QuitRequested();
	virtual thread_id Run();

	// Calls nest: each Hide() needs a Show(). The first Show() runs the
	// window.
	virtual void Show();
	virtual void Hide();
	bool IsHidden() const;
	void Activate(bool active = true);
	bool IsActive() const;
	bool IsFront() const;
	void Minimize();

	void MoveTo(BPoint where);
	void MoveTo(float x, float y);
	void MoveBy(float dx, float dy);
	void ResizeTo(float width, float height);
	void ResizeBy(float dx, float dy);
	BRect Frame() const;
	BRect Bounds() const;
	void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
	void GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight,
		float* maxHeight);
	void SetZoomLimits(float maxWidth, float maxHeight);

	status_t SetLook(window_look look);
	window_look Look() const;
	status_t SetFeel(window_feel feel);
	window_feel Feel() const;
	status_t SetFlags(uint32 flags);
	uint32 Flags() const;
	status_t SetType(window_type type);
	window_type Type() const;
	uint32 Workspaces() const;
	void SetWorkspaces(uint32 workspaces);

	void SetTitle(const char* title);
	const char* Title() const;

	void SetDefaultButton(BButton* button);
	BButton* DefaultButton() const;
	// The menu bar whose shortcuts the window tries first on a Command key.
	void SetKeyMenuBar(BMenuBar* bar);
	BMenuBar* KeyMenuBar() const;

	// A shortcut of the window itself: Command + key (+ modifiers) posts a
	// copy of `message` to `target` (the window when NULL).
	void AddShortcut(uint32 key, uint32 modifiers, BMessage* message,
		BHandler* target = NULL);
	void RemoveShortcut(uint32 key, uint32 modifiers);

	// Redraws invalidated views now.
	void UpdateIfNeeded();
	bool NeedsUpdate() const;
	void DisableUpdates();
	void EnableUpdates();
	void Flush() const;
	void Sync() const;

	void SetPulseRate(bigtime_t rate);
	bigtime_t PulseRate() const;

	void ConvertToScreen(BPoint* point) const;
	BPoint ConvertToScreen(BPoint point) const;
	void ConvertToScreen(BRect* rect) const;
	BRect ConvertToScreen(BRect rect) const;
	void ConvertFromScreen(BPoint* point) const;
	BPoint ConvertFromScreen(BPoint point) const;
	void ConvertFromScreen(BRect* rect) const;
	BRect ConvertFromScreen(BRect rect) const;

	class Private;

private:
	friend class Private;
	friend class BView;

	void _Init(BRect frame, const char* title, window_look look,
		window_feel feel, uint32 flags, uint32 workspace);

	std::unique_ptr<BPrivate::WindowData> fData;
};

#endif
