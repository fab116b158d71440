#include <FilePanel.h>

#include <algorithm>
#include <cstdlib>

#include <QDir>
#include <QFileIconProvider>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <AppDefs.h>
#include <Application.h>
#include <Directory.h>
#include <Entry.h>
#include <FilePanelPrivate.h>
#include <Message.h>
#include <Messenger.h>
#include <Path.h>
#include <View.h>
#include <ViewQt.h>
#include <Window.h>

namespace {

const int kPathRole = Qt::UserRole;
const int kIsFolderRole = Qt::UserRole + 1;


std::string
home_folder()
{
	const char* home = getenv("HOME");
	return home != NULL && home[0] != '\0' ? home : "/";
}


bool
is_folder(const std::string& path)
{
	return !path.empty() && QFileInfo(QString::fromStdString(path)).isDir();
}

}


// The panel's window: the close box only hides it. When the application
// quits it asks every window directly; the panel's window then agrees, and
// the panel lives on without it (it still knows its folder).
class PanelWindow : public BWindow {
public:
	PanelWindow(BFilePanel::Private* panel, const char* title)
		:
		BWindow(BRect(80, 80, 599, 419), title, B_TITLED_WINDOW,
			B_NOT_ZOOMABLE | B_ASYNCHRONOUS_CONTROLS),
		fPanel(panel)
	{
	}

	virtual ~PanelWindow();
	virtual bool QuitRequested();

private:
	BFilePanel::Private* fPanel;
};


// The panel's native content: folder path, entry list, name field, buttons.
class PanelWidget : public QWidget {
public:
	PanelWidget(BFilePanel::Private* panel);

	QLineEdit* pathField;
	QTreeWidget* list;
	QLabel* nameLabel;
	QLineEdit* nameField;
	QPushButton* cancelButton;
	QPushButton* defaultButton;

protected:
	void keyPressEvent(QKeyEvent* event) override;

private:
	BFilePanel::Private* fPanel;
};


struct BFilePanel::Private {
	BFilePanel* panel;
	file_panel_mode mode;
	BMessenger target;
	BMessage* message = NULL;
	uint32 flavors;
	bool multiple;
	bool hideWhenDone;
	std::string folder;
	PanelWindow* window = NULL;
	PanelWidget* widget = NULL;

	// A panel's data, for the driving functions of FilePanelPrivate.h.
	static Private& Of(BFilePanel* owner) { return *owner->fData; }

	bool AllowsFolders() const { return (flavors & B_DIRECTORY_NODE) != 0; }
	bool AllowsFiles() const { return flavors == 0 || (flavors & B_FILE_NODE) != 0; }

	void SetFolder(const std::string& path);
	void List();
	void Confirm();
	void Cancel();
	void Activated(QTreeWidgetItem* item);
	void Send(BMessage* reply);
	void Closed();
};


PanelWindow::~PanelWindow()
{
	fPanel->window = NULL;
	fPanel->widget = NULL;
}


bool
PanelWindow::QuitRequested()
{
	const BMessage* message = CurrentMessage();
	if (message == NULL || message->what != B_QUIT_REQUESTED)
		return true;
	fPanel->Cancel();
	return false;
}


