#include <Box.h>

#include <cmath>

#include <Message.h>

B_REGISTER_ARCHIVABLE_CLASS(BBox);

namespace {

const rgb_color kShadow = make_color(152, 152, 152);
const rgb_color kLight = make_color(255, 255, 255);
// Where a label starts, from the box's left edge.
const float kLabelInset = 10.0f;

}


BBox::BBox(BRect frame, const char* name, uint32 resizingMode, uint32 flags,
	border_style border)
	:
	BView(frame, name, resizingMode, flags),
	fLabelView(NULL),
	fStyle(border),
	fViewColorSet(false)
{
}


BBox::BBox(BMessage* archive)
	:
	BView(archive),
	fLabelView(NULL),
	fStyle(B_FANCY_BORDER),
	fViewColorSet(false)
{
	int32 style = B_FANCY_BORDER;
	if (archive->FindInt32("_style", &style) == B_OK)
		fStyle = border_style(style);
	const char* label = NULL;
	if (archive->FindString("_label", &label) == B_OK && label != NULL)
		fLabel = label;
	bool hasLabelView = false;
	if (archive->FindBool("_lbl_view", &hasLabelView) == B_OK && hasLabelView)
		fLabelView = ChildAt(0);
}


BBox::~BBox()
{
}


BArchivable*
BBox::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BBox") ? new BBox(archive) : NULL;
}


status_t
BBox::Archive(BMessage* archive, bool deep) const
{
	status_t status = BView::Archive(archive, deep);
	if (status == B_OK && fStyle != B_FANCY_BORDER)
		status = archive->AddInt32("_style", fStyle);
	if (status == B_OK && !fLabel.empty())
		status = archive->AddString("_label", fLabel.c_str());
	if (status == B_OK && deep && fLabelView != NULL && ChildAt(0) == fLabelView)
		status = archive->AddBool("_lbl_view", true);
	return status;
}


void
BBox::AttachedToWindow()
{
	if (!fViewColorSet && Parent() != NULL) {
		BView::SetViewColor(Parent()->ViewColor());
		SetLowColor(ViewColor());
	}
	BView::AttachedToWindow();
}


void
BBox::Draw(BRect)
{
	BRect frame = Bounds();
	frame.top += _TopBorderOffset();
	const rgb_color high = HighColor();
	if (fStyle == B_PLAIN_BORDER) {
		SetHighColor(kShadow);
		StrokeRect(frame);
	} else if (fStyle == B_FANCY_BORDER) {
		BRect inner = frame;
		inner.left++;
		inner.top++;
		SetHighColor(kLight);
		StrokeRect(inner);
		frame.right--;
		frame.bottom--;
		SetHighColor(kShadow);
		StrokeRect(frame);
	}
	if (!fLabel.empty() && fLabelView == NULL) {
		font_height height;
		GetFontHeight(&height);
		const float width = StringWidth(fLabel.c_str());
		const float ascent = std::ceil(height.ascent);
		SetHighColor(ViewColor());
		FillRect(BRect(kLabelInset - 2, Bounds().top, kLabelInset + width + 1,
			Bounds().top + ascent + std::ceil(height.descent)));
		SetHighColor(high);
		DrawString(fLabel.c_str(), BPoint(kLabelInset, Bounds().top + ascent));
	}
	SetHighColor(high);
}


void
BBox::SetViewColor(rgb_color color)
{
	fViewColorSet = true;
	BView::SetViewColor(color);
}


void
BBox::SetBorder(border_style border)
{
	fStyle = border;
	Invalidate();
}


border_style
BBox::Border() const
{
	return fStyle;
}


void
BBox::SetLabel(const char* label)
{
	_ClearLabel();
	fLabel = label != NULL ? label : "";
	Invalidate();
}


status_t
BBox::SetLabel(BView* viewLabel)
{
	if (viewLabel == fLabelView)
		return B_OK;
	_ClearLabel();
	fLabelView = viewLabel;
	if (viewLabel != NULL) {
		viewLabel->MoveTo(kLabelInset, 0);
		AddChild(viewLabel, ChildAt(0));
	}
	Invalidate();
	return B_OK;
}


const char*
BBox::Label() const
{
	return fLabelView == NULL && !fLabel.empty() ? fLabel.c_str() : NULL;
}


BView*
BBox::LabelView() const
{
	return fLabelView;
}


void
BBox::_ClearLabel()
{
	fLabel.clear();
	if (fLabelView != NULL) {
		fLabelView->RemoveSelf();
		delete fLabelView;
		fLabelView = NULL;
	}
}


float
BBox::_TopBorderOffset() const
{
	if (fLabelView != NULL)
		return std::floor(fLabelView->Bounds().Height() / 2);
	if (fLabel.empty())
		return 0;
	font_height height;
	GetFontHeight(&height);
	return std::floor((std::ceil(height.ascent) + std::ceil(height.descent)) / 2);
}
