#include "AboutView.h"

#include <Button.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <Tab.h>
#include <TabView.h>
#include <VLT.h>
#include <Window.h>

#include "AboutViewAbout.h"
#include "AboutViewLang.h"
#include "AboutViewLoader.h"
#include "AppMessages.h"
#include "WindowFunctions.h"

namespace {

const uint32 kMsgOK = '_ok';

const int32 kTabCount = 3;

}	// namespace


TAboutView::TAboutView(BMessage* archive)
	:
	TPKNDlgView(archive),
	fOK(dynamic_cast<BButton*>(FindView("ButtonOK"))),
	fTabView(dynamic_cast<BTabView*>(FindView("TabViewAbout"))),
	fAbout(NULL),
	fLang(NULL),
	fLoader(NULL),
	fVLT(NULL)
{
	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	if (fOK == NULL || fTabView == NULL || fTabView->CountTabs() != kTabCount)
		return;
	_MakeRoomForPicture();
	BRect content = fTabView->Bounds();
	content.bottom -= fTabView->TabHeight();
	fAbout = new TAboutViewAbout(content);
	fLang = new TAboutViewLang(content);
	fLoader = new TAboutViewLoader(content);
	fTabView->TabAt(0)->SetView(fAbout);
	fTabView->TabAt(1)->SetView(fLang);
	fTabView->TabAt(2)->SetView(fLoader);
	fOK->SetMessage(new BMessage(kMsgOK));
}


status_t
TAboutView::InitCheck() const
{
	return fAbout != NULL ? B_OK : B_NO_INIT;
}


void
TAboutView::AllAttached()
{
	TPKNDlgView::AllAttached();
	if (InitCheck() != B_OK)
		return;
	fOK->SetTarget(this);
	fOK->MakeFocus(true);
	_SetViewProp();
	_SetViewLabel();
}


void
TAboutView::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgOK:
			Window()->Hide();
			break;
		case kMsgNodeLanguageChanged:
			if (fLang != NULL)
				fLang->SetNeedSetList();
			break;
		case kMsgLoaderFolderChanged:
			if (fLoader != NULL)
				fLoader->SetNeedSetList();
			break;
		default:
			TPKNDlgView::MessageReceived(message);
	}
}


void
TAboutView::ShortCutDown(int32 rawChar, int32 key)
{
	if (rawChar == B_ESCAPE && fOK != NULL)
		pelkan::click_button(fOK);
	else
		TPKNDlgView::ShortCutDown(rawChar, key);
}


void
TAboutView::SetVLTRef(TVLT* table)
{
	BWindow* window = Window();
	if (window != NULL && !window->Lock())
		return;
	fVLT = table;
	if (fVLT != NULL && InitCheck() == B_OK) {
		_SetViewLabel();
		fTabView->Invalidate();
		fLang->SetVLTRef(fVLT);
		fLoader->SetVLTRef(fVLT);
	}
	if (window != NULL)
		window->Unlock();
}


bool
TAboutView::SetAppInfo(const char* name, const char* version, const char* author)
{
	return fAbout != NULL && fAbout->SetAppInfo(name, version, author);
}


// The layout leaves a tab bar about 20 pixels; with a taller one (the
// desktop's style and fonts decide) the picture at the foot of the About
// tab would be cut: the tab view grows by the missing rows, the OK button
// moves down with its bottom and the view grows to hold both.
void
TAboutView::_MakeRoomForPicture()
{
	const float contentBottom = fTabView->Bounds().bottom - fTabView->TabHeight();
	const float missing = TAboutViewAbout::PictureFrame().bottom - contentBottom;
	if (missing <= 0)
		return;
	const BRect tabFrame = fTabView->Frame();
	const BRect okFrame = fOK->Frame();
	// Set each frame after the view's growth, whatever the children's
	// resizing modes made of it.
	ResizeBy(0, missing);
	fTabView->MoveTo(tabFrame.LeftTop());
	fTabView->ResizeTo(tabFrame.Width(), tabFrame.Height() + missing);
	fOK->MoveTo(okFrame.left, okFrame.top + missing);
	fOK->ResizeTo(okFrame.Width(), okFrame.Height());
}


void
TAboutView::_SetViewProp()
{
	fTabView->SetTabWidth(B_WIDTH_AS_USUAL);
	fTabView->Select(0);
	Window()->SetDefaultButton(fOK);
}


void
TAboutView::_SetViewLabel()
{
	if (fVLT == NULL)
		return;
	fTabView->TabAt(0)->SetLabel(fVLT->Text("About_Win_Tab_About"));
	fTabView->TabAt(1)->SetLabel(fVLT->Text("About_Win_Tab_Lang"));
	fTabView->TabAt(2)->SetLabel(fVLT->Text("About_Win_Tab_Loader"));
	fOK->SetLabel(fVLT->Text("Button_OK"));
}
