#ifndef _VIEW_H
#define _VIEW_H

#include <memory>

#include <Font.h>
#include <GraphicsDefs.h>
#include <Handler.h>
#include <InterfaceDefs.h>
#include <Rect.h>

class BBitmap;
class BMessage;
class BWindow;

namespace BPrivate {
struct ViewData;
}

// Resizing modes: how a view's edges follow its parent's when the parent is
// resized. Each edge of the view is tied to the parent's left/top, right/
// bottom or centre.
enum {
	_VIEW_TOP_ = 1,
	_VIEW_LEFT_ = 2,
	_VIEW_BOTTOM_ = 3,
	_VIEW_RIGHT_ = 4,
	_VIEW_CENTER_ = 5
};

constexpr uint32 _rule_(uint32 left, uint32 top, uint32 right, uint32 bottom)
{
	return (top << 12) | (left << 8) | (bottom << 4) | right;
}

enum : uint32 {
	B_FOLLOW_NONE = 0,
	B_FOLLOW_ALL_SIDES = _rule_(_VIEW_LEFT_, _VIEW_TOP_, _VIEW_RIGHT_, _VIEW_BOTTOM_),
	B_FOLLOW_ALL = B_FOLLOW_ALL_SIDES,

	B_FOLLOW_LEFT = _rule_(_VIEW_LEFT_, 0, _VIEW_LEFT_, 0),
	B_FOLLOW_RIGHT = _rule_(_VIEW_RIGHT_, 0, _VIEW_RIGHT_, 0),
	B_FOLLOW_LEFT_RIGHT = _rule_(_VIEW_LEFT_, 0, _VIEW_RIGHT_, 0),
	B_FOLLOW_H_CENTER = _rule_(_VIEW_CENTER_, 0, _VIEW_CENTER_, 0),

	B_FOLLOW_TOP = _rule_(0, _VIEW_TOP_, 0, _VIEW_TOP_),
	B_FOLLOW_BOTTOM = _rule_(0, _VIEW_BOTTOM_, 0, _VIEW_BOTTOM_),
	B_FOLLOW_TOP_BOTTOM = _rule_(0, _VIEW_TOP_, 0, _VIEW_BOTTOM_),
	B_FOLLOW_V_CENTER = _rule_(0, _VIEW_CENTER_, 0, _VIEW_CENTER_)
};

// View flags.
enum : uint32 {
	B_FULL_UPDATE_ON_RESIZE = 0x80000000UL,
	B_WILL_DRAW = 0x20000000UL,
	B_PULSE_NEEDED = 0x10000000UL,
	B_NAVIGABLE_JUMP = 0x08000000UL,
	B_FRAME_EVENTS = 0x04000000UL,
	B_NAVIGABLE = 0x02000000UL,
	B_SUBPIXEL_PRECISE = 0x01000000UL,
	B_DRAW_ON_CHILDREN = 0x00800000UL,
	B_INPUT_METHOD_AWARE = 0x00400000UL
};

// The "be:transit" of a B_MOUSE_MOVED: where the pointer is relative to the
// view that receives it.
enum {
	B_ENTERED_VIEW = 0,
	B_INSIDE_VIEW,
	B_EXITED_VIEW,
	B_OUTSIDE_VIEW
};

// SetEventMask(): B_POINTER_EVENTS sends every mouse event to the view, even
// outside it, until the mask is cleared (or, for SetMouseEventMask, until
// the buttons are released).
enum {
	B_POINTER_EVENTS = 0x00000001,
	B_KEYBOARD_EVENTS = 0x00000002
};

enum {
	B_LOCK_WINDOW_FOCUS = 0x00000001,
	B_SUSPEND_VIEW_FOCUS = 0x00000002,
	B_NO_POINTER_HISTORY = 0x00000004,
	B_FULL_POINTER_HISTORY = 0x00000010
};

