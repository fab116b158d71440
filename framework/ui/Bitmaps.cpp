#include "Bitmaps.h"

#include <vector>

#include <Application.h>
#include <Bitmap.h>
#include <MimeType.h>
#include <TranslationUtils.h>

namespace {

const uint32 kPictureResourceType = 'RAWT';


BBitmap*
icon_bitmap(const BMimeType& type, icon_size size)
{
	const int32 side = (int32)size;
	std::vector<uint8> pixels((size_t)side * side);
	size_t length = pixels.size();
	if (type.GetIconData(pixels.data(), &length, size) != B_OK || length != pixels.size())
		return NULL;
	BBitmap* bitmap = new BBitmap(BRect(0, 0, side - 1, side - 1), B_CMAP8);
	if (bitmap->InitCheck() != B_OK) {
		delete bitmap;
		return NULL;
	}
	bitmap->ImportBits(pixels.data(), (int32)length, side, 0, B_CMAP8);
	return bitmap;
}

}


BBitmap*
get_bitmap(const char* name)
{
	if (name == NULL)
		return NULL;
	return BTranslationUtils::GetBitmap(kPictureResourceType, name);
}


namespace pelkan {

void
get_icons(BBitmap** large, BBitmap** mini)
{
	if (be_app == NULL)
		return;
	BMimeType type(be_app->Signature());
	if (type.InitCheck() != B_OK || !type.IsInstalled())
		return;
	if (large != NULL) {
		if (BBitmap* icon = icon_bitmap(type, B_LARGE_ICON))
			*large = icon;
	}
	if (mini != NULL) {
		if (BBitmap* icon = icon_bitmap(type, B_MINI_ICON))
			*mini = icon;
	}
}

}
