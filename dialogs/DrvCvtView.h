#ifndef DRV_CVT_VIEW_H
#define DRV_CVT_VIEW_H

#include <DrvCvt.h>

#include "PKNDlgView.h"

class BBox;
class BButton;
class BListView;
class BPopUpMenu;
class BStringView;
class BTextControl;
class TVLT;

// Codes of the drive-letter view's controls.
enum {
	kMsgDrvCvtLetterChosen = 'wdlc',
	kMsgDrvCvtTableSelected = 'tblc',
	kMsgDrvCvtRegister = 'rgst',
	kMsgDrvCvtRemove = 'rmov',
	kMsgDrvCvtOK = '_ok',
	kMsgDrvCvtCancel = '_cnc'
};

// Edits a drive-letter table of its own: a letter is chosen in the pop-up
// menu, its path typed and registered, or a registered pair selected in the
// list and removed. OK saves the table and tells the window's target;
// Cancel goes back to the saved table. The window is hidden, never closed,
// so the view keeps its edits between the two.
class TDrvCvtView : public TPKNDlgView {
public:
	explicit TDrvCvtView(BRect frame);
	virtual ~TDrvCvtView();

	virtual void AttachedToWindow();
	virtual void MessageReceived(BMessage* message);
	virtual void ShortCutDown(int32 rawChar, int32 key);

	// The table gives the labels; it is not owned.
	void SetVLTRef(TVLT* table) { fVLT = table; }
	// Relabels the controls and fits the window to the new labels.
	void SetViewLabel();
	// Refills the list from the view's table in letter order; false when the
	// window cannot be locked.
	bool UpdateLViewTable();
	// Rereads the saved table, then refills the list.
	void UpdateDrvCvt();
	void Update();

	// The path field shows the marked letter's path.
	void MFieldWinDLChanged();

private:
	void _AddLViewItem(char letter, const BString& path);
	// The list view leaves its items to their owner.
	void _DeleteLViewItems();
	void _TableSelected();
	void _Register();
	void _Remove();
	void _OK();
	void _Cancel();
	// Widens the description, the buttons and with them the view and its
	// window, so that no label is cut; never narrower than the base layout.
	void _FitWidths();
	char _MarkedLetter() const;

	TDrvCvt fDrvCvt;
	TVLT* fVLT;
	BStringView* fDescription;
	BListView* fTable;
	BButton* fRemoveButton;
	BPopUpMenu* fLetterMenu;
	BTextControl* fPathControl;
	BButton* fRegisterButton;
	BBox* fSeparator;
	BButton* fCancelButton;
	BButton* fOKButton;
};

#endif
