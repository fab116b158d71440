#include "AboutWin.h"

#include <string>

#include <Message.h>
#include <VLT.h>

#include "AboutView.h"
#include "ViewArchive.h"
#include "AppConstants.h"
#include "AppMessages.h"

namespace {

const char kArchiveName[] = "AboutViewRsrc";

}	// namespace


TAboutWin::TAboutWin(BRect frame)
	:
	TPKNDlgWin(frame, "AboutWin", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	fInitStatus(B_NO_INIT),
	fAboutView(NULL),
	fVLT(NULL)
{
	BMessage archive;
	if (!load_view_archive(kArchiveName, &archive))
		return;
	TAboutView* view = new TAboutView(&archive);
	if (view->InitCheck() != B_OK) {
		delete view;
		return;
	}
	fAboutView = view;
	ResizeTo(fAboutView->Bounds().Width(), fAboutView->Bounds().Height());
	AddMainChild(fAboutView);
	fInitStatus = B_OK;
}


status_t
TAboutWin::InitCheck() const
{
	return fInitStatus;
}


int32
TAboutWin::SetVLTRef(TVLT* table)
{
	if (table == NULL)
		return -1;
	fVLT = table;
	_SetWinTitle();
	if (fAboutView != NULL)
		fAboutView->SetVLTRef(fVLT);
	return 0;
}


bool
TAboutWin::SetAppInfo(const char* name, const char* version, const char* author)
{
	if (fAboutView != NULL)
		fAboutView->SetAppInfo(name, version, author);
	return true;
}


void
TAboutWin::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgNodeLanguageChanged:
		case kMsgLoaderFolderChanged:
			if (fAboutView != NULL)
				PostMessage(message, fAboutView);
			break;
		default:
			TPKNDlgWin::MessageReceived(message);
	}
}


void
TAboutWin::_SetWinTitle()
{
	const std::string title = std::string(fVLT->Text("About_Win_Win_Title_1")) + gAppName
		+ fVLT->Text("About_Win_Win_Title_2");
	SetTitle(title.c_str());
}
