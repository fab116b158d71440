#include <MimeType.h>

#include <algorithm>
#include <vector>

#include <Bitmap.h>

namespace {

bool
is_icon_size(icon_size which)
{
	return which == B_LARGE_ICON || which == B_MINI_ICON;
}


bool
fits_icon(const BBitmap* icon, icon_size which)
{
	const BRect bounds = icon->Bounds();
	return icon->IsValid() && bounds.IntegerWidth() + 1 == (int32)which
		&& bounds.IntegerHeight() + 1 == (int32)which;
}

}


status_t
BMimeType::SetIcon(const BBitmap* icon, icon_size which)
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (!is_icon_size(which))
		return B_BAD_VALUE;
	if (icon == NULL)
		return SetIconData(NULL, 0, which);
	if (!fits_icon(icon, which) || icon->ColorSpace() != B_CMAP8)
		return B_BAD_VALUE;

	// Rows are stored without the bitmap's padding.
	const size_t side = (size_t)which;
	std::vector<uint8> pixels(side * side);
	const uint8* bits = static_cast<const uint8*>(icon->Bits());
	for (size_t y = 0; y < side; y++)
		std::copy_n(bits + y * icon->BytesPerRow(), side, pixels.begin() + y * side);
	return SetIconData(pixels.data(), pixels.size(), which);
}


status_t
BMimeType::GetIcon(BBitmap* icon, icon_size which) const
{
	if (InitCheck() != B_OK)
		return InitCheck();
	if (icon == NULL || !is_icon_size(which) || !fits_icon(icon, which))
		return B_BAD_VALUE;

	const int32 side = (int32)which;
	// One byte more than an icon holds, so a longer stored icon is told
	// apart from a fitting one.
	std::vector<uint8> pixels((size_t)side * side + 1);
	size_t length = pixels.size();
	status_t status = GetIconData(pixels.data(), &length, which);
	if (status == B_BAD_VALUE || (status == B_OK && length != pixels.size() - 1))
		return B_BAD_DATA;
	if (status != B_OK)
		return status;
	return icon->ImportBits(pixels.data(), (int32)length, side, 0, B_CMAP8);
}
