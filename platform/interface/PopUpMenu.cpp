#include <PopUpMenu.h>

#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <MenuItem.h>
#include <MenuQt.h>
#include <ViewQt.h>

BPopUpMenu::BPopUpMenu(const char* name, bool radioMode, bool labelFromMarked,
	menu_layout layout)
	:
	BMenu(name, layout),
	fAutoDestruct(false)
{
	SetRadioMode(radioMode);
	if (radioMode)
		SetLabelFromMarked(labelFromMarked);
}


BPopUpMenu::~BPopUpMenu()
{
}


BMenuItem*
BPopUpMenu::Go(BPoint where, bool deliversMessage, bool openAnyway,
	bool asynchronous)
{
	return Go(where, deliversMessage, openAnyway, BRect(), asynchronous);
}


BMenuItem*
BPopUpMenu::Go(BPoint where, bool deliversMessage, bool, BRect,
	bool asynchronous)
{
	BPrivate::ensure_interface_kit();
	QMenu* menu = new QMenu;
	menu->setAttribute(Qt::WA_DeleteOnClose, false);
	const QPoint at(int(where.x), int(where.y));
	if (asynchronous) {
		const bool autoDestruct = fAutoDestruct;
		BPrivate::fill_qmenu(menu, this, [deliversMessage](BMenuItem* item) {
			if (deliversMessage)
				BPrivate::choose_menu_item(item);
			else if (item->Menu() != NULL && item->Menu()->IsRadioMode())
				item->SetMarked(true);
		});
		QObject::connect(menu, &QMenu::aboutToHide, menu, [menu, this, autoDestruct]() {
			// The choice is delivered after aboutToHide; delete afterwards.
			QTimer::singleShot(0, menu, [menu, this, autoDestruct]() {
				menu->deleteLater();
				if (autoDestruct)
					delete this;
			});
		});
		menu->popup(at);
		return NULL;
	}
	BMenuItem* chosen = NULL;
	BPrivate::fill_qmenu(menu, this, [&chosen](BMenuItem* item) { chosen = item; });
	menu->exec(at);
	delete menu;
	if (chosen != NULL) {
		if (deliversMessage)
			BPrivate::choose_menu_item(chosen);
		else if (chosen->Menu() != NULL && chosen->Menu()->IsRadioMode())
			chosen->SetMarked(true);
	}
	return chosen;
}


void
BPopUpMenu::SetAsyncAutoDestruct(bool on)
{
	fAutoDestruct = on;
}


bool
BPopUpMenu::AsyncAutoDestruct() const
{
	return fAutoDestruct;
}
