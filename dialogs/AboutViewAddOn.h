#ifndef ABOUT_VIEW_ADD_ON_H
#define ABOUT_VIEW_ADD_ON_H

#include <string>
#include <utility>
#include <vector>

#include "PKNDlgView.h"

class BListView;
class BStringView;
class BTextView;
class TVLT;

// A tab of the about window that lists add-ons of one kind above the
// details of the selected one. The list and the details are built only
// while the tab is in a window: a tab that is not shown keeps the request
// and carries it out when it is next shown.
class TAboutViewAddOn : public TPKNDlgView {
public:
	TAboutViewAddOn(BRect frame, const char* name);
	virtual ~TAboutViewAddOn();

	// The table stays the caller's; the details are shown in its language.
	virtual void SetVLTRef(TVLT* table);
	// Fills the list with the add-ons present, in the order they are shown.
	virtual void SetList() = 0;
	// Fills the details of the selected row; nothing without a selection.
	virtual void SetInfo() = 0;
	// What tells the add-on of that row apart from every other listed.
	virtual std::string RowIdentity(int32 row) const = 0;

	virtual void AllAttached();
	virtual void MessageReceived(BMessage* message);

	// Rebuild the list (keeping the selected add-on selected) or the
	// details: now when the view is in a window, else once it is shown.
	void SetNeedSetList();
	void SetNeedSetInfo();

	BListView* ListView() const { return fList; }
	BTextView* InfoView() const { return fInfo; }

protected:
	// A label's language key and the value shown below it.
	typedef std::vector<std::pair<const char*, std::string>> TInfoSections;

	TVLT* VLT() const { return fVLT; }
	// The titles from those language keys, each as wide as its text; nothing
	// without a table.
	void SetTitles(const char* listTitleKey, const char* infoTitleKey);
	// Shows each label, a line break and its value, with a blank line between
	// the sections.
	void ShowInfo(const TInfoSections& sections);

private:
	void _RebuildList();
	void _RebuildInfo();
	void _DeleteItems();

	BListView* fList;
	BStringView* fListTitle;
	BStringView* fInfoTitle;
	BTextView* fInfo;
	TVLT* fVLT;
	bool fNeedList;
	bool fNeedInfo;
};

#endif
