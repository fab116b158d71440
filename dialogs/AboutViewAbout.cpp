#include "AboutViewAbout.h"

#include <Box.h>
#include <StringView.h>
#include <Window.h>

#include "Bitmaps.h"

namespace {

const rgb_color kBackground = {216, 216, 216, 255};
const BPoint kIconPlace(10, 10);
// The picture is 319 × 208 pixels, below the line under the texts.
const BRect kPictureFrame(0, 165, 318, 372);


BStringView*
new_centred_text(BRect frame, const char* name)
{
	BStringView* view = new BStringView(frame, name, "");
	view->SetAlignment(B_ALIGN_CENTER);
	return view;
}

}	// namespace


TAboutViewAbout::TAboutViewAbout(BRect frame)
	:
	BView(frame, "About", B_FOLLOW_ALL, B_WILL_DRAW),
	fAppName(new_centred_text(BRect(50, 20, 230, 32), "StrViewAppName")),
	fAppVer(new_centred_text(BRect(240, 20, 310, 32), "StrViewAppVer")),
	fCright(new_centred_text(BRect(10, 50, 310, 62), "StrViewCright")),
	fPicture(get_bitmap("AboutImage"))
{
	SetViewColor(kBackground);
	SetDrawingMode(B_OP_ALPHA);
	AddChild(fAppName);
	AddChild(fAppVer);
	AddChild(fCright);
	AddChild(new BBox(BRect(0, 75, 320, 76), "BoxSep1", B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW, B_PLAIN_BORDER));
	BBitmap* icon = NULL;
	pelkan::get_icons(&icon, NULL);
	fIcon.reset(icon);
}


void
TAboutViewAbout::Draw(BRect /*updateRect*/)
{
	if (fIcon != NULL)
		DrawBitmap(fIcon.get(), kIconPlace);
	if (fPicture != NULL)
		DrawBitmap(fPicture.get(), kPictureFrame.LeftTop());
}


bool
TAboutViewAbout::SetAppInfo(const char* name, const char* version, const char* author)
{
	BWindow* window = Window();
	if (window != NULL && !window->Lock())
		return false;
	fAppName->SetText(name);
	fAppVer->SetText(version);
	fCright->SetText(author);
	if (window != NULL)
		window->Unlock();
	return true;
}


BRect
TAboutViewAbout::PictureFrame()
{
	return kPictureFrame;
}
