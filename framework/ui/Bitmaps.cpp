#include "Bitmaps.h"

#include <Application.h>
#include <Bitmap.h>
#include <MimeType.h>
#include <TranslationUtils.h>

namespace {

const uint32 kPictureResourceType = 'RAWT';


BBitmap*
icon_bitmap(const BMimeType& type, icon_size size)
{
	const float last = (float)size - 1;
	BBitmap* bitmap = new BBitmap(BRect(0, 0, last, last), B_CMAP8);
	if (type.GetIcon(bitmap, size) != B_OK) {
		delete bitmap;
		return NULL;
	}
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
