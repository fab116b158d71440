#ifndef ABOUT_WIN_H
#define ABOUT_WIN_H

#include "PKNDlgWin.h"

class TAboutView;
class TVLT;

// The about window: the program, the installed languages and the installed
// loaders. It is made once and hidden between uses; without its layout
// resource it has no view and InitCheck() says so.
class TAboutWin : public TPKNDlgWin {
public:
	explicit TAboutWin(BRect frame);

	status_t InitCheck() const;

	// Titles the window and labels its view from the table, which stays
	// the caller's: 0, or -1 for no table.
	virtual int32 SetVLTRef(TVLT* table);
	bool SetAppInfo(const char* name, const char* version, const char* author);

	virtual void MessageReceived(BMessage* message);

	TAboutView* AboutView() const { return fAboutView; }

private:
	void _SetWinTitle();

	status_t fInitStatus;
	TAboutView* fAboutView;
	TVLT* fVLT;
};

#endif
