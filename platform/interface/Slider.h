#ifndef _SLIDER_H
#define _SLIDER_H

#include <string>

#include <Control.h>

class BBitmap;

enum hash_mark_location {
	B_HASH_MARKS_NONE = 0,
	B_HASH_MARKS_TOP = 1,
	B_HASH_MARKS_LEFT = 1,
	B_HASH_MARKS_BOTTOM = 2,
	B_HASH_MARKS_RIGHT = 2,
	B_HASH_MARKS_BOTH = 3
};

enum thumb_style {
	B_BLOCK_THUMB,
	B_TRIANGLE_THUMB
};

// A horizontal slider drawn by the layer. Draw() composes the slider in an
// offscreen view (OffscreenView(), inside a bitmap) through the hooks
// DrawBar(), DrawHashMarks(), DrawThumb(), DrawFocusMark() and DrawText(),
// which subclasses override, then copies the bitmap into the view. Mouse
// handling places the thumb through the virtual BarFrame(), so a subclass
// that moves the bar moves the active area with it.
//
// While the user drags, each change of value sends the modification message
// (when set); releasing the button sends the main message when the value
// differs from the one at the press. SetValue() from code sends nothing.
class BSlider : public BControl {
public:
	BSlider(BRect frame, const char* name, const char* label,
		BMessage* message, int32 minValue, int32 maxValue,
		thumb_style thumbType = B_BLOCK_THUMB,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_NAVIGABLE | B_WILL_DRAW | B_FRAME_EVENTS);
	virtual ~BSlider();

	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void FrameResized(float width, float height);
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit,
		const BMessage* dragMessage);
	virtual void MouseUp(BPoint where);
	virtual void KeyDown(const char* bytes, int32 numBytes);

	virtual void SetValue(int32 value);
	virtual int32 ValueForPoint(BPoint point) const;
	virtual void SetPosition(float position);
	float Position() const;
	void GetLimits(int32* minimum, int32* maximum) const;
	virtual void SetLimitLabels(const char* minLabel, const char* maxLabel);
	const char* MinLimitLabel() const;
	const char* MaxLimitLabel() const;

	virtual void SetModificationMessage(BMessage* message);
	BMessage* ModificationMessage() const;
	virtual void SetKeyIncrementValue(int32 value);
	int32 KeyIncrementValue() const;
	virtual void SetHashMarkCount(int32 count);
	int32 HashMarkCount() const;
	virtual void SetHashMarks(hash_mark_location where);
	hash_mark_location HashMarks() const;
	virtual void SetStyle(thumb_style style);
	thumb_style Style() const;
	virtual void SetBarColor(rgb_color color);
	rgb_color BarColor() const;
	// The part of the bar left of the thumb is filled with `color` when on.
	virtual void UseFillColor(bool useFill, const rgb_color* color = NULL);
	bool FillColor(rgb_color* color) const;
	virtual void SetBarThickness(float thickness);
	float BarThickness() const;

	// Composes the slider in the offscreen view and copies it into the view.
	virtual void DrawSlider();
	virtual void DrawBar();
	virtual void DrawHashMarks();
	virtual void DrawThumb();
	virtual void DrawFocusMark();
	virtual void DrawText();
	// The text drawn at the top right (a value readout); NULL for none.
	virtual const char* UpdateText() const;

	virtual BRect BarFrame() const;
	virtual BRect HashMarksFrame() const;
	virtual BRect ThumbFrame() const;

	// The view the drawing hooks draw into; NULL while not in a window.
	BView* OffscreenView() const;

	virtual void GetPreferredSize(float* width, float* height);

private:
	void _MakeOffscreen();
	void _DeleteOffscreen();
	float _TextHeight() const;
	void _DragTo(BPoint where);

	std::string fMinLimitLabel;
	std::string fMaxLimitLabel;
	BMessage* fModificationMessage;
	BBitmap* fOffscreenBitmap;
	BView* fOffscreenView;
	int32 fMinValue;
	int32 fMaxValue;
	int32 fKeyIncrementValue;
	int32 fHashMarkCount;
	hash_mark_location fHashMarks;
	thumb_style fStyle;
	rgb_color fBarColor;
	rgb_color fFillColor;
	bool fUseFillColor;
	float fBarThickness;
	// Where the press that drags the thumb grabbed it, from the thumb's
	// centre; the value at the press.
	float fGrabOffset;
	int32 fValueAtPress;
};

#endif
