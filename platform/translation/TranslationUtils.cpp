#include <TranslationUtils.h>

#include <vector>

#include <QByteArray>
#include <QImage>

#include <Application.h>
#include <Bitmap.h>
#include <DataIO.h>
#include <Resources.h>

#include "ViewQt.h"

namespace {

BBitmap*
decode(const void* data, size_t size)
{
	if (data == NULL || size == 0)
		return NULL;
	BPrivate::ensure_interface_kit();
	QImage image;
	if (!image.loadFromData(static_cast<const uchar*>(data), (int)size))
		return NULL;
	return BPrivate::bitmap_from_image(image, B_RGBA32);
}

}	// namespace


BBitmap*
BTranslationUtils::GetBitmap(const char* path)
{
	return GetBitmapFile(path);
}


BBitmap*
BTranslationUtils::GetBitmapFile(const char* path)
{
	if (path == NULL)
		return NULL;
	BPrivate::ensure_interface_kit();
	QImage image;
	if (!image.load(QString::fromUtf8(path)))
		return NULL;
	return BPrivate::bitmap_from_image(image, B_RGBA32);
}


BBitmap*
BTranslationUtils::GetBitmap(uint32 type, const char* name)
{
	BResources* resources = BApplication::AppResources();
	if (resources == NULL || name == NULL)
		return NULL;
	size_t size = 0;
	const void* data = resources->LoadResource(type, name, &size);
	return decode(data, size);
}


BBitmap*
BTranslationUtils::GetBitmap(uint32 type, int32 id)
{
	BResources* resources = BApplication::AppResources();
	if (resources == NULL)
		return NULL;
	size_t size = 0;
	const void* data = resources->LoadResource(type, id, &size);
	return decode(data, size);
}


BBitmap*
BTranslationUtils::GetBitmap(BPositionIO* stream)
{
	if (stream == NULL)
		return NULL;
	std::vector<char> bytes;
	char buffer[16384];
	ssize_t count;
	while ((count = stream->Read(buffer, sizeof(buffer))) > 0)
		bytes.insert(bytes.end(), buffer, buffer + count);
	return decode(bytes.data(), bytes.size());
}