// A rectangle of a window drawn with the Be drawing API. Frames are in the
// parent's coordinates, bounds in the view's own (their origin moves with
// ScrollTo); both are inclusive rectangles.
//
// Drawing calls made inside Draw() paint the view. A view attached to a
// BBitmap that accepts views paints into the bitmap at any time while the
// bitmap is locked. Outside both, drawing calls are ignored: the view is
// redrawn through Draw() after Invalidate().
//
// A view in a window is used by a thread that holds the window's lock (a
// debug build stops in the setters of one that does not); its Qt work runs
// on the GUI thread while the caller waits.
class BView : public BHandler {
public:
	BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	// From an archive: name, frame, resizing mode, flags, colours and the
	// children stored under "_views".
	BView(BMessage* archive);
	// Deletes the children; the view must have been removed from its
	// parent and window first (a window deletes its views itself).
	virtual ~BView();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	// Attachment hooks: AttachedToWindow top-down, AllAttached bottom-up
	// once the whole subtree is attached; the detach hooks likewise.
	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void DetachedFromWindow();
	virtual void AllDetached();

	// The default passes the message to the parent view, then the window.
	virtual void MessageReceived(BMessage* message);

	void AddChild(BView* child, BView* before = NULL);
	bool RemoveChild(BView* child);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* NextSibling() const;
	BView* PreviousSibling() const;
	bool RemoveSelf();

	BWindow* Window() const;
	BView* Parent() const;
	// Searches the view itself and its descendants, depth first.
	BView* FindView(const char* name) const;

	virtual void Draw(BRect updateRect);
	virtual void DrawAfterChildren(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void WindowActivated(bool active);
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void KeyUp(const char* bytes, int32 numBytes);
	virtual void Pulse();
	virtual void FrameMoved(BPoint newPosition);
	virtual void FrameResized(float newWidth, float newHeight);

	// The pointer in view coordinates and the buttons held. Called while a
	// handler of the window runs (a press the view tracks), it reads the
	// input that arrived meanwhile without dispatching it to any view; with
	// checkMessageQueue each call returns the next pointer event in order,
	// then the latest state.
	void GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue = true);

	// Starts a drag of `message` (copied); `dragRect` in view coordinates is
	// the outline shown while dragging.
	void DragMessage(BMessage* message, BRect dragRect, BHandler* replyTo = NULL);
	void DragMessage(BMessage* message, BBitmap* image, BPoint offset,
		BHandler* replyTo = NULL);

	status_t SetEventMask(uint32 mask, uint32 options = 0);
	uint32 EventMask();
	// Like SetEventMask, but only until the buttons are released.
	status_t SetMouseEventMask(uint32 mask, uint32 options = 0);

	virtual void SetFlags(uint32 flags);
	uint32 Flags() const;
	virtual void SetResizingMode(uint32 mode);
	uint32 ResizingMode() const;

	void MoveBy(float dx, float dy);
	void MoveTo(BPoint where);
	void MoveTo(float x, float y);
	void ResizeBy(float dh, float dv);
	void ResizeTo(float width, float height);
	virtual void GetPreferredSize(float* width, float* height);
	virtual void ResizeToPreferred();

	void ScrollBy(float dh, float dv);
	virtual void ScrollTo(BPoint where);
	void ScrollTo(float x, float y);

	virtual void MakeFocus(bool focus = true);
	bool IsFocus() const;

	// Calls nest: each Hide() needs a Show().
	virtual void Show();
	virtual void Hide();
	// True while this view or one of its parents (or its window) is hidden.
	bool IsHidden() const;
	bool IsHidden(const BView* lookingFrom) const;

	BRect Bounds() const;
	BRect Frame() const;

