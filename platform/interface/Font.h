#ifndef _FONT_H
#define _FONT_H

#include <string>

#include <SupportDefs.h>

#define B_FONT_FAMILY_LENGTH 63
#define B_FONT_STYLE_LENGTH 63
typedef char font_family[B_FONT_FAMILY_LENGTH + 1];
typedef char font_style[B_FONT_STYLE_LENGTH + 1];

// Which properties BView::SetFont copies.
enum {
	B_FONT_FAMILY_AND_STYLE = 0x00000001,
	B_FONT_SIZE = 0x00000002,
	B_FONT_SHEAR = 0x00000004,
	B_FONT_ROTATION = 0x00000008,
	B_FONT_SPACING = 0x00000010,
	B_FONT_ENCODING = 0x00000020,
	B_FONT_FACE = 0x00000040,
	B_FONT_FLAGS = 0x00000080,
	B_FONT_FALSE_BOLD_WIDTH = 0x00000100,
	B_FONT_ALL = 0x000001FF
};

enum {
	B_ITALIC_FACE = 0x0001,
	B_UNDERSCORE_FACE = 0x0002,
	B_NEGATIVE_FACE = 0x0004,
	B_OUTLINED_FACE = 0x0008,
	B_STRIKEOUT_FACE = 0x0010,
	B_BOLD_FACE = 0x0020,
	B_REGULAR_FACE = 0x0040
};

struct font_height {
	float ascent;
	float descent;
	float leading;
};

// A font description: family, style, size in pixels and face. Measuring
// needs the interface layer's application, which it creates on first use.
class BFont {
public:
	// A copy of be_plain_font.
	BFont();
	BFont(const BFont& font);
	BFont(const BFont* font);

	BFont& operator=(const BFont& font);
	bool operator==(const BFont& font) const;
	bool operator!=(const BFont& font) const;

	status_t SetFamilyAndStyle(const font_family family, const font_style style);
	void GetFamilyAndStyle(font_family* family, font_style* style) const;
	void SetSize(float size);
	float Size() const;
	void SetShear(float shear);
	float Shear() const;
	void SetRotation(float rotation);
	float Rotation() const;
	void SetFace(uint16 face);
	uint16 Face() const;
	void SetFlags(uint32 flags);
	uint32 Flags() const;

	void GetHeight(font_height* height) const;
	float StringWidth(const char* string) const;
	float StringWidth(const char* string, int32 length) const;
	void GetStringWidths(const char* stringArray[], const int32 lengthArray[],
		int32 numStrings, float widthArray[]) const;

	// Copies the properties `mask` names from `font`.
	void CopyFrom(const BFont& font, uint32 mask);

private:
	std::string fFamily;
	std::string fStyle;
	float fSize;
	float fShear;
	float fRotation;
	uint16 fFace;
	uint32 fFlags;
};

// The layer's fonts: the plain font is small enough for 12-pixel list rows
// and has Japanese glyphs.
extern const BFont* be_plain_font;
extern const BFont* be_bold_font;
extern const BFont* be_fixed_font;

#endif
