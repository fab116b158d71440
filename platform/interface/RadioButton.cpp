#include <RadioButton.h>

#include <QRadioButton>

#include <ControlQt.h>
#include <ViewQt.h>
#include <Window.h>

B_REGISTER_ARCHIVABLE_CLASS(BRadioButton);

namespace {

QRadioButton*
radio_of(const BRadioButton* button)
{
	return static_cast<QRadioButton*>(BPrivate::native_widget(button));
}

}


BRadioButton::BRadioButton(BRect frame, const char* name, const char* label,
	BMessage* message, uint32 resizingMode, uint32 flags)
	:
	BControl(frame, name, label, message, resizingMode, flags)
{
	_Init();
}


BRadioButton::BRadioButton(BMessage* archive)
	:
	BControl(archive)
{
	_Init();
}


BRadioButton::~BRadioButton()
{
}


BArchivable*
BRadioButton::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BRadioButton")
		? new BRadioButton(archive) : NULL;
}


void
BRadioButton::SetLabel(const char* label)
{
	BControl::SetLabel(label);
	QRadioButton* button = radio_of(this);
	const QString text = BPrivate::literal_label(Label());
	BPrivate::run_on_gui_thread([button, &text] { button->setText(text); });
}


void
BRadioButton::SetValue(int32 value)
{
	value = value != B_CONTROL_OFF ? B_CONTROL_ON : B_CONTROL_OFF;
	BControl::SetValue(value);
	BPrivate::set_checked_quietly(radio_of(this), value == B_CONTROL_ON);
	if (value == B_CONTROL_OFF)
		return;
	// The group is every radio button with the same parent view (or, at
	// the top of a window, the same window).
	const int32 count = Parent() != NULL ? Parent()->CountChildren()
		: Window() != NULL ? Window()->CountChildren() : 0;
	for (int32 i = 0; i < count; i++) {
		BView* sibling = Parent() != NULL ? Parent()->ChildAt(i) : Window()->ChildAt(i);
		BRadioButton* other = dynamic_cast<BRadioButton*>(sibling);
		if (other != NULL && other != this && other->Value() != B_CONTROL_OFF)
			other->SetValue(B_CONTROL_OFF);
	}
}


void
BRadioButton::SetEnabled(bool enabled)
{
	BControl::SetEnabled(enabled);
	QRadioButton* button = radio_of(this);
	BPrivate::run_on_gui_thread([button, enabled] { button->setEnabled(enabled); });
}


void
BRadioButton::GetPreferredSize(float* width, float* height)
{
	BPrivate::native_preferred_size(this, width, height);
}


void
BRadioButton::_Init()
{
	BPrivate::run_on_gui_thread([&] {
		BPrivate::ensure_interface_kit();
		QRadioButton* button = new QRadioButton(BPrivate::literal_label(Label()));
		// The group is the Be parent's children, not Qt's; the layer keeps it.
		button->setAutoExclusive(false);
		button->setChecked(Value() != B_CONTROL_OFF);
		button->setEnabled(IsEnabled());
		BPrivate::set_native_widget(this, button);
		BPrivate::adopt_view_font(this);
		QObject::connect(button, &QRadioButton::clicked, button, [this]() {
			BPrivate::run_locked(this, [this]() {
				SetValue(B_CONTROL_ON);
				Invoke();
			});
		});
	});
}
