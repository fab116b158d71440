#include <TextControl.h>

#include <cmath>

#include <QLineEdit>

#include <ControlQt.h>
#include <Message.h>
#include <TextView.h>
#include <ViewQt.h>

B_REGISTER_ARCHIVABLE_CLASS(BTextControl);

namespace {

const rgb_color kLabelColor = make_color(0, 0, 0);
const rgb_color kDisabledLabelColor = make_color(128, 128, 128);

}


BTextControl::BTextControl(BRect frame, const char* name, const char* label,
	const char* initialText, BMessage* message, uint32 resizingMode, uint32 flags)
	:
	BControl(frame, name, label, message, resizingMode, flags),
	fText(NULL),
	fModificationMessage(NULL),
	fDivider(label != NULL && label[0] != '\0' ? std::floor(frame.Width() / 2) : 0),
	fLabelAlign(B_ALIGN_LEFT),
	fEditedSinceInvoke(false)
{
	_Init(initialText);
}


BTextControl::BTextControl(BMessage* archive)
	:
	BControl(archive),
	fText(NULL),
	fModificationMessage(NULL),
	fDivider(0),
	fLabelAlign(B_ALIGN_LEFT),
	fEditedSinceInvoke(false)
{
	archive->FindFloat("_divide", &fDivider);
	BMessage* modification = new BMessage;
	if (archive->FindMessage("_mod_msg", modification) == B_OK)
		fModificationMessage = modification;
	else
		delete modification;
	const char* text = NULL;
	archive->FindString("_text", &text);
	_Init(text);
	int32 labelAlign = B_ALIGN_LEFT;
	int32 textAlign = B_ALIGN_LEFT;
	archive->FindInt32("_a_label", &labelAlign);
	archive->FindInt32("_a_text", &textAlign);
	SetAlignment(alignment(labelAlign), alignment(textAlign));
}


BTextControl::~BTextControl()
{
	delete fModificationMessage;
}


BArchivable*
BTextControl::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BTextControl")
		? new BTextControl(archive) : NULL;
}


status_t
BTextControl::Archive(BMessage* archive, bool) const
{
	// The entry is made anew from these fields, not archived as a child.
	status_t status = BControl::Archive(archive, false);
	if (status == B_OK && Text()[0] != '\0')
		status = archive->AddString("_text", Text());
	if (status == B_OK)
		status = archive->AddFloat("_divide", fDivider);
	if (status == B_OK && fModificationMessage != NULL)
		status = archive->AddMessage("_mod_msg", fModificationMessage);
	alignment labelAlign;
	alignment textAlign;
	GetAlignment(&labelAlign, &textAlign);
	if (status == B_OK && labelAlign != B_ALIGN_LEFT)
		status = archive->AddInt32("_a_label", labelAlign);
	if (status == B_OK && textAlign != B_ALIGN_LEFT)
		status = archive->AddInt32("_a_text", textAlign);
	return status;
}


void
BTextControl::Draw(BRect)
{
	if (fDivider <= 0 || Label()[0] == '\0')
		return;
	font_height height;
	GetFontHeight(&height);
	const BRect bounds = Bounds();
	const float width = StringWidth(Label());
	float x = 0;
	if (fLabelAlign == B_ALIGN_RIGHT)
		x = fDivider - width - 3;
	else if (fLabelAlign == B_ALIGN_CENTER)
		x = std::floor((fDivider - width) / 2);
	const float y = std::floor(bounds.top
		+ (bounds.Height() + 1 - std::ceil(height.ascent + height.descent)) / 2
		+ std::ceil(height.ascent));
	SetHighColor(IsEnabled() ? kLabelColor : kDisabledLabelColor);
	DrawString(Label(), BPoint(x, y));
}


void
BTextControl::MakeFocus(bool focus)
{
	fText->MakeFocus(focus);
}


void
BTextControl::SetText(const char* text)
{
	fText->SetText(text);
	fEditedSinceInvoke = false;
}


const char*
BTextControl::Text() const
{
	return fText->Text();
}


void
BTextControl::SetEnabled(bool enabled)
{
	BControl::SetEnabled(enabled);
	QWidget* line = BPrivate::native_widget(fText);
	BPrivate::run_on_gui_thread([line, enabled] { line->setEnabled(enabled); });
}


void
BTextControl::SetLabel(const char* label)
{
	BControl::SetLabel(label);
	Invalidate();
}


void
BTextControl::SetModificationMessage(BMessage* message)
{
	delete fModificationMessage;
	fModificationMessage = message;
}


BMessage*
BTextControl::ModificationMessage() const
{
	return fModificationMessage;
}


void
BTextControl::SetAlignment(alignment forLabel, alignment forText)
{
	fLabelAlign = forLabel;
	fText->SetAlignment(forText);
	Invalidate();
}


void
BTextControl::GetAlignment(alignment* forLabel, alignment* forText) const
{
	if (forLabel != NULL)
		*forLabel = fLabelAlign;
	if (forText != NULL)
		*forText = fText->Alignment();
}


void
BTextControl::SetDivider(float position)
{
	fDivider = std::max(0.0f, std::floor(position));
	const BRect bounds = Bounds();
	fText->MoveTo(fDivider, 0);
	// A divider past the right edge leaves the entry with no room, but its
	// right edge stays on the field's, so that widening the field later
	// gives the entry exactly the room beyond the divider.
	fText->ResizeTo(bounds.Width() - fDivider, bounds.Height());
	Invalidate();
}


float
BTextControl::Divider() const
{
	return fDivider;
}


BTextView*
BTextControl::TextView() const
{
	return fText;
}


void
BTextControl::GetPreferredSize(float* width, float* height)
{
	QWidget* line = BPrivate::native_widget(fText);
	const QSize hint = BPrivate::run_on_gui_thread([line] { return line->sizeHint(); });
	if (width != NULL)
		*width = std::ceil(fDivider + hint.width()) - 1;
	if (height != NULL)
		*height = hint.height() - 1;
}


void
BTextControl::_Init(const char* text)
{
	const BRect bounds = Bounds();
	fText = new BTextView(BRect(fDivider, 0, bounds.right, bounds.bottom),
		"_input_", B_FOLLOW_ALL, B_WILL_DRAW | B_NAVIGABLE, BTextView::SingleLine());
	fText->SetText(text);
	AddChild(fText);
	QLineEdit* line = static_cast<QLineEdit*>(BPrivate::native_widget(fText));
	const bool enabled = IsEnabled();
	BPrivate::run_on_gui_thread([this, line, enabled] {
		line->setEnabled(enabled);
		QObject::connect(line, &QLineEdit::textEdited, line,
			[this]() { BPrivate::run_locked(this, [this]() { _UserEdited(); }); });
		QObject::connect(line, &QLineEdit::editingFinished, line,
			[this]() { BPrivate::run_locked(this, [this]() { _EditingFinished(); }); });
	});
}


void
BTextControl::_UserEdited()
{
	fEditedSinceInvoke = true;
	if (fModificationMessage != NULL)
		InvokeNotify(fModificationMessage, B_CONTROL_MODIFIED);
}


void
BTextControl::_EditingFinished()
{
	if (!fEditedSinceInvoke)
		return;
	fEditedSinceInvoke = false;
	Invoke();
}
