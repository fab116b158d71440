#include <MenuField.h>

#include <cmath>

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QWidget>

#include <Menu.h>
#include <MenuItem.h>
#include <MenuQt.h>
#include <Message.h>
#include <PopUpMenu.h>
#include <ControlQt.h>
#include <ViewQt.h>

B_REGISTER_ARCHIVABLE_CLASS(BMenuField);

// The item that holds the field's menu: its label is the button's text.
class BMenuField::Private : public BMenuItem {
public:
	Private(BMenuField* field, BMenu* menu)
		:
		BMenuItem(menu),
		fField(field)
	{
	}

	virtual void SetLabel(const char* label)
	{
		BMenuItem::SetLabel(label);
		if (QPushButton* button = Button(fField)) {
			const QString text = BPrivate::literal_label(label);
			BPrivate::run_on_gui_thread([button, &text] { button->setText(text); });
		}
	}

	static QLabel* LabelWidget(const BMenuField* field)
	{
		QWidget* native = BPrivate::native_widget(field);
		return native != NULL ? native->findChild<QLabel*>() : NULL;
	}

	static QPushButton* Button(const BMenuField* field)
	{
		QWidget* native = BPrivate::native_widget(field);
		return native != NULL ? native->findChild<QPushButton*>() : NULL;
	}

private:
	BMenuField* fField;
};


namespace {

// Lays the label and the button out at the divider whenever it resizes.
class FieldWidget : public QWidget {
public:
	FieldWidget(const BMenuField* field) : fField(field) {}

