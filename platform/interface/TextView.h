#ifndef _TEXT_VIEW_H
#define _TEXT_VIEW_H

#include <string>

#include <View.h>

// Editable or read-only text, shown as a native text editor. Inside a scroll
// view the scroll bars move its text (ScrollTo). Text set from code sends
// nothing.
class BTextView : public BView {
public:
	BTextView(BRect frame, const char* name, BRect textRect,
		uint32 resizingMode, uint32 flags);
	virtual ~BTextView();

	virtual void AttachedToWindow();
	virtual void FrameResized(float width, float height);
	using BView::ScrollTo;
	virtual void ScrollTo(BPoint where);
	virtual void MakeFocus(bool focus = true);

	void SetText(const char* text);
	const char* Text() const;
	int32 TextLength() const;
	void Insert(const char* text);
	void Delete(int32 startOffset, int32 endOffset);
	void Select(int32 startOffset, int32 endOffset);
	void SelectAll();
	void GetSelection(int32* start, int32* end) const;

	void MakeEditable(bool editable = true);
	bool IsEditable() const;
	void MakeSelectable(bool selectable = true);
	bool IsSelectable() const;
	void SetWordWrap(bool wrap);
	bool DoesWordWrap() const;
	void SetAlignment(alignment flag);
	alignment Alignment() const;
	void SetTextRect(BRect rect);
	BRect TextRect() const;
	void SetMaxBytes(int32 max);
	int32 MaxBytes() const;
	// A disallowed character typed by the user is dropped.
	void DisallowChar(uint32 character);
	void AllowChar(uint32 character);

private:
	friend class BTextControl;

	// The entry of a text control: one line, Enter does not add a line.
	struct SingleLine {};
	BTextView(BRect frame, const char* name, uint32 resizingMode, uint32 flags,
		SingleLine);

	void _Init(bool singleLine);
	void _FixupScrollBars();

	// Text() hands out a pointer that stays valid until the next change.
	mutable std::string fText;
	std::string fDisallowed;
	BRect fTextRect;
	int32 fMaxBytes;
	alignment fAlignment;
	bool fSelectable;
};

#endif
