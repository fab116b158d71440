#ifndef _BITMAP_QT_H
#define _BITMAP_QT_H

#include <Bitmap.h>

class QImage;

// What views need of a bitmap that accepts them.
class BBitmap::Private {
public:
	// An image over the bitmap's own pixels (32-bit bitmaps only), for
	// drawing into it; NULL for other colour spaces.
	static QImage* Image(BBitmap* bitmap);
};

#endif
