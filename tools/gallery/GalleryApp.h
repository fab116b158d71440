#ifndef GALLERY_APP_H
#define GALLERY_APP_H

#include <string>

#include "PKNApp.h"

class GalleryWindow;

// Opens the gallery window in the centre of the screen; with a screen-shot
// path it writes the window there as a PNG and quits.
class GalleryApp : public TPKNApp {
public:
	explicit GalleryApp(const char* screenshot);

	virtual void ReadyToRun();
	virtual void MessageReceived(BMessage* message);

	// The process's exit status: 1 when the screen shot was not written.
	int Status() const { return fStatus; }

private:
	std::string fScreenshot;
	GalleryWindow* fWindow;
	int fStatus;
};

#endif
