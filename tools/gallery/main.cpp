#include <cstdio>
#include <cstring>
#include <string>

#include <InterfaceKit.h>
#include <Message.h>
#include <Window.h>

#include "GalleryWindow.h"
#include "PKNApp.h"

namespace {

const uint32 kMsgScreenshot = 'gsht';


class GalleryApp : public TPKNApp {
public:
	explicit GalleryApp(const char* screenshot)
		: TPKNApp("application/x-vnd.PELKAN-VantuMIDI-Gallery"),
		  fScreenshot(screenshot != NULL ? screenshot : ""),
		  fStatus(0)
	{
	}

	void ReadyToRun() override
	{
		fWindow = new GalleryWindow;
		fWindow->SetPos(false, BPoint());
		fWindow->Appear();
		if (!fScreenshot.empty())
			PostMessage(kMsgScreenshot);
	}

	void MessageReceived(BMessage* message) override
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

	int Status() const { return fStatus; }

private:
	std::string fScreenshot;
	GalleryWindow* fWindow = NULL;
	int fStatus;
};

}


int
main(int argc, char** argv)
{
	const char* screenshot = NULL;
	for (int i = 1; i < argc; i++) {
		if (strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
			screenshot = argv[++i];
	}
	BPrivate::init_interface_kit(argc, argv);
	int status = 0;
	{
		GalleryApp app(screenshot);
		app.Run();
		status = app.Status();
		for (int32 i = app.CountWindows() - 1; i >= 0; i--) {
			BWindow* window = app.WindowAt(i);
			if (window->Lock())
				window->Quit();
		}
	}
	BPrivate::shutdown_interface_kit();
	return status;
}
