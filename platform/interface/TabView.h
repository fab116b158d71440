#ifndef _TAB_VIEW_H
#define _TAB_VIEW_H

#include <vector>

#include <View.h>

class BTab;

// Pages with a row of tabs above them (a native tab bar). Only the selected
// tab's view is in the container view, and so in the window: the other
// views are detached and get AttachedToWindow()/AllAttached() when their
// tab is selected, as on the original platform. Work that needs the window
// can so be put off until a tab is first shown.
class BTabView : public BView {
public:
	BTabView(BRect frame, const char* name, button_width width = B_WIDTH_AS_USUAL,
		uint32 resizingMode = B_FOLLOW_ALL,
		uint32 flags = B_FULL_UPDATE_ON_RESIZE | B_WILL_DRAW | B_NAVIGABLE_JUMP
			| B_FRAME_EVENTS | B_NAVIGABLE);
	// From an archive: "_but_width", "_sel", one "_l_items" (a BTab) and
	// one "_view_list" (its view) per tab.
	BTabView(BMessage* archive);
	// Deletes the tabs and their views.
	virtual ~BTabView();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void AttachedToWindow();

	// Adds a tab showing `target` (a new BTab when NULL; the tab owns both).
	virtual void AddTab(BView* target, BTab* tab = NULL);
	virtual BTab* RemoveTab(int32 index);
	BTab* TabAt(int32 index) const;
	int32 CountTabs() const;
	int32 IndexOf(const BTab* tab) const;
	virtual void Select(int32 index);
	int32 Selection() const;
	BView* ViewForTab(int32 index) const;
	// The view the selected tab's view is in, below the tabs.
	BView* ContainerView() const;

	virtual void SetTabWidth(button_width width);
	button_width TabWidth() const;
	float TabHeight() const;
	BRect TabFrame(int32 index) const;

private:
	friend class BTab;

	void _Init(button_width width);
	void _TabChanged(BTab* tab);
	void _ShowSelected();

	std::vector<BTab*> fTabs;
	BView* fContainer;
	int32 fSelection;
	button_width fTabWidth;
	float fTabHeight;
};

#endif
