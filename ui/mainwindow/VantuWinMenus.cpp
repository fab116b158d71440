#include "VantuWin.h"

#include <Application.h>
#include <FilePanel.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "MainWinMessages.h"
#include "PlayerMessages.h"
#include "VantuView.h"

namespace {

// The play modes' items follow "All Notes Off" and a separator.
const int32 kFirstPlayModeItem = 2;
const int32 kPlayModeCount = 6;

const char* const kPlayModeKeys[kPlayModeCount] = {
	"MItem_Play_Mode_Seq",
	"MItem_Play_Mode_Seq_Rep",
	"MItem_Play_Mode_Mono",
	"MItem_Play_Mode_Mono_Rep",
	"MItem_Play_Mode_Random",
	"MItem_Play_Mode_AI_Random"
};


BMenuItem*
new_item(const char* key, uint32 what, char shortcut = 0)
{
	return new BMenuItem(gVLT.Text(key), new BMessage(what), shortcut);
}


BMenuItem*
new_item(const char* key, uint32 what, BHandler* target, char shortcut = 0)
{
	BMenuItem* item = new_item(key, what, shortcut);
	item->SetTarget(target);
	return item;
}


BMenuItem*
new_app_item(const char* key, uint32 what)
{
	BMenuItem* item = new_item(key, what);
	item->SetTarget(be_app_messenger);
	return item;
}


// A submenu whose own item sends `what` to the window by its shortcut.
BMenu*
add_submenu(BMenu* parent, const char* key, uint32 what, char shortcut)
{
	BMenu* submenu = new BMenu(gVLT.Text(key));
	BMenuItem* item = new BMenuItem(submenu, new BMessage(what));
	item->SetShortcut(shortcut, 0);
	parent->AddItem(item);
	return submenu;
}

}	// namespace


void
TVantuWin::CreateMenu()
{
	fMenuBar->AddItem(_CreateMenuFile());
	fMenuBar->AddItem(_CreateMenuPlay());
	fMenuBar->AddItem(_CreateMenuMidiOut());
	fMenuBar->AddItem(_CreateMenuTool());
	fMenuBar->AddItem(_CreateMenuHelp());
}


void
TVantuWin::DestroyMenu()
{
	while (BMenuItem* item = fMenuBar->RemoveItem(int32(0)))
		delete item;
	fAddMenu = fOpenMenu = fPlayMenu = fPortMenus[0] = fPortMenus[1] = NULL;
}


BMenu*
TVantuWin::_CreateMenuFile()
{
	BMenu* menu = new BMenu(gVLT.Text("Menu_File"));
	menu->AddItem(new_item("MItem_New", kMsgNewList, fPlayerView, 'N'));
	menu->AddItem(new_item("MItem_Add_New", kMsgAddNewList, fPlayerView, 'L'));
	menu->AddSeparatorItem();
	fOpenMenu = add_submenu(menu, "Menu_Open", kMsgOpenPanelForOpen, 'O');
	fAddMenu = add_submenu(menu, "Menu_Add", kMsgOpenPanelForAdd, 'E');
	for (BMenu* recent : {fOpenMenu, fAddMenu}) {
		recent->AddSeparatorItem();
		recent->AddItem(new_item("MItem_Del_All_MRUFs", kMsgDeleteAllRecentFiles));
	}
	menu->AddSeparatorItem();
	menu->AddItem(new_item("MItem_Save", kMsgSaveList, fPlayerView, 'S'));
	menu->AddItem(new_item("MItem_Save_As", kMsgSaveListAs, fPlayerView, '2'));
	menu->AddSeparatorItem();
	menu->AddItem(new_item("MItem_Quit", B_QUIT_REQUESTED, 'Q'));
	return menu;
}


BMenu*
TVantuWin::_CreateMenuPlay()
{
	fPlayMenu = new BMenu(gVLT.Text("Menu_Play"));
	fPlayMenu->AddItem(new_item("MItem_All_Notes_Off", kMsgAllNotesOff, fPlayerView, 'F'));
	fPlayMenu->AddSeparatorItem();
	for (int32 mode = 0; mode < kPlayModeCount; mode++) {
		BMenuItem* item = new_item(kPlayModeKeys[mode], kMsgPlayMode, fPlayerView);
		item->Message()->AddInt32("PlayMode", mode);
		fPlayMenu->AddItem(item);
	}
	return fPlayMenu;
}


// Each port's label is its letter, the separator, the port text and the
// letter again: "A・Port A".
BMenu*
TVantuWin::_CreateMenuMidiOut()
{
	BMenu* menu = new BMenu(gVLT.Text("Menu_MIDI_OUT"));
	for (int32 port = 0; port < 2; port++) {
		const std::string letter(1, char('A' + port));
		const std::string label = letter + gVLT.Text("SC_Sep") + gVLT.Text("Menu_MIDI_Port")
			+ letter;
		fPortMenus[port] = new BMenu(label.c_str());
		menu->AddItem(fPortMenus[port]);
	}
	return menu;
}


BMenu*
TVantuWin::_CreateMenuTool()
{
	BMenu* menu = new BMenu(gVLT.Text("Menu_Tool"));
	menu->AddItem(new_item("MItem_Open_Cur_Doc", kMsgOpenCurDoc, fPlayerView));
	menu->AddSeparatorItem();
	menu->AddItem(new_app_item("MItem_Prefs", kMsgShowPrefs));
	menu->AddItem(new_app_item("MItem_Drv_Cvt_Prefs", kMsgShowDrvCvtPrefs));
	return menu;
}


BMenu*
TVantuWin::_CreateMenuHelp()
{
	BMenu* menu = new BMenu(gVLT.Text("Menu_Help"));
	menu->AddItem(new_app_item("MItem_Help", '_hlp'));
	menu->AddSeparatorItem();
	menu->AddItem(new_app_item("MItem_Author_Web", '_jaw'));
	menu->AddSeparatorItem();
	menu->AddItem(new_app_item("MItem_About", B_ABOUT_REQUESTED));
	return menu;
}


void
TVantuWin::UpdateMenuPlayModeRqtd(BMessage* message)
{
	int32 mode;
	if (fPlayMenu == NULL || message->FindInt32("PlayMode", &mode) != B_OK
		|| mode < 0 || mode >= kPlayModeCount) {
		return;
	}
	for (int32 i = 0; i < kPlayModeCount; i++)
		fPlayMenu->ItemAt(kFirstPlayModeItem + i)->SetMarked(i == mode);
}


// Every menu is built again in the new language; the marks come back from
// the player, which hears the change too.
void
TVantuWin::LanguageChanged(BMessage* message)
{
	if (fMenusOpen) {
		fPendingLanguageChange = std::make_unique<BMessage>(*message);
		return;
	}
	DestroyMenu();
	CreateMenu();
	CreateMenuMidiOut();
	ReflectExitConnection();
	GenerateMenuMRUF();
	if (fOpenPanelForOpen)
		SetOpenPanelLabelToOpen();
	else
		SetOpenPanelLabelToAdd();
	PostMessage(message, fPlayerView);
}
