#ifndef PKN_DLG_VIEW_H
#define PKN_DLG_VIEW_H

#include "Lang.h"
#include "PKNView.h"

// The main view of a dialog: on the panel colour, with keyboard
// accelerators. A control's accelerator is the first byte of its label
// ("Y・はい" → y); Enter clicks the focused button or the default button.
class TPKNDlgView : public TPKNView {
public:
	TPKNDlgView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	explicit TPKNDlgView(BMessage* archive);

	virtual bool SetLanguage(pelkan::TLang lang);
	// Dialogs override it to handle Escape and call this base for the rest.
	virtual void ShortCutDown(int32 rawChar, int32 key);

	// Operates the first control below `parent` (depth first, in child
	// order) whose accelerator is rawChar: a button is clicked, a check box
	// toggled and invoked, a radio button set and invoked, a menu field or
	// another control focused. False when none matches.
	bool ApplyCharShortCut(BView* parent, int32 rawChar, int32 key);
};

#endif
