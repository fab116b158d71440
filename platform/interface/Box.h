#ifndef _BOX_H
#define _BOX_H

#include <string>

#include <View.h>

// A frame around a group of views, with a text label or a view (such as a
// check box) as its label in the top border. Drawn by the layer.
class BBox : public BView {
public:
	BBox(BRect frame, const char* name = NULL,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE_JUMP,
		border_style border = B_FANCY_BORDER);
	// From an archive: "_style", "_label", and "_lbl_view" (true when the
	// first archived child is the label view).
	BBox(BMessage* archive);
	virtual ~BBox();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	using BView::SetViewColor;
	virtual void SetViewColor(rgb_color color);

	virtual void SetBorder(border_style border);
	border_style Border() const;
	// A text label replaces a label view; the old label view is removed
	// from the box and deleted.
	void SetLabel(const char* label);
	// The view becomes the box's child, placed in the top border.
	status_t SetLabel(BView* viewLabel);
	const char* Label() const;
	BView* LabelView() const;

private:
	void _ClearLabel();
	float _TopBorderOffset() const;

	std::string fLabel;
	BView* fLabelView;
	border_style fStyle;
	bool fViewColorSet;
};

#endif
