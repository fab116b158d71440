#include "PKNDlgWin.h"

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <InterfaceKit.h>
#include <Message.h>
#include <Messenger.h>

#include "PKNDlgView.h"
#include "SCFilter.h"

TPKNDlgWin::TPKNDlgWin(BRect frame, const char* title, window_type type, uint32 flags,
	uint32 workspace)
	:
	TPKNWin(frame, title, type, flags, workspace),
	fTarget(NULL),
	fMessage(NULL),
	fDialogView(NULL)
{
	AddCommonFilter(new pelkan::TSCFilter(NULL));
}


TPKNDlgWin::~TPKNDlgWin()
{
	delete fMessage;
}


void
TPKNDlgWin::MessageReceived(BMessage* message)
{
	if (message->what == B_KEY_DOWN)
		KeyDown(message);
	else
		TPKNWin::MessageReceived(message);
}


// Every window shares the GUI thread: the priorities are recorded only.
void
TPKNDlgWin::Show()
{
	BPrivate::record_window_priority(this, B_DISPLAY_PRIORITY);
	TPKNWin::Show();
}


void
TPKNDlgWin::Hide()
{
	TPKNWin::Hide();
	BPrivate::record_window_priority(this, B_LOW_PRIORITY);
}


void
TPKNDlgWin::AddMainChild(TPKNView* view)
{
	fDialogView = dynamic_cast<TPKNDlgView*>(view);
	TPKNWin::AddMainChild(view);
}


bool
TPKNDlgWin::SetLanguage(pelkan::TLang lang)
{
	TPKNWin::SetLanguage(lang);
	if (fDialogView != NULL)
		fDialogView->SetLanguage(lang);
	return true;
}


void
TPKNDlgWin::KeyDown(BMessage* message)
{
	int32 rawChar = 0;
	int32 key = 0;
	message->FindInt32("raw_char", &rawChar);
	message->FindInt32("key", &key);
	// Enter belongs to ShortCutDown alone: handed to the main view as well,
	// the window would press its default button a second time.
	if (rawChar == B_ENTER && fDialogView != NULL)
		ShowMenu(rawChar);
	else
		TPKNWin::KeyDown(message);
	if (fDialogView != NULL)
		fDialogView->ShortCutDown(rawChar, key);
}


status_t
TPKNDlgWin::SetMessage(BMessage* message)
{
	if (fDialogView == NULL)
		return B_NO_INIT;
	delete fMessage;
	fMessage = message;
	return B_OK;
}


status_t
TPKNDlgWin::Invoke(BMessage* message)
{
	if (fTarget == NULL)
		return B_NO_INIT;
	BMessage* toSend = message != NULL ? message : fMessage;
	if (toSend == NULL)
		return B_BAD_VALUE;
	return BMessenger(fTarget).SendMessage(toSend, (BHandler*)NULL, B_INFINITE_TIMEOUT);
}
