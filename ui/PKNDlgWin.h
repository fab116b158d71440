#ifndef PKN_DLG_WIN_H
#define PKN_DLG_WIN_H

#include "PKNWin.h"

class TPKNDlgView;

// A dialog window: its dialog keys (Control + letter, Enter, Escape,
// function keys) reach the dialog view whatever control has the focus, and
// it reports to a target with Invoke().
class TPKNDlgWin : public TPKNWin {
public:
	TPKNDlgWin(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~TPKNDlgWin();

	virtual void MessageReceived(BMessage* message);
	virtual void Show();
	virtual void Hide();

	virtual void AddMainChild(TPKNView* view);
	virtual bool SetLanguage(pelkan::TLang lang);
	virtual void KeyDown(BMessage* message);

	void SetTarget(BHandler* handler) { fTarget = handler; }
	BHandler* Target() const { return fTarget; }
	// Takes ownership of `message`. B_NO_INIT, and nothing kept, while the
	// window has no dialog view.
	status_t SetMessage(BMessage* message);
	BMessage* Message() const { return fMessage; }
	// Sends `message`, or the default message, to the target and waits for
	// its delivery. B_NO_INIT without a target, B_BAD_VALUE with nothing to
	// send.
	status_t Invoke(BMessage* message = NULL);

	TPKNDlgView* DialogView() const { return fDialogView; }

private:
	BHandler* fTarget;
	BMessage* fMessage;
	TPKNDlgView* fDialogView;
};

#endif
