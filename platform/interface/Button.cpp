#include <Button.h>

#include <QPushButton>

#include <ControlQt.h>
#include <ViewQt.h>
#include <Window.h>

B_REGISTER_ARCHIVABLE_CLASS(BButton);

namespace {

QPushButton*
button_of(const BButton* button)
{
	return static_cast<QPushButton*>(BPrivate::native_widget(button));
}

}


BButton::BButton(BRect frame, const char* name, const char* label,
	BMessage* message, uint32 resizingMode, uint32 flags)
	:
	BControl(frame, name, label, message, resizingMode, flags)
{
	_Init();
}


BButton::BButton(BMessage* archive)
	:
	BControl(archive)
{
	_Init();
}


BButton::~BButton()
{
}


BArchivable*
BButton::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BButton") ? new BButton(archive) : NULL;
}


void
BButton::SetLabel(const char* label)
{
	BControl::SetLabel(label);
	QPushButton* button = button_of(this);
	const QString text = BPrivate::literal_label(Label());
	BPrivate::run_on_gui_thread([button, &text] { button->setText(text); });
}


void
BButton::SetValue(int32 value)
{
	BControl::SetValue(value);
	QPushButton* button = button_of(this);
	BPrivate::run_on_gui_thread([button, value] {
		button->setDown(value != B_CONTROL_OFF);
		// The pressed look must show while the caller waits without
		// returning to the event loop.
		button->repaint();
	});
}


void
BButton::SetEnabled(bool enabled)
{
	BControl::SetEnabled(enabled);
	QPushButton* button = button_of(this);
	BPrivate::run_on_gui_thread([button, enabled] { button->setEnabled(enabled); });
}


void
BButton::MakeDefault(bool flag)
{
	QPushButton* button = button_of(this);
	BPrivate::run_on_gui_thread([button, flag] { button->setDefault(flag); });
	BWindow* window = Window();
	if (window == NULL)
		return;
	if (flag && window->DefaultButton() != this)
		window->SetDefaultButton(this);
	else if (!flag && window->DefaultButton() == this)
		window->SetDefaultButton(NULL);
}


bool
BButton::IsDefault() const
{
	return BPrivate::run_on_gui_thread([&] {
		return button_of(this)->isDefault();
	});
}


void
BButton::GetPreferredSize(float* width, float* height)
{
	BPrivate::native_preferred_size(this, width, height);
}


void
BButton::_Init()
{
	BPrivate::run_on_gui_thread([&] {
		BPrivate::ensure_interface_kit();
		QPushButton* button = new QPushButton(BPrivate::literal_label(Label()));
		button->setAutoDefault(false);
		button->setEnabled(IsEnabled());
		button->setDown(Value() != B_CONTROL_OFF);
		BPrivate::set_native_widget(this, button);
		BPrivate::adopt_view_font(this);
		QObject::connect(button, &QPushButton::clicked, button,
			[this]() { BPrivate::run_locked(this, [this]() { Invoke(); }); });
	});
}
