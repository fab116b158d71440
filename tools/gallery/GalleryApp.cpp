#include "GalleryApp.h"

#include <cstdio>

#include <InterfaceKit.h>
#include <Message.h>

#include "GalleryWindow.h"

namespace {

const uint32 kMsgScreenshot = 'gsht';

}


GalleryApp::GalleryApp(const char* screenshot)
	:
	TPKNApp("application/x-vnd.PELKAN-VantuMIDI-Gallery"),
	fScreenshot(screenshot != NULL ? screenshot : ""),
	fWindow(NULL),
	fStatus(0)
{
}


void
GalleryApp::ReadyToRun()
{
	fWindow = new GalleryWindow;
	fWindow->SetPos(false, BPoint());
	fWindow->Appear();
	if (!fScreenshot.empty())
		PostMessage(kMsgScreenshot);
}


void
GalleryApp::MessageReceived(BMessage* message)
{
	if (message->what != kMsgScreenshot) {
		TPKNApp::MessageReceived(message);
		return;
	}
	if (BPrivate::grab_window_png(fWindow, fScreenshot.c_str()) != B_OK) {
		fprintf(stderr, "vantumidi-gallery: cannot write %s\n", fScreenshot.c_str());
		fStatus = 1;
	}
	Quit();
}
