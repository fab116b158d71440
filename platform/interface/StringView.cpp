#include <StringView.h>

#include <cmath>

#include <Message.h>

B_REGISTER_ARCHIVABLE_CLASS(BStringView);


BStringView::BStringView(BRect frame, const char* name, const char* text,
	uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags),
	fText(text != NULL ? text : ""),
	fAlign(B_ALIGN_LEFT),
	fViewColorSet(false)
{
}


BStringView::BStringView(BMessage* archive)
	:
	BView(archive),
	fAlign(B_ALIGN_LEFT),
	fViewColorSet(false)
{
	const char* text = NULL;
	if (archive->FindString("_text", &text) == B_OK && text != NULL)
		fText = text;
	int32 align = B_ALIGN_LEFT;
	if (archive->FindInt32("_align", &align) == B_OK)
		fAlign = alignment(align);
}


BStringView::~BStringView()
{
}


BArchivable*
BStringView::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BStringView")
		? new BStringView(archive) : NULL;
}


status_t
BStringView::Archive(BMessage* archive, bool deep) const
{
	status_t status = BView::Archive(archive, deep);
	if (status == B_OK && !fText.empty())
		status = archive->AddString("_text", fText.c_str());
	if (status == B_OK && fAlign != B_ALIGN_LEFT)
		status = archive->AddInt32("_align", fAlign);
	return status;
}


void
BStringView::AttachedToWindow()
{
	if (!fViewColorSet && Parent() != NULL) {
		BView::SetViewColor(Parent()->ViewColor());
		SetLowColor(ViewColor());
	}
	BView::AttachedToWindow();
}


void
BStringView::Draw(BRect)
{
	font_height height;
	GetFontHeight(&height);
	const BRect bounds = Bounds();
	const float textWidth = StringWidth(fText.c_str());
	float x = bounds.left;
	if (fAlign == B_ALIGN_RIGHT)
		x = bounds.right - textWidth;
	else if (fAlign == B_ALIGN_CENTER)
		x = std::floor(bounds.left + (bounds.Width() + 1 - textWidth) / 2);
	const float y = std::floor(bounds.top
		+ (bounds.Height() + 1 - std::ceil(height.ascent + height.descent)) / 2
		+ std::ceil(height.ascent));
	DrawString(fText.c_str(), BPoint(x, y));
}


void
BStringView::SetViewColor(rgb_color color)
{
	fViewColorSet = true;
	BView::SetViewColor(color);
}


void
BStringView::GetPreferredSize(float* width, float* height)
{
	font_height fontHeight;
	GetFontHeight(&fontHeight);
	if (width != NULL)
		*width = std::ceil(StringWidth(fText.c_str()));
	if (height != NULL)
		*height = std::ceil(fontHeight.ascent + fontHeight.descent + fontHeight.leading);
}


void
BStringView::SetText(const char* text)
{
	const std::string newText = text != NULL ? text : "";
	if (newText == fText)
		return;
	fText = newText;
	Invalidate();
}


const char*
BStringView::Text() const
{
	return fText.c_str();
}


void
BStringView::SetAlignment(alignment flag)
{
	fAlign = flag;
	Invalidate();
}


alignment
BStringView::Alignment() const
{
	return fAlign;
}
