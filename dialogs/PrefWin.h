#ifndef PREF_WIN_H
#define PREF_WIN_H

#include "PKNDlgWin.h"

class TPref;
class TPrefView;

// The preferences window. It is made once and hidden between uses; without
// its layout resource it has no view and InitCheck() says so.
class TPrefWin : public TPKNDlgWin {
public:
	explicit TPrefWin(BRect frame);

	status_t InitCheck() const;

	virtual bool QuitRequested();
	virtual void MessageReceived(BMessage* message);
	virtual bool SetLanguage(pelkan::TLang lang);

	TPrefView* PrefView() const { return fPrefView; }
	// The preferences the user last confirmed (gPref without a view): what
	// may be saved while the window holds edits in gPref.
	const TPref& ConfirmedPref() const;

private:
	void _SetWinTitle();

	status_t fInitStatus;
	TPrefView* fPrefView;
};

#endif
