#ifndef GALLERY_ITEM_H
#define GALLERY_ITEM_H

#include <string>

#include <GraphicsDefs.h>
#include <ListItem.h>

// A row of the outline list that draws itself: a coloured mark and its
// text, red when it is the current one.
class GalleryItem : public BListItem {
public:
	GalleryItem(const char* text, rgb_color mark, bool current = false);

	virtual void DrawItem(BView* owner, BRect frame, bool complete = false);
	virtual void Update(BView* owner, const BFont* font);

private:
	std::string fText;
	rgb_color fMark;
	bool fCurrent;
};

#endif
