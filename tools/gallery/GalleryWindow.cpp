#include "GalleryWindow.h"

#include <AppDefs.h>
#include <Application.h>
#include <Message.h>

#include <Box.h>
#include <Button.h>
#include <CheckBox.h>
#include <MenuBar.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <OutlineListView.h>
#include <PopUpMenu.h>
#include <RadioButton.h>
#include <ScrollView.h>
#include <Slider.h>
#include <StringView.h>
#include <Tab.h>
#include <TabView.h>
#include <TextControl.h>
#include <TextView.h>

#include "CompactSlider.h"
#include "GalleryItem.h"
#include "PKNView.h"
#include "ToolBar.h"
#include "ToolButton.h"
#include "ToolImages.h"

namespace {

const BRect kFrame(120, 120, 679, 499);
const float kGap = 8.0f;


BMenuItem*
item(const char* label, uint32 what, char shortcut = 0, uint32 modifiers = 0)
{
	return new BMenuItem(label, new BMessage(what), shortcut, modifiers);
}

}


GalleryWindow::GalleryWindow()
	:
	TPKNWin(kFrame, "Vantu MIDI gallery", B_TITLED_WINDOW, B_NOT_ZOOMABLE)
{
	TPKNView* main = new TPKNView(Bounds(), "main", B_FOLLOW_ALL, B_WILL_DRAW);
	main->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	AddMainChild(main);

	_AddMenuBar(main);
	BMenuBar* bar = static_cast<BMenuBar*>(main->FindView("MenuBar"));
	const float toolTop = bar->Frame().bottom + 1;
	const float top = _AddToolBar(main, toolTop) + kGap;

	const BRect bounds = main->Bounds();
	const float middle = 250;
	_AddControls(main, BRect(kGap, top, middle - kGap / 2, bounds.bottom - 30));
	_AddLists(main, BRect(middle + kGap / 2, top, bounds.right - kGap, bounds.bottom - 30));

	BStringView* status = new BStringView(BRect(kGap, bounds.bottom - 22, bounds.right - kGap,
		bounds.bottom - 6), "status", "Ready: 3 lists, 12 songs",
		B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM);
	main->AddChild(status);
}


bool
GalleryWindow::QuitRequested()
{
	// Closed by the user (close box, File > Quit or its shortcut): the
	// gallery is the program's only window, so the program ends, and the
	// application then closes every window, this one included.
	if (CurrentMessage() != NULL) {
		be_app->PostMessage(B_QUIT_REQUESTED);
		return false;
	}
	return true;
}


void
GalleryWindow::_AddMenuBar(BView* parent)
{
	BMenuBar* bar = new BMenuBar(BRect(0, 0, Bounds().right, 18), "MenuBar");
	BMenu* file = new BMenu("File");
	BMenu* open = new BMenu("Open");
	BMenuItem* openItem = new BMenuItem(open, new BMessage('_opn'));
	open->AddItem(item("Song list…", 'olst'));
	open->AddItem(item("Folder…", 'ofld'));
	file->AddItem(item("New list", '_new', 'N'));
	file->AddItem(openItem);
	BMenu* recent = new BMenu("Recent files");
	recent->AddItem(item("1 Favourites.lml", 'rcnt', '1', B_SHIFT_KEY));
	recent->AddItem(item("2 Piano works.lml", 'rcnt', '2', B_SHIFT_KEY));
	file->AddItem(recent);
	file->AddSeparatorItem();
	file->AddItem(item("Save list", '_sav', 'S'));
	file->AddSeparatorItem();
	file->AddItem(item("Quit", B_QUIT_REQUESTED, 'Q'));
	bar->AddItem(file);

	BMenu* play = new BMenu("Play");
	play->AddItem(item("Play", 'play', 'P'));
	play->AddItem(item("Stop", 'stop', '.'));
	BMenuItem* loop = item("Repeat", 'rept');
	loop->SetMarked(true);
	play->AddItem(loop);
	BMenu* port = new BMenu("MIDI OUT A");
	BMenuItem* synth = item("Built-in synthesizer", 'mido');
	synth->SetMarked(true);
	port->AddItem(synth);
	port->AddItem(item("USB MIDI Interface:Port 1", 'mido'));
	play->AddItem(port);
	bar->AddItem(play);

	BMenu* help = new BMenu("Help");
	help->AddItem(item("Help", '_hlp'));
	BMenuItem* web = item("Author's web page", '_jaw');
	web->SetEnabled(false);
	help->AddItem(web);
	bar->AddItem(help);
	parent->AddChild(bar);
}


float
GalleryWindow::_AddToolBar(BView* parent, float top)
{
	TToolBar* bar = new TToolBar(BRect(0, top, 10, top + 10), "ControlBar",
		B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP);
	struct {
		const char* name;
		ToolImage image;
		const char* tip;
		uint32 behavior;
	} buttons[] = {
		{"prev", kImagePrevious, "Previous song", TToolButton::kBehaviorPush},
		{"play", kImagePlay, "Play", TToolButton::kBehaviorToggle},
		{"pause", kImagePause, "Pause", TToolButton::kBehaviorToggle},
		{"stop", kImageStop, "Stop", TToolButton::kBehaviorToggle},
		{"next", kImageNext, "Next song", TToolButton::kBehaviorPush},
		{"list", kImageList, "Show the list", TToolButton::kBehaviorToggle},
	};
	for (const auto& b : buttons) {
		if (b.image == kImageList || b.image == kImagePlay)
			bar->AddSeparatorItem();
		TToolButton* button = new TToolButton(BRect(0, 0, 1, 1), b.name,
			make_tool_image(b.image), NULL, new BMessage('tool'), b.behavior);
		button->SetTip(b.tip);
		bar->AddItem(button);
	}
	bar->FindItem("play")->SetRadioMode(true);
	bar->FindItem("stop")->SetValue(1);
	bar->FindItem("list")->SetValue(1);
	parent->AddChild(bar);
	return bar->Frame().bottom;
}


