#include <Bitmap.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include <QImage>

#include <InterfaceDefs.h>
#include <Message.h>
#include <View.h>

#include "BitmapQt.h"
#include "InterfaceQt.h"

B_REGISTER_ARCHIVABLE_CLASS(BBitmap);

namespace BPrivate {

struct BitmapData {
	BRect bounds;
	color_space space = B_NO_COLOR_SPACE;
	uint32 flags = 0;
	int32 bytesPerRow = 0;
	std::vector<uint8> bits;
	std::unique_ptr<QImage> image;
	std::vector<BView*> children;
	int32 lockCount = 0;
	status_t status = B_NO_INIT;
};

}

using BPrivate::BitmapData;

namespace {

int32
bytes_per_pixel(color_space space)
{
	switch (space) {
		case B_RGB32:
		case B_RGBA32:
			return 4;
		case B_RGB24:
			return 3;
		case B_RGB16:
		case B_RGB15:
		case B_RGBA15:
			return 2;
		case B_CMAP8:
		case B_GRAY8:
			return 1;
		default:
			return 0;
	}
}


int32
row_bytes(color_space space, int32 width)
{
	if (space == B_GRAY1)
		return ((width + 31) / 32) * 4;
	// 8- and 16-bit rows are padded to four bytes.
	return ((width * bytes_per_pixel(space) + 3) / 4) * 4;
}


// One pixel of `space` at `source` as a colour.
rgb_color
read_pixel(color_space space, const uint8* source)
{
	switch (space) {
		case B_RGBA32:
			return make_color(source[2], source[1], source[0], source[3]);
		case B_RGB32:
			return make_color(source[2], source[1], source[0]);
		case B_RGB24:
			return make_color(source[2], source[1], source[0]);
		case B_CMAP8:
			return system_colors()->color_list[source[0]];
		case B_GRAY8:
			return make_color(source[0], source[0], source[0]);
		default:
			return make_color(0, 0, 0, 0);
	}
}


uint8
palette_index(rgb_color color)
{
	if (color.alpha < 128)
		return B_TRANSPARENT_MAGIC_CMAP8;
	return system_colors()->index_map[((color.red >> 3) << 10) | ((color.green >> 3) << 5)
		| (color.blue >> 3)];
}


void
write_pixel(color_space space, uint8* target, rgb_color color)
{
	switch (space) {
		case B_RGBA32:
		case B_RGB32:
			target[0] = color.blue;
			target[1] = color.green;
			target[2] = color.red;
			target[3] = space == B_RGB32 ? 255 : color.alpha;
			break;
		case B_RGB24:
			target[0] = color.blue;
			target[1] = color.green;
			target[2] = color.red;
			break;
		case B_CMAP8:
			target[0] = palette_index(color);
			break;
		case B_GRAY8:
			target[0] = (uint8)((color.red * 30 + color.green * 59 + color.blue * 11) / 100);
			break;
		default:
			break;
	}
}

}	// namespace


BBitmap::BBitmap(BRect bounds, uint32 flags, color_space colorSpace, int32 bytesPerRow,
	screen_id)
	:
	fData(std::make_unique<BitmapData>())
{
	fData->flags = flags;
	fData->space = colorSpace;
	const int32 width = bounds.IsValid() ? (int32)std::lround(bounds.Width()) + 1 : 0;
	const int32 height = bounds.IsValid() ? (int32)std::lround(bounds.Height()) + 1 : 0;
	const int32 minimumRow = row_bytes(colorSpace, width);
	if (width <= 0 || height <= 0 || (bytes_per_pixel(colorSpace) == 0 && colorSpace != B_GRAY1)
		|| (bytesPerRow != B_ANY_BYTES_PER_ROW && bytesPerRow < minimumRow)) {
		fData->status = B_BAD_VALUE;
		return;
	}
	fData->bounds = bounds;
	fData->bytesPerRow = bytesPerRow == B_ANY_BYTES_PER_ROW ? minimumRow : bytesPerRow;
	fData->bits.assign((size_t)fData->bytesPerRow * height, 0);
	if ((flags & B_BITMAP_CLEAR_TO_WHITE) != 0) {
		for (int32 y = 0; y < height; y++) {
			for (int32 x = 0; x < width; x++) {
				write_pixel(colorSpace, fData->bits.data() + y * fData->bytesPerRow
					+ x * bytes_per_pixel(colorSpace), make_color(255, 255, 255));
			}
		}
	}
	fData->status = B_OK;
}


BBitmap::BBitmap(BRect bounds, color_space colorSpace, bool acceptsViews, bool)
	:
	BBitmap(bounds, acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0, colorSpace)
{
}


