#include <Control.h>

#include <Message.h>
#include <OS.h>
#include <Window.h>

B_REGISTER_ARCHIVABLE_CLASS(BControl);


BControl::BControl(BRect frame, const char* name, const char* label,
	BMessage* message, uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags),
	BInvoker(message, NULL),
	fLabel(label != NULL ? label : ""),
	fValue(B_CONTROL_OFF),
	fEnabled(true),
	fTracking(false)
{
}


BControl::BControl(BMessage* archive)
	:
	BView(archive),
	fValue(B_CONTROL_OFF),
	fEnabled(true),
	fTracking(false)
{
	const char* label = NULL;
	if (archive->FindString("_label", &label) == B_OK && label != NULL)
		fLabel = label;
	BMessage* message = new BMessage;
	if (archive->FindMessage("_msg", message) == B_OK)
		SetMessage(message);
	else
		delete message;
	archive->FindInt32("_val", &fValue);
	bool disabled = false;
	if (archive->FindBool("_disable", &disabled) == B_OK)
		fEnabled = !disabled;
}


BControl::~BControl()
{
}


BArchivable*
BControl::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BControl") ? new BControl(archive) : NULL;
}


status_t
BControl::Archive(BMessage* archive, bool deep) const
{
	status_t status = BView::Archive(archive, deep);
	if (status == B_OK && !fLabel.empty())
		status = archive->AddString("_label", fLabel.c_str());
	if (status == B_OK && Message() != NULL)
		status = archive->AddMessage("_msg", Message());
	if (status == B_OK && fValue != B_CONTROL_OFF)
		status = archive->AddInt32("_val", fValue);
	if (status == B_OK && !fEnabled)
		status = archive->AddBool("_disable", true);
	return status;
}


void
BControl::AttachedToWindow()
{
	// Controls sit on their parent's background.
	if (Parent() != NULL) {
		SetViewColor(Parent()->ViewColor());
		SetLowColor(ViewColor());
	}
	// A control without a target reports to its window.
	if (!Messenger().IsValid())
		SetTarget(Window());
	BView::AttachedToWindow();
}


void
BControl::SetLabel(const char* label)
{
	const std::string newLabel = label != NULL ? label : "";
	if (newLabel == fLabel)
		return;
	fLabel = newLabel;
	Invalidate();
}


const char*
BControl::Label() const
{
	return fLabel.c_str();
}


void
BControl::SetValue(int32 value)
{
	if (value == fValue)
		return;
	fValue = value;
	Invalidate();
}


int32
BControl::Value() const
{
	return fValue;
}


void
BControl::SetEnabled(bool enabled)
{
	if (enabled == fEnabled)
		return;
	fEnabled = enabled;
	Invalidate();
}


bool
BControl::IsEnabled() const
{
	return fEnabled;
}


status_t
BControl::Invoke(BMessage* message)
{
	BMessage* model = message != NULL ? message : Message();
	if (model == NULL)
		return B_BAD_VALUE;
	BMessage copy(*model);
	copy.AddInt64("when", system_time());
	copy.AddPointer("source", this);
	copy.AddInt32("be:value", fValue);
	return BInvoker::Invoke(&copy);
}


bool
BControl::IsTracking() const
{
	return fTracking;
}


void
BControl::SetTracking(bool tracking)
{
	fTracking = tracking;
}


void
BControl::SetValueNoUpdate(int32 value)
{
	fValue = value;
}
