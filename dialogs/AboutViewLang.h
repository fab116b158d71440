#ifndef ABOUT_VIEW_LANG_H
#define ABOUT_VIEW_LANG_H

#include "AboutViewAddOn.h"

// The about window's Language tab: the language files present, in the
// program's and the user's folders, with the built-in language; the details
// of the selected one are read from its file when it is selected.
class TAboutViewLang : public TAboutViewAddOn {
public:
	explicit TAboutViewLang(BRect frame);

	virtual void SetVLTRef(TVLT* table);
	virtual void SetList();
	virtual void SetInfo();
	virtual std::string RowIdentity(int32 row) const;
};

#endif