BBitmap::BBitmap(const BBitmap* source, bool acceptsViews, bool)
	:
	BBitmap(source != NULL ? source->Bounds() : BRect(),
		acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0,
		source != NULL ? source->ColorSpace() : B_NO_COLOR_SPACE)
{
	if (source != NULL && IsValid())
		fData->bits = source->fData->bits;
}


BBitmap::BBitmap(BMessage* archive)
	:
	BBitmap(BRect(), 0, B_NO_COLOR_SPACE)
{
	BRect bounds;
	int32 space;
	int32 flags = 0;
	const void* data;
	ssize_t size;
	if (archive == NULL || archive->FindRect("_frame", &bounds) != B_OK
		|| archive->FindInt32("_cspace", &space) != B_OK) {
		return;
	}
	archive->FindInt32("_bmflags", &flags);
	BBitmap copy(bounds, (uint32)flags, (color_space)space);
	if (!copy.IsValid() || archive->FindData("_data", B_RAW_TYPE, &data, &size) != B_OK
		|| size != copy.BitsLength()) {
		return;
	}
	std::swap(fData, copy.fData);
	memcpy(fData->bits.data(), data, size);
}


BBitmap::~BBitmap()
{
	while (!fData->children.empty()) {
		BView* child = fData->children.back();
		RemoveChild(child);
		delete child;
	}
}


BArchivable*
BBitmap::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "BBitmap"))
		return NULL;
	return new BBitmap(archive);
}


status_t
BBitmap::Archive(BMessage* archive, bool deep) const
{
	if (!IsValid())
		return B_NO_INIT;
	status_t status = BArchivable::Archive(archive, deep);
	if (status != B_OK)
		return status;
	archive->AddRect("_frame", fData->bounds);
	archive->AddInt32("_cspace", fData->space);
	archive->AddInt32("_bmflags", (int32)fData->flags);
	return archive->AddData("_data", B_RAW_TYPE, fData->bits.data(), BitsLength());
}


status_t
BBitmap::InitCheck() const
{
	return fData->status;
}


bool
BBitmap::IsValid() const
{
	return fData->status == B_OK;
}


void*
BBitmap::Bits() const
{
	return IsValid() ? fData->bits.data() : NULL;
}


int32
BBitmap::BitsLength() const
{
	return (int32)fData->bits.size();
}


int32
BBitmap::BytesPerRow() const
{
	return fData->bytesPerRow;
}


color_space
BBitmap::ColorSpace() const
{
	return fData->space;
}


BRect
BBitmap::Bounds() const
{
	return fData->bounds;
}


uint32
BBitmap::Flags() const
{
	return fData->flags;
}


void
BBitmap::SetBits(const void* data, int32 length, int32 offset, color_space colorSpace)
{
	// The original treats the data as rows of the bitmap's own width
	// without padding.
	const int32 width = IsValid() ? (int32)std::lround(fData->bounds.Width()) + 1 : 0;
	ImportBits(data, length, width * bytes_per_pixel(colorSpace), offset, colorSpace);
}


status_t
BBitmap::ImportBits(const void* data, int32 length, int32 bpr, int32 offset,
	color_space colorSpace)
{
	if (!IsValid() || data == NULL || length < 0 || offset < 0)
		return B_BAD_VALUE;
	const int32 sourcePixel = bytes_per_pixel(colorSpace);
	const int32 targetPixel = bytes_per_pixel(fData->space);
	if (sourcePixel == 0 || targetPixel == 0 || bpr < sourcePixel)
		return B_BAD_VALUE;
	if (colorSpace == fData->space && bpr == fData->bytesPerRow) {
		const int32 count = std::min(length, BitsLength() - offset);
		if (count > 0)
			memcpy(fData->bits.data() + offset, data, count);
		return B_OK;
	}
	const int32 width = (int32)std::lround(fData->bounds.Width()) + 1;
	const int32 height = (int32)std::lround(fData->bounds.Height()) + 1;
	const int32 firstPixel = offset / targetPixel;
	const uint8* source = static_cast<const uint8*>(data);
	for (int32 i = 0; (i + 1) * sourcePixel <= length; i++) {
		const int32 pixel = firstPixel + i;
		const int32 y = pixel / width;
		const int32 x = pixel % width;
		if (y >= height)
			break;
		const uint8* from = source + (i / width) * bpr + (i % width) * sourcePixel;
		if (from + sourcePixel > source + length)
			break;
		write_pixel(fData->space, fData->bits.data() + y * fData->bytesPerRow + x * targetPixel,
			read_pixel(colorSpace, from));
	}
	return B_OK;
}


