#ifndef _LIST_ITEM_H
#define _LIST_ITEM_H

#include <Archivable.h>
#include <Rect.h>

class BFont;
class BView;

// One row of a BListView or BOutlineListView. The item draws itself; the list
// only decides where. An item belongs to at most one list at a time and is
// never deleted by it.
class BListItem : public BArchivable {
public:
	BListItem(uint32 outlineLevel = 0, bool expanded = true);
	virtual ~BListItem();

	float Height() const;
	float Width() const;
	void SetHeight(float height);
	void SetWidth(float width);

	bool IsSelected() const;
	void Select();
	void Deselect();

	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;

	bool IsExpanded() const;
	void SetExpanded(bool expanded);
	uint32 OutlineLevel() const;
	void SetOutlineLevel(uint32 level);

	virtual void DrawItem(BView* owner, BRect frame, bool complete = false) = 0;
	// Called by the list when the item joins it and when the list's font
	// changes: the default takes the owner's width and the font's height.
	virtual void Update(BView* owner, const BFont* font);

private:
	float fWidth;
	float fHeight;
	uint32 fLevel;
	bool fSelected;
	bool fEnabled;
	bool fExpanded;
};

#endif
