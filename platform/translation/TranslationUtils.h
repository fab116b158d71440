#ifndef _TRANSLATION_UTILS_H
#define _TRANSLATION_UTILS_H

#include <SupportDefs.h>

class BBitmap;
class BPositionIO;

// Decodes pictures (PNG, JPEG, BMP, GIF …) into B_RGBA32 bitmaps: B,G,R,A
// bytes, not premultiplied; pictures without alpha come out opaque.
class BTranslationUtils {
public:
	// From a file; NULL when it is missing or not a picture.
	static BBitmap* GetBitmap(const char* path);
	// From the application's resource of that type and name.
	static BBitmap* GetBitmap(uint32 type, const char* name);
	static BBitmap* GetBitmap(uint32 type, int32 id);
	static BBitmap* GetBitmapFile(const char* path);
	// From a stream, read from its current position to its end.
	static BBitmap* GetBitmap(BPositionIO* stream);
};

#endif
