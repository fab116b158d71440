#ifndef _STRING_VIEW_H
#define _STRING_VIEW_H

#include <string>

#include <View.h>

// One line of text, drawn by the layer in the high colour on the view
// colour. Until a view colour is set from code, the view takes its parent's
// when it is attached.
class BStringView : public BView {
public:
	BStringView(BRect frame, const char* name, const char* text,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW);
	// From an archive: "_text", "_align".
	BStringView(BMessage* archive);
	virtual ~BStringView();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	using BView::SetViewColor;
	virtual void SetViewColor(rgb_color color);
	// The text's width and the font's height.
	virtual void GetPreferredSize(float* width, float* height);

	void SetText(const char* text);
	const char* Text() const;
	void SetAlignment(alignment flag);
	alignment Alignment() const;

private:
	std::string fText;
	alignment fAlign;
	bool fViewColorSet;
};

#endif
