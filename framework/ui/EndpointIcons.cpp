#include "EndpointIcons.h"

#include <memory>
#include <vector>

#include <Bitmap.h>

#include "Bitmaps.h"

namespace {

void
add_icon(BMessage* properties, const char* name, type_code type, const BBitmap* icon)
{
	if (icon == NULL)
		return;
	// Without the padding a bitmap's rows may have.
	const int32 side = icon->Bounds().IntegerWidth() + 1;
	std::vector<uint8> pixels;
	pixels.reserve((size_t)side * side);
	const uint8* bits = static_cast<const uint8*>(icon->Bits());
	for (int32 y = 0; y < side; y++)
		pixels.insert(pixels.end(), bits + y * icon->BytesPerRow(),
			bits + y * icon->BytesPerRow() + side);
	properties->AddData(name, type, pixels.data(), pixels.size());
}

}	// namespace


BMessage
pelkan::endpoint_icon_properties()
{
	BBitmap* large = NULL;
	BBitmap* mini = NULL;
	get_icons(&large, &mini);
	const std::unique_ptr<BBitmap> ownedLarge(large);
	const std::unique_ptr<BBitmap> ownedMini(mini);
	BMessage properties;
	add_icon(&properties, "be:large_icon", 'ICON', large);
	add_icon(&properties, "be:mini_icon", 'MICN', mini);
	return properties;
}
