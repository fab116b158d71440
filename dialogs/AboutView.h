#ifndef ABOUT_VIEW_H
#define ABOUT_VIEW_H

#include "PKNDlgView.h"

class BButton;
class BTabView;
class TAboutViewAbout;
class TAboutViewLang;
class TAboutViewLoader;
class TVLT;

// The about window's main view, made from its layout archive: three tabs
// (About, Language, Loader) above an OK button that hides the window.
class TAboutView : public TPKNDlgView {
public:
	explicit TAboutView(BMessage* archive);

	// B_OK once the archive held the tab view with its three tabs and the
	// OK button; else the view shows nothing of its own.
	status_t InitCheck() const;

	virtual void AllAttached();
	virtual void MessageReceived(BMessage* message);
	virtual void ShortCutDown(int32 rawChar, int32 key);

	// The table stays the caller's; the tabs are labelled from it.
	virtual void SetVLTRef(TVLT* table);
	bool SetAppInfo(const char* name, const char* version, const char* author);

	BTabView* TabView() const { return fTabView; }
	BButton* OKButton() const { return fOK; }
	TAboutViewAbout* AboutTab() const { return fAbout; }
	TAboutViewLang* LanguageTab() const { return fLang; }
	TAboutViewLoader* LoaderTab() const { return fLoader; }

private:
	void _MakeRoomForPicture();
	void _SetViewProp();
	void _SetViewLabel();

	BButton* fOK;
	BTabView* fTabView;
	TAboutViewAbout* fAbout;
	TAboutViewLang* fLang;
	TAboutViewLoader* fLoader;
	TVLT* fVLT;
};

#endif
