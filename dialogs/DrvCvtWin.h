#ifndef DRV_CVT_WIN_H
#define DRV_CVT_WIN_H

#include "PKNDlgWin.h"

class TDrvCvtView;
class TVLT;

// The drive-letter settings window: edits the table of drive letters to
// paths of this system and, on OK, saves it and sends '_dcc' to its target.
class TDrvCvtWin : public TPKNDlgWin {
public:
	explicit TDrvCvtWin(BRect frame);

	// Takes the language table (not owned) and relabels the window; 0.
	int32 SetVLTRef(TVLT* table);
	void SetWinTitle();
	// Relabels and goes back to the saved table.
	void Update();

	TDrvCvtView* DrvCvtView() const { return fView; }

private:
	TDrvCvtView* fView;
	TVLT* fVLT;
};

#endif
