#ifndef ABOUT_VIEW_ABOUT_H
#define ABOUT_VIEW_ABOUT_H

#include <memory>

#include <Bitmap.h>
#include <View.h>

class BStringView;

// The about window's About tab: the program's icon, name, version and
// author above a line, and the program's picture below.
class TAboutViewAbout : public BView {
public:
	explicit TAboutViewAbout(BRect frame);

	virtual void Draw(BRect updateRect);

	// False when the window it is in cannot be locked.
	bool SetAppInfo(const char* name, const char* version, const char* author);

	// Where the picture's top-left corner is drawn, and how much room it takes.
	static BRect PictureFrame();

private:
	BStringView* fAppName;
	BStringView* fAppVer;
	BStringView* fCright;
	std::unique_ptr<BBitmap> fIcon;
	std::unique_ptr<BBitmap> fPicture;
};

#endif
