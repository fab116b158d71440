#include "Bitmaps.h"

#include <memory>

#include <Application.h>
#include <Bitmap.h>
#include <InterfaceKit.h>
#include <MimeType.h>
#include <TranslationUtils.h>

namespace {

const uint32 kPictureResourceType = 'RAWT';


std::unique_ptr<BBitmap>
new_icon(icon_size size)
{
	const float last = (float)size - 1;
	return std::make_unique<BBitmap>(BRect(0, 0, last, last), B_CMAP8);
}


BBitmap*
icon_bitmap(const BMimeType& type, icon_size size)
{
	std::unique_ptr<BBitmap> bitmap = new_icon(size);
	if (type.GetIcon(bitmap.get(), size) != B_OK)
		return NULL;
	return bitmap.release();
}


// The original platform registered an application's type with the icons of
// its executable when it first saw the program; here the program carries
// its icon as PNG images (InterfaceKit.h) and registers the sizes of the
// type database the first time they are asked for. An icon already stored
// is left as it is.
void
register_executable_icon(BMimeType* type, icon_size size)
{
	std::unique_ptr<BBitmap> stored = new_icon(size);
	if (type->GetIcon(stored.get(), size) == B_OK)
		return;
	std::unique_ptr<BBitmap> picture(BTranslationUtils::GetBitmap(
		BPrivate::kApplicationIconType, (int32)size));
	if (!picture || picture->Bounds() != stored->Bounds())
		return;
	if (stored->ImportBits(picture.get()) == B_OK)
		type->SetIcon(stored.get(), size);
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
	if (type.InitCheck() != B_OK)
		return;
	register_executable_icon(&type, B_LARGE_ICON);
	register_executable_icon(&type, B_MINI_ICON);
	if (!type.IsInstalled())
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
