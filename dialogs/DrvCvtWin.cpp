#include "DrvCvtWin.h"

#include <VLT.h>

#include "DrvCvtView.h"

TDrvCvtWin::TDrvCvtWin(BRect frame)
	:
	TPKNDlgWin(frame, "", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	fView(NULL),
	fVLT(NULL)
{
	frame.OffsetTo(0, 0);
	fView = new TDrvCvtView(frame);
	ResizeTo(fView->Bounds().Width(), fView->Bounds().Height());
	AddMainChild(fView);
}


int32
TDrvCvtWin::SetVLTRef(TVLT* table)
{
	fVLT = table;
	SetWinTitle();
	fView->SetVLTRef(table);
	fView->SetViewLabel();
	return 0;
}


void
TDrvCvtWin::SetWinTitle()
{
	if (fVLT != NULL)
		SetTitle(fVLT->Text("DLC_Drv_Cvt_Prefs_Win_Title"));
}


void
TDrvCvtWin::Update()
{
	SetWinTitle();
	fView->Update();
}