PanelWidget::PanelWidget(BFilePanel::Private* panel)
	:
	fPanel(panel)
{
	QVBoxLayout* layout = new QVBoxLayout(this);
	layout->setContentsMargins(8, 8, 8, 8);
	QHBoxLayout* top = new QHBoxLayout;
	QPushButton* up = new QPushButton(QStringLiteral("Up"));
	QPushButton* home = new QPushButton(QStringLiteral("Home"));
	pathField = new QLineEdit;
	top->addWidget(up);
	top->addWidget(home);
	top->addWidget(pathField, 1);
	layout->addLayout(top);

	list = new QTreeWidget;
	list->setColumnCount(3);
	list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"),
		QStringLiteral("Modified")});
	list->setRootIsDecorated(false);
	list->setUniformRowHeights(true);
	list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
	list->setSelectionMode(panel->multiple && panel->mode == B_OPEN_PANEL
		? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
	layout->addWidget(list, 1);

	QHBoxLayout* bottom = new QHBoxLayout;
	nameLabel = new QLabel(QStringLiteral("Name:"));
	nameField = new QLineEdit;
	cancelButton = new QPushButton(QStringLiteral("Cancel"));
	defaultButton = new QPushButton(panel->mode == B_SAVE_PANEL
		? QStringLiteral("Save") : QStringLiteral("Open"));
	defaultButton->setDefault(true);
	bottom->addWidget(nameLabel);
	bottom->addWidget(nameField, 1);
	bottom->addStretch();
	bottom->addWidget(cancelButton);
	bottom->addWidget(defaultButton);
	layout->addLayout(bottom);
	nameLabel->setVisible(panel->mode == B_SAVE_PANEL);
	nameField->setVisible(panel->mode == B_SAVE_PANEL);

	connect(up, &QPushButton::clicked, this, [panel]() {
		panel->SetFolder(QDir(QString::fromStdString(panel->folder)).absoluteFilePath(
			QStringLiteral("..")).toStdString());
	});
	connect(home, &QPushButton::clicked, this, [panel]() { panel->SetFolder(home_folder()); });
	connect(pathField, &QLineEdit::returnPressed, this,
		[this, panel]() { panel->SetFolder(pathField->text().toStdString()); });
	connect(list, &QTreeWidget::itemActivated, this,
		[panel](QTreeWidgetItem* item) { panel->Activated(item); });
	connect(list, &QTreeWidget::itemSelectionChanged, this, [this, panel]() {
		// A chosen file's name is the name to save under, as usual.
		const QList<QTreeWidgetItem*> selected = list->selectedItems();
		if (panel->mode == B_SAVE_PANEL && selected.size() == 1
			&& !selected.front()->data(0, kIsFolderRole).toBool()) {
			nameField->setText(selected.front()->text(0));
		}
	});
	connect(cancelButton, &QPushButton::clicked, this, [panel]() { panel->Cancel(); });
	connect(defaultButton, &QPushButton::clicked, this, [panel]() { panel->Confirm(); });
	connect(nameField, &QLineEdit::returnPressed, this, [panel]() { panel->Confirm(); });
}


void
PanelWidget::keyPressEvent(QKeyEvent* event)
{
	if (event->key() == Qt::Key_Escape) {
		fPanel->Cancel();
		return;
	}
	QWidget::keyPressEvent(event);
}


void
BFilePanel::Private::SetFolder(const std::string& path)
{
	folder = is_folder(path) ? QDir(QString::fromStdString(path)).canonicalPath().toStdString()
		: home_folder();
	List();
}


void
BFilePanel::Private::List()
{
	if (widget == NULL)
		return;
	widget->pathField->setText(QString::fromStdString(folder));
	widget->list->clear();
	const QDir dir(QString::fromStdString(folder));
	const QFileInfoList entries = dir.entryInfoList(
		QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
		QDir::DirsFirst | QDir::Name);
	const QFileIconProvider icons;
	const QLocale locale;
	for (const QFileInfo& info : entries) {
		const bool folderEntry = info.isDir();
		if (!folderEntry && !AllowsFiles() && !AllowsFolders())
			continue;
		QTreeWidgetItem* item = new QTreeWidgetItem(widget->list);
		item->setText(0, info.fileName());
		item->setIcon(0, icons.icon(info));
		if (!folderEntry)
			item->setText(1, locale.formattedDataSize(info.size()));
		item->setText(2, locale.toString(info.lastModified(), QLocale::ShortFormat));
		item->setData(0, kPathRole, info.absoluteFilePath());
		item->setData(0, kIsFolderRole, folderEntry);
		// Files stay visible but cannot be chosen in a folders-only panel.
		if (!folderEntry && !AllowsFiles())
			item->setFlags(item->flags() & ~Qt::ItemIsSelectable);
	}
}


void
BFilePanel::Private::Activated(QTreeWidgetItem* item)
{
	if (item->data(0, kIsFolderRole).toBool())
		SetFolder(item->data(0, kPathRole).toString().toStdString());
	else
		Confirm();
}


