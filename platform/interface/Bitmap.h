#ifndef _BITMAP_H
#define _BITMAP_H

#include <memory>

#include <Archivable.h>
#include <GraphicsDefs.h>
#include <Rect.h>

class BView;

namespace BPrivate {
struct BitmapData;
}

enum {
	B_BITMAP_CLEAR_TO_WHITE = 0x00000001,
	B_BITMAP_ACCEPTS_VIEWS = 0x00000002,
	B_BITMAP_IS_AREA = 0x00000004,
	B_BITMAP_IS_LOCKED = 0x00000008 | B_BITMAP_IS_AREA,
	B_BITMAP_IS_CONTIGUOUS = 0x00000010 | B_BITMAP_IS_LOCKED,
	B_BITMAP_IS_OFFSCREEN = 0x00000020,
	B_BITMAP_WILL_OVERLAY = 0x00000040 | B_BITMAP_IS_OFFSCREEN,
	B_BITMAP_RESERVE_OVERLAY_CHANNEL = 0x00000080,
	B_BITMAP_NO_SERVER_LINK = 0x00000200
};

#define B_ANY_BYTES_PER_ROW (-1)

// Pixels in memory. B_RGBA32 / B_RGB32 pixels are four bytes in blue, green,
// red, alpha order, not premultiplied; B_CMAP8 pixels index the system
// palette (B_TRANSPARENT_MAGIC_CMAP8 is transparent). Rows start every
// BytesPerRow() bytes: 32-bit rows are width * 4, 8-bit rows are padded to
// four bytes as on the original platform.
//
// A bitmap that accepts views can hold views that draw into it while the
// bitmap is locked.
class BBitmap : public BArchivable {
public:
	BBitmap(BRect bounds, uint32 flags, color_space colorSpace,
		int32 bytesPerRow = B_ANY_BYTES_PER_ROW, screen_id screenID = B_MAIN_SCREEN_ID);
	BBitmap(BRect bounds, color_space colorSpace, bool acceptsViews = false,
		bool needsContiguous = false);
	BBitmap(const BBitmap* source, bool acceptsViews = false, bool needsContiguous = false);
	BBitmap(BMessage* archive);
	virtual ~BBitmap();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	status_t InitCheck() const;
	bool IsValid() const;

	void* Bits() const;
	int32 BitsLength() const;
	int32 BytesPerRow() const;
	color_space ColorSpace() const;
	BRect Bounds() const;
	uint32 Flags() const;

	// Copies `length` bytes of `data`, laid out in `colorSpace`, into the
	// bitmap from byte `offset`, converting to the bitmap's colour space.
	void SetBits(const void* data, int32 length, int32 offset, color_space colorSpace);
	status_t ImportBits(const void* data, int32 length, int32 bpr, int32 offset,
		color_space colorSpace);
	// Copies and converts the pixels of another bitmap of the same size.
	status_t ImportBits(const BBitmap* bitmap);

	void AddChild(BView* view);
	bool RemoveChild(BView* view);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* name) const;

	bool Lock();
	void Unlock();
	bool IsLocked() const;

	class Private;

private:
	friend class Private;

	BBitmap(const BBitmap&) = delete;
	BBitmap& operator=(const BBitmap&) = delete;

	std::unique_ptr<BPrivate::BitmapData> fData;
};

#endif