status_t
BBitmap::ImportBits(const BBitmap* bitmap)
{
	if (bitmap == NULL || !bitmap->IsValid() || !IsValid()
		|| bitmap->Bounds().Width() != Bounds().Width()
		|| bitmap->Bounds().Height() != Bounds().Height()) {
		return B_BAD_VALUE;
	}
	return ImportBits(bitmap->Bits(), bitmap->BitsLength(), bitmap->BytesPerRow(), 0,
		bitmap->ColorSpace());
}


void
BBitmap::AddChild(BView* view)
{
	if (view == NULL || (fData->flags & B_BITMAP_ACCEPTS_VIEWS) == 0
		|| view->Parent() != NULL || view->Window() != NULL
		|| BPrivate::view_data(view).bitmap != NULL) {
		return;
	}
	fData->children.push_back(view);
	BPrivate::view_data(view).bitmap = this;
}


bool
BBitmap::RemoveChild(BView* view)
{
	auto found = std::find(fData->children.begin(), fData->children.end(), view);
	if (found == fData->children.end())
		return false;
	fData->children.erase(found);
	BPrivate::view_data(view).bitmap = NULL;
	return true;
}


int32
BBitmap::CountChildren() const
{
	return (int32)fData->children.size();
}


BView*
BBitmap::ChildAt(int32 index) const
{
	if (index < 0 || index >= CountChildren())
		return NULL;
	return fData->children[index];
}


BView*
BBitmap::FindView(const char* name) const
{
	for (BView* child : fData->children) {
		BView* found = child->FindView(name);
		if (found != NULL)
			return found;
	}
	return NULL;
}


bool
BBitmap::Lock()
{
	if (!IsValid())
		return false;
	fData->lockCount++;
	return true;
}


void
BBitmap::Unlock()
{
	if (fData->lockCount > 0)
		fData->lockCount--;
}


bool
BBitmap::IsLocked() const
{
	return fData->lockCount > 0;
}


QImage*
BBitmap::Private::Image(BBitmap* bitmap)
{
	BitmapData& data = *bitmap->fData;
	if (!bitmap->IsValid() || (data.space != B_RGBA32 && data.space != B_RGB32))
		return NULL;
	if (data.image == nullptr) {
		const int width = (int)std::lround(data.bounds.Width()) + 1;
		const int height = (int)std::lround(data.bounds.Height()) + 1;
		data.image = std::make_unique<QImage>(data.bits.data(), width, height,
			data.bytesPerRow,
			data.space == B_RGBA32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
	}
	return data.image.get();
}


QImage
BPrivate::bitmap_image(const BBitmap* bitmap)
{
	if (bitmap == NULL || !bitmap->IsValid())
		return QImage();
	const BRect bounds = bitmap->Bounds();
	const int width = (int)std::lround(bounds.Width()) + 1;
	const int height = (int)std::lround(bounds.Height()) + 1;
	QImage image(width, height, QImage::Format_ARGB32);
	const uint8* bits = static_cast<const uint8*>(bitmap->Bits());
	const int32 pixelSize = bytes_per_pixel(bitmap->ColorSpace());
	for (int y = 0; y < height; y++) {
		QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
		const uint8* source = bits + y * bitmap->BytesPerRow();
		for (int x = 0; x < width; x++) {
			const rgb_color color = read_pixel(bitmap->ColorSpace(), source + x * pixelSize);
			row[x] = qRgba(color.red, color.green, color.blue, color.alpha);
		}
	}
	return image;
}


BBitmap*
BPrivate::bitmap_from_image(const QImage& image, color_space space)
{
	if (image.isNull())
		return NULL;
	const QImage source = image.convertToFormat(QImage::Format_ARGB32);
	BBitmap* bitmap = new BBitmap(BRect(0, 0, source.width() - 1, source.height() - 1), space);
	if (!bitmap->IsValid()) {
		delete bitmap;
		return NULL;
	}
	uint8* bits = static_cast<uint8*>(bitmap->Bits());
	const int32 pixelSize = bytes_per_pixel(space);
	for (int y = 0; y < source.height(); y++) {
		const QRgb* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
		uint8* target = bits + y * bitmap->BytesPerRow();
		for (int x = 0; x < source.width(); x++) {
			write_pixel(space, target + x * pixelSize, make_color(qRed(row[x]),
				qGreen(row[x]), qBlue(row[x]), qAlpha(row[x])));
		}
	}
	return bitmap;
}
