#include <View.h>

#include <cstring>
#include <memory>

#include <QPainter>
#include <QPainterPath>

#include <Bitmap.h>

#include "BitmapQt.h"
#include "InterfaceQt.h"

using BPrivate::ViewData;

namespace {

// The painter for one drawing call: the view's current drawing pass, or
// one opened on the locked bitmap the view belongs to.
class DrawScope {
public:
	DrawScope(BView* view)
		:
		fPainter(BPrivate::view_painter(view))
	{
		if (fPainter != NULL)
			return;
		BPoint offset;
		const BView* root = view;
		for (; BPrivate::view_data(root).parent != NULL; root = root->Parent())
			root->ConvertToParent(&offset);
		root->ConvertToParent(&offset);
		BBitmap* bitmap = BPrivate::view_data(root).bitmap;
		if (bitmap == NULL || !bitmap->IsLocked())
			return;
		QImage* image = BBitmap::Private::Image(bitmap);
		if (image == NULL)
			return;
		fOwn = std::make_unique<QPainter>(image);
		fOwn->translate(offset.x, offset.y);
		fPainter = fOwn.get();
	}

	explicit operator bool() const { return fPainter != NULL; }
	QPainter* operator->() const { return fPainter; }
	QPainter* Get() const { return fPainter; }

private:
	QPainter* fPainter;
	std::unique_ptr<QPainter> fOwn;
};


QColor
mode_color(const ViewData& data, rgb_color color)
{
	QColor result = BPrivate::to_qcolor(color);
	if (data.drawingMode != B_OP_ALPHA)
		result.setAlpha(255);
	else if (data.sourceAlpha == B_CONSTANT_ALPHA)
		result.setAlpha(data.highColor.alpha);
	return result;
}


QBrush
pattern_brush(const ViewData& data, const ::pattern& pattern)
{
	const rgb_color high = data.drawingMode == B_OP_ERASE ? data.lowColor : data.highColor;
	if (pattern == B_SOLID_HIGH)
		return QBrush(mode_color(data, high));
	if (pattern == B_SOLID_LOW)
		return QBrush(mode_color(data, data.lowColor));
	QImage tile(8, 8, QImage::Format_ARGB32);
	const QRgb highPixel = mode_color(data, high).rgba();
	const QRgb lowPixel = mode_color(data, data.lowColor).rgba();
	for (int y = 0; y < 8; y++) {
		for (int x = 0; x < 8; x++)
			tile.setPixel(x, y, (pattern.data[y] & (0x80 >> x)) != 0 ? highPixel : lowPixel);
	}
	return QBrush(tile);
}


void
prepare(QPainter* painter, const ViewData& data, bool antialias)
{
	QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
	qreal opacity = 1.0;
	switch (data.drawingMode) {
		case B_OP_INVERT:
			mode = QPainter::RasterOp_SourceXorDestination;
			break;
		case B_OP_ADD:
			mode = QPainter::CompositionMode_Plus;
			break;
		case B_OP_SUBTRACT:
			mode = QPainter::CompositionMode_Difference;
			break;
		case B_OP_MIN:
			mode = QPainter::CompositionMode_Darken;
			break;
		case B_OP_MAX:
			mode = QPainter::CompositionMode_Lighten;
			break;
		case B_OP_BLEND:
			opacity = 0.5;
			break;
		default:
			break;
	}
	painter->setCompositionMode(mode);
	painter->setOpacity(opacity);
	painter->setRenderHint(QPainter::Antialiasing, antialias);
}


QBrush
fill_brush(const ViewData& data, const ::pattern& pattern)
{
	if (data.drawingMode == B_OP_INVERT)
		return QBrush(Qt::white);
	return pattern_brush(data, pattern);
}


void
stroke_pen(QPainter* painter, const ViewData& data, const ::pattern& pattern)
{
	QPen pen(fill_brush(data, pattern), std::max(1.0f, data.penSize), Qt::SolidLine,
		Qt::SquareCap, Qt::MiterJoin);
	painter->setPen(pen);
	painter->setBrush(Qt::NoBrush);
}


// The centre of a Be pixel in Qt's coordinates.
QPointF
pixel_center(BPoint point)
{
	return QPointF(point.x + 0.5, point.y + 0.5);
}


QRectF
fill_area(BRect rect)
{
	return QRectF(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
}

}	// namespace


QPainter*
BPrivate::view_painter(BView* view)
{
	return view_data(view).painter;
}


// #pragma mark - state


void
BView::SetViewColor(rgb_color color)
{
	fData->viewColor = color;
	Invalidate();
}


void
BView::SetViewColor(uchar red, uchar green, uchar blue, uchar alpha)
{
	SetViewColor(make_color(red, green, blue, alpha));
}


rgb_color
BView::ViewColor() const
{
	return fData->viewColor;
}


void
BView::SetHighColor(rgb_color color)
{
	fData->highColor = color;
}


void
BView::SetHighColor(uchar red, uchar green, uchar blue, uchar alpha)
{
	SetHighColor(make_color(red, green, blue, alpha));
}


rgb_color
BView::HighColor() const
{
	return fData->highColor;
}


void
BView::SetLowColor(rgb_color color)
{
	fData->lowColor = color;
}


void
BView::SetLowColor(uchar red, uchar green, uchar blue, uchar alpha)
{
	SetLowColor(make_color(red, green, blue, alpha));
}


rgb_color
BView::LowColor() const
{
	return fData->lowColor;
}


void
BView::SetDrawingMode(drawing_mode mode)
{
	fData->drawingMode = mode;
}


drawing_mode
BView::DrawingMode() const
{
	return fData->drawingMode;
}


void
BView::SetBlendingMode(source_alpha srcAlpha, alpha_function alphaFunc)
{
	fData->sourceAlpha = srcAlpha;
	fData->alphaFunction = alphaFunc;
}


void
BView::GetBlendingMode(source_alpha* srcAlpha, alpha_function* alphaFunc) const
{
	if (srcAlpha != NULL)
		*srcAlpha = fData->sourceAlpha;
	if (alphaFunc != NULL)
		*alphaFunc = fData->alphaFunction;
}


void
BView::SetPenSize(float size)
{
	fData->penSize = size;
}


float
BView::PenSize() const
{
	return fData->penSize;
}


void
BView::MovePenTo(BPoint where)
{
	fData->penLocation = where;
}


void
BView::MovePenTo(float x, float y)
{
	MovePenTo(BPoint(x, y));
}


void
BView::MovePenBy(float dx, float dy)
{
	MovePenTo(fData->penLocation.x + dx, fData->penLocation.y + dy);
}


BPoint
BView::PenLocation() const
{
	return fData->penLocation;
}


void
BView::SetFont(const BFont* font, uint32 mask)
{
	if (font == NULL)
		return;
	fData->font.CopyFrom(*font, mask);
	Invalidate();
}


void
BView::GetFont(BFont* font) const
{
	if (font != NULL)
		*font = fData->font;
}


void
BView::SetFontSize(float size)
{
	fData->font.SetSize(size);
	Invalidate();
}


void
BView::GetFontHeight(font_height* height) const
{
	fData->font.GetHeight(height);
}


float
BView::StringWidth(const char* string) const
{
	return fData->font.StringWidth(string);
}


float
BView::StringWidth(const char* string, int32 length) const
{
	return fData->font.StringWidth(string, length);
}


// #pragma mark - drawing


void
BView::StrokeLine(BPoint toPoint, ::pattern pattern)
{
	StrokeLine(fData->penLocation, toPoint, pattern);
}


void
BView::StrokeLine(BPoint start, BPoint end, ::pattern pattern)
{
	fData->penLocation = end;
	DrawScope painter(this);
	if (!painter)
		return;
	prepare(painter.Get(), *fData, false);
	stroke_pen(painter.Get(), *fData, pattern);
	if (start == end)
		painter->drawPoint(pixel_center(start));
	else
		painter->drawLine(pixel_center(start), pixel_center(end));
}


void
BView::StrokeRect(BRect rect, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter || !rect.IsValid())
		return;
	prepare(painter.Get(), *fData, false);
	stroke_pen(painter.Get(), *fData, pattern);
	painter->drawRect(QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width(), rect.Height()));
}


