#ifndef BITMAPS_H
#define BITMAPS_H

class BBitmap;

// The picture stored in the executable's resources as 'RAWT' under that
// name, decoded; NULL when it is missing or undecodable. The caller owns it.
BBitmap* get_bitmap(const char* name);

namespace pelkan {

// The large (32 × 32) and mini (16 × 16) icons registered for the running
// application's signature, as new B_CMAP8 bitmaps the caller owns. An icon
// the type database does not hold leaves its pointer untouched. The icons the
// executable carries are registered first where none is.
void get_icons(BBitmap** large, BBitmap** mini);

}

#endif
