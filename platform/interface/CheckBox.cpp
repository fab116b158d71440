#include <CheckBox.h>

#include <QCheckBox>

#include <ControlQt.h>
#include <ViewQt.h>

B_REGISTER_ARCHIVABLE_CLASS(BCheckBox);

namespace {

QCheckBox*
check_box_of(const BCheckBox* box)
{
	return static_cast<QCheckBox*>(BPrivate::native_widget(box));
}

}


BCheckBox::BCheckBox(BRect frame, const char* name, const char* label,
	BMessage* message, uint32 resizingMode, uint32 flags)
	:
	BControl(frame, name, label, message, resizingMode, flags)
{
	_Init();
}


BCheckBox::BCheckBox(BMessage* archive)
	:
	BControl(archive)
{
	_Init();
}


BCheckBox::~BCheckBox()
{
}


BArchivable*
BCheckBox::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BCheckBox") ? new BCheckBox(archive) : NULL;
}


void
BCheckBox::SetLabel(const char* label)
{
	BControl::SetLabel(label);
	QCheckBox* box = check_box_of(this);
	const QString text = BPrivate::literal_label(Label());
	BPrivate::run_on_gui_thread([box, &text] { box->setText(text); });
}


void
BCheckBox::SetValue(int32 value)
{
	BControl::SetValue(value != B_CONTROL_OFF ? B_CONTROL_ON : B_CONTROL_OFF);
	BPrivate::set_checked_quietly(check_box_of(this), Value() == B_CONTROL_ON);
}


void
BCheckBox::SetEnabled(bool enabled)
{
	BControl::SetEnabled(enabled);
	QCheckBox* box = check_box_of(this);
	BPrivate::run_on_gui_thread([box, enabled] { box->setEnabled(enabled); });
}


void
BCheckBox::GetPreferredSize(float* width, float* height)
{
	BPrivate::native_preferred_size(this, width, height);
}


void
BCheckBox::_Init()
{
	BPrivate::run_on_gui_thread([&] {
		BPrivate::ensure_interface_kit();
		QCheckBox* box = new QCheckBox(BPrivate::literal_label(Label()));
		box->setChecked(Value() != B_CONTROL_OFF);
		box->setEnabled(IsEnabled());
		BPrivate::set_native_widget(this, box);
		BPrivate::adopt_view_font(this);
		QObject::connect(box, &QCheckBox::clicked, box, [this](bool checked) {
			BPrivate::run_locked(this, [this, checked]() {
				SetValue(checked ? B_CONTROL_ON : B_CONTROL_OFF);
				Invoke();
			});
		});
	});
}
