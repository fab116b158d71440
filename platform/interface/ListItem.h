#ifndef _LIST_ITEM_H
#define _LIST_ITEM_H

#include <memory>

#include <Archivable.h>
#include <Rect.h>

class BFont;
class BListView;
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
	friend class BListView;
	friend class BOutlineListView;

	float fWidth;
	float fHeight;
	uint32 fLevel;
	bool fSelected;
	bool fEnabled;
	bool fExpanded;
	// What the owning list keeps in the item so that finding it costs no
	// walk: the list it belongs to, its row and full-list positions (each
	// valid while the list's renumbered prefix covers it; fRow is -1 while
	// the item is no row), and the outline superitem.
	// Items and lists may each go first, as on the original platform, and
	// neither's destructor touches the other: the list a dead owner left
	// behind is recognised by its liveness flag instead.
	BListView* _LiveOwner() const;
	void _SetOwner(BListView* owner);

	BListView* fOwner;
	std::shared_ptr<const bool> fOwnerAlive;
	int32 fRow;
	int32 fFullIndex;
	BListItem* fSuperitem;
};

#endif
