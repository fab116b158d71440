#include <Font.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include <QFontMetricsF>
#include <QString>

#include "ViewQt.h"

namespace {

// Small enough that ascent plus descent fit the 12-pixel rows of lists;
// Japanese text falls back to the installed CJK font.
constexpr const char* kPlainFamily = "DejaVu Sans";
constexpr const char* kFixedFamily = "DejaVu Sans Mono";
constexpr float kPlainSize = 10.0f;


BFont
make_font(const char* family, const char* style, uint16 face)
{
	BFont font(static_cast<const BFont*>(NULL));
	font.SetFamilyAndStyle(family, style);
	font.SetFace(face);
	return font;
}


const BFont sPlainFont = make_font(kPlainFamily, "Book", B_REGULAR_FACE);
const BFont sBoldFont = make_font(kPlainFamily, "Bold", B_BOLD_FACE);
const BFont sFixedFont = make_font(kFixedFamily, "Book", B_REGULAR_FACE);

}	// namespace

const BFont* be_plain_font = &sPlainFont;
const BFont* be_bold_font = &sBoldFont;
const BFont* be_fixed_font = &sFixedFont;


BFont::BFont()
	:
	BFont(be_plain_font)
{
}


BFont::BFont(const BFont& font) = default;


// A NULL font gives the plain font's description without reading
// be_plain_font, so the layer's own fonts can be made from it.
BFont::BFont(const BFont* font)
	:
	fFamily(font != NULL ? font->fFamily : kPlainFamily),
	fStyle(font != NULL ? font->fStyle : "Book"),
	fSize(font != NULL ? font->fSize : kPlainSize),
	fShear(font != NULL ? font->fShear : 90.0f),
	fRotation(font != NULL ? font->fRotation : 0.0f),
	fFace(font != NULL ? font->fFace : (uint16)B_REGULAR_FACE),
	fFlags(font != NULL ? font->fFlags : 0)
{
}


BFont& BFont::operator=(const BFont& font) = default;


bool
BFont::operator==(const BFont& font) const
{
	return fFamily == font.fFamily && fStyle == font.fStyle && fSize == font.fSize
		&& fShear == font.fShear && fRotation == font.fRotation && fFace == font.fFace
		&& fFlags == font.fFlags;
}


bool
BFont::operator!=(const BFont& font) const
{
	return !(*this == font);
}


status_t
BFont::SetFamilyAndStyle(const font_family family, const font_style style)
{
	if (family != NULL)
		fFamily = family;
	if (style != NULL) {
		fStyle = style;
		fFace = strstr(style, "Bold") != NULL ? (uint16)B_BOLD_FACE : (uint16)B_REGULAR_FACE;
	}
	return B_OK;
}


void
BFont::GetFamilyAndStyle(font_family* family, font_style* style) const
{
	if (family != NULL)
		snprintf(*family, sizeof(font_family), "%s", fFamily.c_str());
	if (style != NULL)
		snprintf(*style, sizeof(font_style), "%s", fStyle.c_str());
}


void BFont::SetSize(float size) { fSize = size; }
float BFont::Size() const { return fSize; }
void BFont::SetShear(float shear) { fShear = shear; }
float BFont::Shear() const { return fShear; }
void BFont::SetRotation(float rotation) { fRotation = rotation; }
float BFont::Rotation() const { return fRotation; }
void BFont::SetFace(uint16 face) { fFace = face; }
uint16 BFont::Face() const { return fFace; }
void BFont::SetFlags(uint32 flags) { fFlags = flags; }
uint32 BFont::Flags() const { return fFlags; }


void
BFont::GetHeight(font_height* height) const
{
	if (height == NULL)
		return;
	BPrivate::ensure_interface_kit();
	QFontMetricsF metrics(BPrivate::to_qfont(*this));
	height->ascent = (float)metrics.ascent();
	height->descent = (float)metrics.descent();
	height->leading = (float)metrics.leading();
}


float
BFont::StringWidth(const char* string) const
{
	return string != NULL ? StringWidth(string, (int32)strlen(string)) : 0;
}


float
BFont::StringWidth(const char* string, int32 length) const
{
	if (string == NULL || length <= 0)
		return 0;
	BPrivate::ensure_interface_kit();
	QFontMetricsF metrics(BPrivate::to_qfont(*this));
	return (float)metrics.horizontalAdvance(QString::fromUtf8(string, length));
}


void
BFont::GetStringWidths(const char* stringArray[], const int32 lengthArray[],
	int32 numStrings, float widthArray[]) const
{
	for (int32 i = 0; i < numStrings; i++)
		widthArray[i] = StringWidth(stringArray[i], lengthArray[i]);
}


void
BFont::CopyFrom(const BFont& font, uint32 mask)
{
	if ((mask & B_FONT_FAMILY_AND_STYLE) != 0) {
		fFamily = font.fFamily;
		fStyle = font.fStyle;
	}
	if ((mask & B_FONT_SIZE) != 0)
		fSize = font.fSize;
	if ((mask & B_FONT_SHEAR) != 0)
		fShear = font.fShear;
	if ((mask & B_FONT_ROTATION) != 0)
		fRotation = font.fRotation;
	if ((mask & B_FONT_FACE) != 0)
		fFace = font.fFace;
	if ((mask & B_FONT_FLAGS) != 0)
		fFlags = font.fFlags;
}


QFont
BPrivate::to_qfont(const BFont& font)
{
	font_family family;
	font.GetFamilyAndStyle(&family, NULL);
	QFont result(QString::fromUtf8(family));
	// Be sizes are pixels. Qt takes whole pixels; round to the nearest.
	result.setPixelSize(std::max(1, (int)std::lround(font.Size())));
	result.setBold((font.Face() & B_BOLD_FACE) != 0);
	result.setItalic((font.Face() & B_ITALIC_FACE) != 0);
	result.setUnderline((font.Face() & B_UNDERSCORE_FACE) != 0);
	result.setStrikeOut((font.Face() & B_STRIKEOUT_FACE) != 0);
	result.setStyleStrategy(QFont::PreferAntialias);
	return result;
}