void
BFilePanel::Private::Confirm()
{
	if (window == NULL || !window->Lock())
		return;
	if (mode == B_SAVE_PANEL) {
		const std::string name = widget->nameField->text().toStdString();
		entry_ref directory;
		if (name.empty() || get_ref_for_path(folder.c_str(), &directory) != B_OK) {
			window->Unlock();
			return;
		}
		BMessage reply(message != NULL ? *message : BMessage(B_SAVE_REQUESTED));
		reply.AddRef("directory", &directory);
		reply.AddString("name", name.c_str());
		Send(&reply);
	} else {
		BMessage reply(message != NULL ? *message : BMessage(B_REFS_RECEIVED));
		int32 count = 0;
		// In the order shown, whatever order they were selected in.
		for (int i = 0; i < widget->list->topLevelItemCount(); i++) {
			QTreeWidgetItem* item = widget->list->topLevelItem(i);
			if (!item->isSelected())
				continue;
			const bool folderEntry = item->data(0, kIsFolderRole).toBool();
			if (folderEntry ? !AllowsFolders() : !AllowsFiles())
				continue;
			entry_ref ref;
			const std::string path = item->data(0, kPathRole).toString().toStdString();
			if (get_ref_for_path(path.c_str(), &ref) == B_OK) {
				reply.AddRef("refs", &ref);
				count++;
			}
		}
		entry_ref shown;
		if (count == 0 && AllowsFolders()
			&& get_ref_for_path(folder.c_str(), &shown) == B_OK) {
			reply.AddRef("refs", &shown);
			count++;
		}
		if (count == 0) {
			window->Unlock();
			return;
		}
		Send(&reply);
	}
	if (hideWhenDone)
		Closed();
	window->Unlock();
}


void
BFilePanel::Private::Cancel()
{
	if (window == NULL || !window->Lock())
		return;
	Closed();
	window->Unlock();
}


void
BFilePanel::Private::Closed()
{
	if (!window->IsHidden())
		window->Hide();
	BMessage cancel(B_CANCEL);
	cancel.AddPointer("source", panel);
	Send(&cancel);
}


void
BFilePanel::Private::Send(BMessage* reply)
{
	if (target.IsValid())
		target.SendMessage(reply);
}


BFilePanel::BFilePanel(file_panel_mode mode, BMessenger* target,
	const entry_ref* directory, uint32 nodeFlavors, bool allowMultipleSelection,
	BMessage* message, BRefFilter*, bool, bool hideWhenDone)
	:
	fData(new Private)
{
	Private& data = *fData;
	data.panel = this;
	data.mode = mode;
	data.target = target != NULL ? *target : be_app_messenger;
	data.message = message != NULL ? new BMessage(*message) : NULL;
	data.flavors = nodeFlavors;
	data.multiple = allowMultipleSelection;
	data.hideWhenDone = hideWhenDone;
	data.window = new PanelWindow(&data, mode == B_SAVE_PANEL ? "Save" : "Open");
	BView* root = new BView(data.window->Bounds(), "PoseView", B_FOLLOW_ALL, 0);
	data.widget = new PanelWidget(&data);
	BPrivate::set_native_widget(root, data.widget);
	data.window->AddChild(root);
	SetPanelDirectory(directory);
}


BFilePanel::~BFilePanel()
{
	if (fData->window != NULL && fData->window->Lock())
		fData->window->Quit();
	delete fData->message;
}


void
BFilePanel::Show()
{
	if (fData->window != NULL && fData->window->Lock()) {
		if (fData->window->IsHidden())
			fData->window->Show();
		fData->window->Activate();
		fData->window->Unlock();
	}
}


void
BFilePanel::Hide()
{
	if (fData->window != NULL && fData->window->Lock()) {
		if (!fData->window->IsHidden())
			fData->window->Hide();
		fData->window->Unlock();
	}
}


bool
BFilePanel::IsShowing() const
{
	return fData->window != NULL && !fData->window->IsHidden();
}


BWindow*
BFilePanel::Window() const
{
	return fData->window;
}


file_panel_mode
BFilePanel::PanelMode() const
{
	return fData->mode;
}


BMessenger
BFilePanel::Messenger() const
{
	return fData->target;
}


