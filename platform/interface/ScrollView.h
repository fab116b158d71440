#ifndef _SCROLL_VIEW_H
#define _SCROLL_VIEW_H

#include <View.h>

class BScrollBar;

// Wraps a target view with a border and scroll bars. The target becomes the
// scroll view's child (so its Parent() is the scroll view); the scroll view
// takes the room of the target's frame plus the border and the bars.
class BScrollView : public BView {
public:
	BScrollView(const char* name, BView* target,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP, uint32 flags = 0,
		bool horizontal = false, bool vertical = false,
		border_style border = B_FANCY_BORDER);
	virtual ~BScrollView();

	virtual void Draw(BRect updateRect);

	BScrollBar* ScrollBar(orientation direction) const;
	BView* Target() const;
	virtual void SetBorder(border_style border);
	border_style Border() const;

private:
	static BRect _Frame(BView* target, bool horizontal, bool vertical,
		border_style border);

	BView* fTarget;
	BScrollBar* fHorizontalBar;
	BScrollBar* fVerticalBar;
	border_style fBorder;
};

#endif
