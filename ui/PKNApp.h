#ifndef PKN_APP_H
#define PKN_APP_H

#include <Application.h>

// Message codes the menus send to the application.
enum {
	kMsgAuthorWeb = '_jaw',
	kMsgHelp = '_hlp',
	kMsgLanguageChanged = '_lgc'
};

// The application base of the framework: turns the menu codes for the
// author's web page, the help document and a language change into calls.
class TPKNApp : public BApplication {
public:
	explicit TPKNApp(const char* signature);

	virtual void MessageReceived(BMessage* message);

	virtual void LanguageChanged(BMessage* message);
	virtual void MItemAuthorWebClicked();
	virtual void MItemHelpClicked();
};

#endif
