#include "PKNApp.h"

#include <Message.h>

TPKNApp::TPKNApp(const char* signature)
	:
	BApplication(signature)
{
}


void
TPKNApp::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case kMsgAuthorWeb:
			MItemAuthorWebClicked();
			break;
		case kMsgHelp:
			MItemHelpClicked();
			break;
		case kMsgLanguageChanged:
			LanguageChanged(message);
			break;
		default:
			BApplication::MessageReceived(message);
	}
}


void
TPKNApp::LanguageChanged(BMessage* /*message*/)
{
}


void
TPKNApp::MItemAuthorWebClicked()
{
}


void
TPKNApp::MItemHelpClicked()
{
}
