#ifndef _TAB_H
#define _TAB_H

#include <string>

#include <Archivable.h>

class BTabView;
class BView;

// One page of a BTabView: a label and the view shown while the tab is
// selected. The tab owns its view.
class BTab : public BArchivable {
public:
	BTab(BView* contents = NULL);
	// From an archive: "_label", "_disable".
	BTab(BMessage* archive);
	virtual ~BTab();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	const char* Label() const;
	virtual void SetLabel(const char* label);
	bool IsSelected() const;
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;
	// Replaces (and deletes) the current view; the new one is shown at once
	// when the tab is selected.
	virtual void SetView(BView* contents);
	BView* View() const;

private:
	friend class BTabView;

	std::string fLabel;
	BView* fView;
	BTabView* fTabView;
	bool fEnabled;
};

#endif
