#ifndef TOOL_BUTTON_H
#define TOOL_BUTTON_H

#include <vector>

#include <Control.h>

class BBitmap;
class TToolBar;
class TToolTip;

// An image button of a tool bar: a push button or a toggle; toggles in radio
// mode form a group with their neighbours up to the next separator, of which
// at most one is on. From its normal image it derives the images of its
// other looks; it shows a tool tip while the pointer rests on it.
class TToolButton : public BControl {
public:
	enum {
		kBehaviorPush = 0,
		kBehaviorToggle = 1
	};

	// Slots of the images, by look.
	enum {
		kImageNormal = 0,
		kImageOn = 1,
		kImageDisabled = 2,
		kImageDisabledOn = 3,
		kImageHover = 4,
		kImageCount = 5
	};

	// Takes ownership of the images (onImage may be NULL) and the message.
	TToolButton(BRect frame, const char* name, BBitmap* normalImage, BBitmap* onImage,
		BMessage* message, uint32 behavior);
	virtual ~TToolButton();

	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void WindowActivated(bool active);
	virtual void SetValue(int32 value);

	virtual void SetBehavior(uint32 behavior);
	uint32 Behavior() const { return fBehavior; }
	virtual void SetRadioMode(bool on);
	bool IsRadioMode() const { return fRadioMode; }

	// Replaces the image of a slot (taking ownership); -1 for a slot out of
	// range. A new normal image resizes the button.
	status_t SetImage(int32 index, BBitmap* bitmap);
	BBitmap* Image(int32 index) const;
	// Deletes the images of every slot but the normal one.
	status_t ClearImages();
	// Derives every missing image from the normal one; -1 when none was
	// made.
	status_t SetDefaultImages();

	void SetTip(const char* text);
	const char* Tip() const;
	TToolTip* ToolTip() const { return fToolTip; }

	TToolBar* Bar() const { return fBar; }
	// The neighbours of the same group: the bar's buttons on both sides, up
	// to a separator.
	std::vector<TToolButton*> GetBrothers() const;

	// New bitmaps of the source's size and colour space: in the first, fully
	// transparent pixels become `color`; in the second, every other pixel
	// does. B_BAD_VALUE for a source that is not 32-bit.
	static status_t ConvertTransparentCopy(const BBitmap* source, BBitmap** copy,
		rgb_color color);
	static status_t ConvertFilledCopy(const BBitmap* source, BBitmap** copy, rgb_color color);

protected:
	// Which image and background the button shows now (0 to 4).
	int32 Look() const;

private:
	friend class TToolBar;

	void SetBar(TToolBar* bar) { fBar = bar; }
	void _AdjustSize();

	bool fPressed;
	bool fHover;
	bool fRadioMode;
	uint32 fBehavior;
	BBitmap* fImages[kImageCount];
	TToolBar* fBar;
	TToolTip* fToolTip;
};

#endif