void
GalleryWindow::_AddControls(BView* parent, BRect frame)
{
	BBox* box = new BBox(frame, "controls");
	box->SetLabel("Playback");
	parent->AddChild(box);
	const float width = frame.Width() - 2 * kGap;
	float y = 20;
	const auto row = [&](float height) {
		BRect r(kGap, y, kGap + width, y + height);
		y += height + 6;
		return r;
	};

	box->AddChild(new BCheckBox(row(18), "resets", "S - Send a system reset first",
		new BMessage('cssr')));
	static_cast<BCheckBox*>(box->FindView("resets"))->SetValue(1);
	box->AddChild(new BRadioButton(row(18), "gm", "GM reset", new BMessage('rgm_')));
	box->AddChild(new BRadioButton(row(18), "gs", "GS reset", new BMessage('rgs_')));
	static_cast<BRadioButton*>(box->FindView("gm"))->SetValue(1);

	BTextControl* tempo = new BTextControl(row(20), "tempo", "Tempo %", "100", NULL);
	tempo->SetDivider(70);
	box->AddChild(tempo);

	BPopUpMenu* languages = new BPopUpMenu("PopMenu");
	BMenuItem* english = new BMenuItem("English", new BMessage('lang'));
	english->SetMarked(true);
	languages->AddItem(english);
	languages->AddItem(new BMenuItem("日本語", new BMessage('lang')));
	BMenuField* field = new BMenuField(row(20), "language", "Language", languages);
	field->SetDivider(70);
	box->AddChild(field);

	BSlider* position = new BSlider(row(36), "position", "Position", new BMessage('spoc'),
		0, 100);
	position->SetValue(35);
	box->AddChild(position);

	const char* labels[] = {"Volume", "Key", "Tempo"};
	const int32 values[] = {80, 50, 30};
	for (int32 i = 0; i < 3; i++) {
		BRect r = row(14);
		box->AddChild(new BStringView(BRect(r.left, r.top, r.left + 50, r.bottom), NULL,
			labels[i]));
		TCompactSlider* slider = new TCompactSlider(BRect(r.left + 55, r.top, r.right,
			r.bottom), labels[i], labels[i], new BMessage('svlc'), 0, 100);
		slider->SetValue(values[i]);
		slider->SetDefaultValue(50);
		box->AddChild(slider);
	}

	BRect buttons = row(24);
	BButton* cancel = new BButton(BRect(buttons.right - 170, buttons.top, buttons.right - 90,
		buttons.bottom), "cancel", "C・Cancel", new BMessage('_cnc'));
	BButton* ok = new BButton(BRect(buttons.right - 80, buttons.top, buttons.right,
		buttons.bottom), "ok", "OK", new BMessage('_ok'));
	box->AddChild(cancel);
	box->AddChild(ok);
	SetDefaultButton(ok);
}


GalleryItem*
GalleryWindow::_Item(const char* text, bool folder, bool current)
{
	const rgb_color folderColor = {0, 120, 40, 255};
	const rgb_color songColor = {40, 80, 200, 255};
	fItems.push_back(std::make_unique<GalleryItem>(text, folder ? folderColor : songColor,
		current));
	return fItems.back().get();
}


void
GalleryWindow::_AddLists(BView* parent, BRect frame)
{
	BTabView* tabs = new BTabView(frame, "tabs");
	BRect content = tabs->Bounds();
	content.InsetBy(6, 6);
	content.bottom -= tabs->TabHeight();

	BOutlineListView* list = new BOutlineListView(BRect(0, 0, content.Width() - 14,
		content.Height()), "playlist", B_MULTIPLE_SELECTION_LIST, B_FOLLOW_ALL);
	GalleryItem* favourites = _Item("Favourites", true);
	list->AddItem(favourites);
	list->AddUnder(_Item("Prelude in C.mid", false, true), favourites);
	list->AddUnder(_Item("Gymnopédie No. 1.mid", false), favourites);
	GalleryItem* games = _Item("ゲーム音楽", true);
	list->AddUnder(games, favourites);
	list->AddUnder(_Item("Overworld theme.mid", false), games);
	list->AddUnder(_Item("Castle.mid", false), games);
	GalleryItem* piano = _Item("Piano works", true);
	list->AddItem(piano);
	list->AddUnder(_Item("Nocturne Op. 9-2.mid", false), piano);
	list->AddUnder(_Item("Clair de lune.mid", false), piano);
	list->Select(2);
	BScrollView* scroll = new BScrollView("scroll", list, B_FOLLOW_ALL, 0, false, true);
	BTab* listTab = new BTab;
	tabs->AddTab(scroll, listTab);
	listTab->SetLabel("Playlist");

	BTextView* text = new BTextView(BRect(0, 0, content.Width(), content.Height()), "info",
		BRect(4, 4, content.Width() - 4, content.Height() - 4), B_FOLLOW_ALL, B_WILL_DRAW);
	text->SetText("Vantu MIDI plays Standard MIDI Files through the built-in "
		"synthesizer or any MIDI device.\n\nドラッグ＆ドロップでリストに追加できます。");
	text->MakeEditable(false);
	BTab* infoTab = new BTab;
	tabs->AddTab(text, infoTab);
	infoTab->SetLabel("Information");
	parent->AddChild(tabs);
}