	void ConvertToScreen(BPoint* point) const;
	BPoint ConvertToScreen(BPoint point) const;
	void ConvertToScreen(BRect* rect) const;
	BRect ConvertToScreen(BRect rect) const;
	void ConvertFromScreen(BPoint* point) const;
	BPoint ConvertFromScreen(BPoint point) const;
	void ConvertFromScreen(BRect* rect) const;
	BRect ConvertFromScreen(BRect rect) const;
	void ConvertToParent(BPoint* point) const;
	BPoint ConvertToParent(BPoint point) const;
	void ConvertToParent(BRect* rect) const;
	BRect ConvertToParent(BRect rect) const;
	void ConvertFromParent(BPoint* point) const;
	BPoint ConvertFromParent(BPoint point) const;
	void ConvertFromParent(BRect* rect) const;
	BRect ConvertFromParent(BRect rect) const;

	virtual void SetViewColor(rgb_color color);
	void SetViewColor(uchar red, uchar green, uchar blue, uchar alpha = 255);
	rgb_color ViewColor() const;
	virtual void SetHighColor(rgb_color color);
	void SetHighColor(uchar red, uchar green, uchar blue, uchar alpha = 255);
	rgb_color HighColor() const;
	virtual void SetLowColor(rgb_color color);
	void SetLowColor(uchar red, uchar green, uchar blue, uchar alpha = 255);
	rgb_color LowColor() const;

	virtual void SetDrawingMode(drawing_mode mode);
	drawing_mode DrawingMode() const;
	void SetBlendingMode(source_alpha srcAlpha, alpha_function alphaFunc);
	void GetBlendingMode(source_alpha* srcAlpha, alpha_function* alphaFunc) const;
	virtual void SetPenSize(float size);
	float PenSize() const;
	void MovePenTo(BPoint where);
	void MovePenTo(float x, float y);
	void MovePenBy(float dx, float dy);
	BPoint PenLocation() const;

	// Line ends are inclusive, as are rectangles.
	void StrokeLine(BPoint toPoint, ::pattern pattern = B_SOLID_HIGH);
	void StrokeLine(BPoint start, BPoint end, ::pattern pattern = B_SOLID_HIGH);
	void StrokeRect(BRect rect, ::pattern pattern = B_SOLID_HIGH);
	void FillRect(BRect rect, ::pattern pattern = B_SOLID_HIGH);
	void StrokeRoundRect(BRect rect, float xRadius, float yRadius,
		::pattern pattern = B_SOLID_HIGH);
	void FillRoundRect(BRect rect, float xRadius, float yRadius,
		::pattern pattern = B_SOLID_HIGH);
	void StrokeEllipse(BRect rect, ::pattern pattern = B_SOLID_HIGH);
	void FillEllipse(BRect rect, ::pattern pattern = B_SOLID_HIGH);
	void StrokeTriangle(BPoint point1, BPoint point2, BPoint point3,
		::pattern pattern = B_SOLID_HIGH);
	void FillTriangle(BPoint point1, BPoint point2, BPoint point3,
		::pattern pattern = B_SOLID_HIGH);

	// `where` is the left end of the baseline; the pen moves past the text.
	void DrawString(const char* string, BPoint where);
	void DrawString(const char* string, int32 length, BPoint where);
	void DrawString(const char* string);
	void DrawBitmap(const BBitmap* bitmap, BPoint where);
	void DrawBitmap(const BBitmap* bitmap);
	void DrawBitmap(const BBitmap* bitmap, BRect destination);
	void DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination);
	void DrawBitmapAsync(const BBitmap* bitmap, BPoint where);

	virtual void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
	void GetFont(BFont* font) const;
	void SetFontSize(float size);
	void GetFontHeight(font_height* height) const;
	float StringWidth(const char* string) const;
	float StringWidth(const char* string, int32 length) const;

	void Invalidate(BRect invalRect);
	void Invalidate();
	void Flush() const;
	void Sync() const;

	class Private;

private:
	friend class Private;
	friend class BWindow;
	friend class BBitmap;

	BView(const BView&) = delete;
	BView& operator=(const BView&) = delete;

	std::unique_ptr<BPrivate::ViewData> fData;
};

#endif