void
BView::FillRect(BRect rect, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter || !rect.IsValid())
		return;
	prepare(painter.Get(), *fData, false);
	painter->fillRect(fill_area(rect), fill_brush(*fData, pattern));
}


void
BView::StrokeRoundRect(BRect rect, float xRadius, float yRadius, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter || !rect.IsValid())
		return;
	prepare(painter.Get(), *fData, true);
	stroke_pen(painter.Get(), *fData, pattern);
	painter->drawRoundedRect(QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width(),
		rect.Height()), xRadius, yRadius);
}


void
BView::FillRoundRect(BRect rect, float xRadius, float yRadius, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter || !rect.IsValid())
		return;
	prepare(painter.Get(), *fData, true);
	QPainterPath path;
	path.addRoundedRect(fill_area(rect), xRadius, yRadius);
	painter->fillPath(path, fill_brush(*fData, pattern));
}


void
BView::StrokeEllipse(BRect rect, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter || !rect.IsValid())
		return;
	prepare(painter.Get(), *fData, true);
	stroke_pen(painter.Get(), *fData, pattern);
	painter->drawEllipse(QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width(), rect.Height()));
}


void
BView::FillEllipse(BRect rect, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter || !rect.IsValid())
		return;
	prepare(painter.Get(), *fData, true);
	QPainterPath path;
	path.addEllipse(fill_area(rect));
	painter->fillPath(path, fill_brush(*fData, pattern));
}


