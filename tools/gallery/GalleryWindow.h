#ifndef GALLERY_WINDOW_H
#define GALLERY_WINDOW_H

#include <memory>
#include <vector>

#include "PKNWin.h"

class GalleryItem;

// Every control of the interface layer and the program's own widgets in
// one window, laid out as a small desktop program would be.
class GalleryWindow : public TPKNWin {
public:
	GalleryWindow();

	virtual bool QuitRequested();

private:
	void _AddMenuBar(BView* parent);
	float _AddToolBar(BView* parent, float top);
	void _AddControls(BView* parent, BRect frame);
	void _AddLists(BView* parent, BRect frame);
	GalleryItem* _Item(const char* text, bool folder, bool current = false);

	// A list does not own its items.
	std::vector<std::unique_ptr<GalleryItem>> fItems;
};

#endif
