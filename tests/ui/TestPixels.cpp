#include "TestPixels.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

#include <Bitmap.h>
#include <InterfaceKit.h>
#include <TranslationUtils.h>

Pixel
pixel_at(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* bits = static_cast<const uint8*>(bitmap->Bits())
		+ y * bitmap->BytesPerRow() + x * 4;
	return Pixel{bits[0], bits[1], bits[2], bits[3]};
}


BBitmap*
grab_view(BView* view)
{
	char folder[] = "/tmp/ui-tests-XXXXXX";
	if (mkdtemp(folder) == nullptr)
		return nullptr;
	const std::string path = std::string(folder) + "/view.png";
	BBitmap* bitmap = nullptr;
	if (BPrivate::grab_view_png(view, path.c_str()) == B_OK)
		bitmap = BTranslationUtils::GetBitmap(path.c_str());
	unlink(path.c_str());
	rmdir(folder);
	return bitmap;
}


Pixel
grab_pixel(BView* view, int32 x, int32 y)
{
	BBitmap* bitmap = grab_view(view);
	if (bitmap == nullptr)
		return Pixel{0, 0, 0, 0};
	const Pixel pixel = pixel_at(bitmap, x, y);
	delete bitmap;
	return pixel;
}