	void Relayout()
	{
		QLabel* label = findChild<QLabel*>();
		QPushButton* button = findChild<QPushButton*>();
		const int divider = int(fField->Divider());
		label->setVisible(divider > 0);
		label->setGeometry(0, 0, divider, height());
		const alignment align = fField->Alignment();
		label->setAlignment((align == B_ALIGN_RIGHT ? Qt::AlignRight
			: align == B_ALIGN_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
		button->setGeometry(divider, 0, std::max(width() - divider, 1), height());
	}

protected:
	void resizeEvent(QResizeEvent* event) override
	{
		QWidget::resizeEvent(event);
		Relayout();
	}

private:
	const BMenuField* fField;
};

}


BMenuField::BMenuField(BRect frame, const char* name, const char* label,
	BMenu* menu, uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags),
	fLabel(label != NULL ? label : ""),
	fMenu(NULL),
	fMenuItem(NULL),
	fDivider(0),
	fAlign(B_ALIGN_LEFT),
	fEnabled(true)
{
	fDivider = fLabel.empty() ? 0 : std::ceil(StringWidth(fLabel.c_str()) + 5);
	_Init(menu);
}


BMenuField::BMenuField(BMessage* archive)
	:
	BView(archive),
	fMenu(NULL),
	fMenuItem(NULL),
	fDivider(0),
	fAlign(B_ALIGN_LEFT),
	fEnabled(true)
{
	const char* label = NULL;
	if (archive->FindString("_label", &label) == B_OK && label != NULL)
		fLabel = label;
	archive->FindFloat("_divide", &fDivider);
	bool disabled = false;
	if (archive->FindBool("_disable", &disabled) == B_OK)
		fEnabled = !disabled;
	BMessage menuArchive;
	BPopUpMenu* menu;
	if (archive->FindMessage("_menu", &menuArchive) == B_OK) {
		const char* menuName = "";
		menuArchive.FindString("_name", &menuName);
		bool radio = true;
		bool labelFromMarked = true;
		menuArchive.FindBool("_radio", &radio);
		menuArchive.FindBool("_lfm", &labelFromMarked);
		menu = new BPopUpMenu(menuName, radio, labelFromMarked);
		const char* itemLabel;
		for (int32 i = 0; menuArchive.FindString("_item", i, &itemLabel) == B_OK; i++)
			menu->AddItem(new BMenuItem(itemLabel, NULL));
		int32 marked = -1;
		if (menuArchive.FindInt32("_mark", &marked) == B_OK && menu->ItemAt(marked) != NULL)
			menu->ItemAt(marked)->SetMarked(true);
	} else {
		menu = new BPopUpMenu("");
	}
	_Init(menu);
}


BMenuField::~BMenuField()
{
	// The menu is a hidden child (so that it knows the window) but belongs
	// to its item.
	if (fMenu != NULL)
		RemoveChild(fMenu);
	delete fMenuItem;
}


BArchivable*
BMenuField::Instantiate(BMessage* archive)
{
	return validate_instantiation(archive, "BMenuField") ? new BMenuField(archive) : NULL;
}


status_t
BMenuField::Archive(BMessage* archive, bool) const
{
	// The menu is archived in "_menu", not as a child view.
	status_t status = BView::Archive(archive, false);
	if (status == B_OK && !fLabel.empty())
		status = archive->AddString("_label", fLabel.c_str());
	if (status == B_OK)
		status = archive->AddFloat("_divide", fDivider);
	if (status == B_OK && !fEnabled)
		status = archive->AddBool("_disable", true);
	BMessage menuArchive;
	menuArchive.AddString("_name", fMenu->Name() != NULL ? fMenu->Name() : "");
	menuArchive.AddBool("_radio", fMenu->IsRadioMode());
	menuArchive.AddBool("_lfm", fMenu->IsLabelFromMarked());
	for (int32 i = 0; i < fMenu->CountItems(); i++)
		menuArchive.AddString("_item", fMenu->ItemAt(i)->Label());
	if (fMenu->FindMarkedIndex() >= 0)
		menuArchive.AddInt32("_mark", fMenu->FindMarkedIndex());
	if (status == B_OK)
		status = archive->AddMessage("_menu", &menuArchive);
	return status;
}


void
BMenuField::AttachedToWindow()
{
	if (Parent() != NULL)
		SetViewColor(Parent()->ViewColor());
	BView::AttachedToWindow();
}


void
BMenuField::MakeFocus(bool focus)
{
	BView::MakeFocus(focus);
	if (focus) {
		if (QPushButton* button = Private::Button(this))
			BPrivate::run_on_gui_thread([button] { button->setFocus(Qt::TabFocusReason); });
	}
}


BMenu*
BMenuField::Menu() const
{
	return fMenu;
}


BMenuItem*
BMenuField::MenuItem() const
{
	return fMenuItem;
}


void
BMenuField::SetLabel(const char* label)
{
	BPrivate::run_on_gui_thread([&] {
		fLabel = label != NULL ? label : "";
		if (QLabel* widget = Private::LabelWidget(this))
			widget->setText(QString::fromUtf8(fLabel.c_str()));
	});
}


const char*
BMenuField::Label() const
{
	return fLabel.c_str();
}


void
BMenuField::SetEnabled(bool enabled)
{
	BPrivate::run_on_gui_thread([&] {
		fEnabled = enabled;
		if (QWidget* native = BPrivate::native_widget(this))
			native->setEnabled(enabled);
	});
}


bool
BMenuField::IsEnabled() const
{
	return fEnabled;
}


void
BMenuField::SetAlignment(alignment label)
{
	fAlign = label;
	_Layout();
}


alignment
BMenuField::Alignment() const
{
	return fAlign;
}


void
BMenuField::SetDivider(float position)
{
	fDivider = std::max(0.0f, std::floor(position));
	_Layout();
}


float
BMenuField::Divider() const
{
	return fDivider;
}


void
BMenuField::GetPreferredSize(float* width, float* height)
{
	QPushButton* button = Private::Button(this);
	const QSize hint = button != NULL
		? BPrivate::run_on_gui_thread([button] { return button->sizeHint(); }) : QSize(60, 22);
	if (width != NULL)
		*width = fDivider + hint.width() - 1;
	if (height != NULL)
		*height = hint.height() - 1;
}


void
BMenuField::_Init(BMenu* menu)
{
	BPrivate::run_on_gui_thread([&] {
		BPrivate::ensure_interface_kit();
		fMenu = menu != NULL ? menu : new BPopUpMenu("");
		fMenuItem = new Private(this, fMenu);
		fMenu->Hide();
		AddChild(fMenu);

		FieldWidget* container = new FieldWidget(this);
		QLabel* labelWidget = new QLabel(QString::fromUtf8(fLabel.c_str()), container);
		labelWidget->setTextFormat(Qt::PlainText);
		QPushButton* button = new QPushButton(container);
		QMenu* popup = new QMenu(button);
		button->setMenu(popup);
		BMenu* source = fMenu;
		QObject::connect(popup, &QMenu::aboutToShow, popup,
			[popup, source]() { BPrivate::fill_qmenu(popup, source); });
		container->setEnabled(fEnabled);
		BPrivate::set_native_widget(this, container);
		BPrivate::adopt_view_font(this);

		const BMenuItem* marked = fMenu->IsLabelFromMarked() ? fMenu->FindMarked() : NULL;
		fMenuItem->SetLabel(marked != NULL ? marked->Label()
			: (fMenu->Name() != NULL ? fMenu->Name() : ""));
		_Layout();
	});
}


void
BMenuField::_Layout()
{
	BPrivate::run_on_gui_thread([&] {
		if (FieldWidget* container = static_cast<FieldWidget*>(BPrivate::native_widget(this)))
			container->Relayout();
	});
}