void
BView::StrokeTriangle(BPoint point1, BPoint point2, BPoint point3, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter)
		return;
	prepare(painter.Get(), *fData, false);
	stroke_pen(painter.Get(), *fData, pattern);
	const QPointF points[3] = {pixel_center(point1), pixel_center(point2), pixel_center(point3)};
	painter->drawPolygon(points, 3);
}


void
BView::FillTriangle(BPoint point1, BPoint point2, BPoint point3, ::pattern pattern)
{
	DrawScope painter(this);
	if (!painter)
		return;
	prepare(painter.Get(), *fData, false);
	painter->setPen(QPen(fill_brush(*fData, pattern), 1));
	painter->setBrush(fill_brush(*fData, pattern));
	const QPointF points[3] = {pixel_center(point1), pixel_center(point2), pixel_center(point3)};
	painter->drawPolygon(points, 3);
}


void
BView::DrawString(const char* string, BPoint where)
{
	DrawString(string, string != NULL ? (int32)strlen(string) : 0, where);
}


void
BView::DrawString(const char* string)
{
	DrawString(string, fData->penLocation);
}


void
BView::DrawString(const char* string, int32 length, BPoint where)
{
	if (string == NULL || length <= 0)
		return;
	fData->penLocation = BPoint(where.x + fData->font.StringWidth(string, length), where.y);
	DrawScope painter(this);
	if (!painter)
		return;
	prepare(painter.Get(), *fData, true);
	painter->setFont(BPrivate::to_qfont(fData->font));
	const rgb_color color = fData->drawingMode == B_OP_ERASE ? fData->lowColor : fData->highColor;
	painter->setPen(mode_color(*fData, color));
	painter->drawText(QPointF(where.x, where.y), QString::fromUtf8(string, length));
}


void
BView::DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination)
{
	if (bitmap == NULL)
		return;
	DrawScope painter(this);
	if (!painter)
		return;
	QImage image = BPrivate::bitmap_image(bitmap);
	if (image.isNull())
		return;
	// Copy draws every pixel opaque, Over leaves out the transparent ones,
	// Alpha blends by each pixel's alpha.
	if (fData->drawingMode != B_OP_ALPHA) {
		const bool keepTransparent = fData->drawingMode != B_OP_COPY;
		for (int y = 0; y < image.height(); y++) {
			QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
			for (int x = 0; x < image.width(); x++) {
				const bool transparent = keepTransparent && qAlpha(row[x]) == 0;
				row[x] = transparent ? 0 : (row[x] | 0xff000000u);
			}
		}
	}
	prepare(painter.Get(), *fData, false);
	const BRect bounds = bitmap->Bounds();
	source.OffsetBy(-bounds.left, -bounds.top);
	painter->drawImage(fill_area(destination), image, fill_area(source));
}


void
BView::DrawBitmap(const BBitmap* bitmap, BRect destination)
{
	if (bitmap != NULL)
		DrawBitmap(bitmap, bitmap->Bounds(), destination);
}


void
BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
	if (bitmap == NULL)
		return;
	BRect destination = bitmap->Bounds();
	destination.OffsetTo(where);
	DrawBitmap(bitmap, bitmap->Bounds(), destination);
}


void
BView::DrawBitmap(const BBitmap* bitmap)
{
	DrawBitmap(bitmap, fData->penLocation);
}


void
BView::DrawBitmapAsync(const BBitmap* bitmap, BPoint where)
{
	DrawBitmap(bitmap, where);
}