void
BFilePanel::SetTarget(BMessenger target)
{
	fData->target = target;
}


void
BFilePanel::SetMessage(BMessage* message)
{
	delete fData->message;
	fData->message = message != NULL ? new BMessage(*message) : NULL;
}


void
BFilePanel::SetButtonLabel(file_panel_button button, const char* label)
{
	if (fData->widget == NULL)
		return;
	QPushButton* target = button == B_CANCEL_BUTTON
		? fData->widget->cancelButton : fData->widget->defaultButton;
	target->setText(BPrivate::literal_label(label));
}


void
BFilePanel::SetSaveText(const char* text)
{
	if (fData->widget != NULL)
		fData->widget->nameField->setText(QString::fromUtf8(text != NULL ? text : ""));
}


void
BFilePanel::SetNodeFlavors(uint32 flavors)
{
	fData->flavors = flavors;
	fData->List();
}


void
BFilePanel::SetHideWhenDone(bool hideWhenDone)
{
	fData->hideWhenDone = hideWhenDone;
}


bool
BFilePanel::HidesWhenDone() const
{
	return fData->hideWhenDone;
}


void
BFilePanel::SetPanelDirectory(const BEntry* entry)
{
	BPath path;
	if (entry != NULL && entry->GetPath(&path) == B_OK)
		SetPanelDirectory(path.Path());
	else
		SetPanelDirectory((const char*)NULL);
}


void
BFilePanel::SetPanelDirectory(const BDirectory* directory)
{
	BEntry entry;
	if (directory != NULL && directory->GetEntry(&entry) == B_OK)
		SetPanelDirectory(&entry);
	else
		SetPanelDirectory((const char*)NULL);
}


void
BFilePanel::SetPanelDirectory(const entry_ref* ref)
{
	SetPanelDirectory(ref != NULL ? ref->path().c_str() : NULL);
}


void
BFilePanel::SetPanelDirectory(const char* path)
{
	fData->SetFolder(path != NULL ? path : "");
}


void
BFilePanel::GetPanelDirectory(entry_ref* ref) const
{
	if (ref != NULL)
		get_ref_for_path(fData->folder.c_str(), ref);
}


void
BFilePanel::Refresh()
{
	fData->List();
}


namespace BPrivate {

bool
file_panel_select(BFilePanel* panel, const std::vector<std::string>& names)
{
	if (BFilePanel::Private::Of(panel).widget == NULL)
		return false;
	QTreeWidget* list = BFilePanel::Private::Of(panel).widget->list;
	list->clearSelection();
	bool all = true;
	for (const std::string& name : names) {
		const QList<QTreeWidgetItem*> found = list->findItems(QString::fromStdString(name),
			Qt::MatchExactly, 0);
		if (found.isEmpty() || !(found.front()->flags() & Qt::ItemIsSelectable)) {
			all = false;
			continue;
		}
		found.front()->setSelected(true);
	}
	return all;
}


bool
file_panel_open_folder(BFilePanel* panel, const char* name)
{
	if (BFilePanel::Private::Of(panel).widget == NULL)
		return false;
	const QList<QTreeWidgetItem*> found = BFilePanel::Private::Of(panel).widget->list->findItems(
		QString::fromUtf8(name), Qt::MatchExactly, 0);
	if (found.isEmpty() || !found.front()->data(0, kIsFolderRole).toBool())
		return false;
	BFilePanel::Private::Of(panel).Activated(found.front());
	return true;
}


void
file_panel_confirm(BFilePanel* panel)
{
	BFilePanel::Private::Of(panel).Confirm();
}


void
file_panel_cancel(BFilePanel* panel)
{
	BFilePanel::Private::Of(panel).Cancel();
}


std::vector<std::string>
file_panel_entries(BFilePanel* panel)
{
	std::vector<std::string> names;
	if (BFilePanel::Private::Of(panel).widget == NULL)
		return names;
	QTreeWidget* list = BFilePanel::Private::Of(panel).widget->list;
	for (int i = 0; i < list->topLevelItemCount(); i++)
		names.push_back(list->topLevelItem(i)->text(0).toStdString());
	return names;
}

}
