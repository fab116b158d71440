#include "VantuWin.h"

#include <Entry.h>
#include <FilePanel.h>
#include <Menu.h>
#include <MenuItem.h>
#include <Path.h>

#include <Files.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "GlobalSettings.h"
#include "PlayerMessages.h"
#include "VantuView.h"


// Both submenus and the file change together, so the file always holds
// what the menus show; under an open menu the submenus follow once it
// closes.
void
TVantuWin::GenerateMenuMRUF()
{
	if (fMenusOpen)
		fRecentRebuildPending = true;
	else {
		fMRUF.SetSeparator(gVLT.Text("SC_Sep"));
		_GenerateMenuMRUF(fOpenMenu, kMsgOpenListFolderFileRqtd);
		_GenerateMenuMRUF(fAddMenu, kMsgAddListFolderFileRqtd);
	}
	BEntry entry;
	if (pelkan::get_entry(kRecentFilesName, &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName)) {
		fMRUF.Save(entry);
	}
}


// The items' messages say where they come from: only those may offer to
// forget their file.
void
TVantuWin::_GenerateMenuMRUF(BMenu* menu, uint32 what)
{
	BMessage* message = new BMessage(what);
	message->AddBool(kRecentFileMark, true);
	fMRUF.SetMessage(message);
	fMRUF.SetTgtMenu(menu);
	fMRUF.GenerateMenu();
	if (BMenuItem* deleteAll = menu->ItemAt(fMRUF.CountMRUFs() + 1))
		deleteAll->SetEnabled(fMRUF.CountMRUFs() > 0);
}


void
TVantuWin::_LoadMRUF()
{
	BEntry entry;
	if (pelkan::get_entry(kRecentFilesName, &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName)) {
		fMRUF.Load(entry);
	}
}


void
TVantuWin::MItemDelAllMRUFClicked()
{
	const std::string text = std::string(gVLT.Text("Ask_Del_All_MRUFs")) + "\n\n"
		+ gVLT.Text("Hint_How_To_Del_One_MRUF");
	if (ShowAlert(text.c_str(), gVLT.Text("Button_No"), gVLT.Text("Button_Del_All")) != 1)
		return;
	fMRUF.ClearMRUF();
	GenerateMenuMRUF();
}


void
TVantuWin::RemoveHistoryRqtd(BMessage* message)
{
	entry_ref ref;
	if (message->FindRef("refs", &ref) != B_OK)
		return;
	const BPath path = pelkan::path_for_ref(&ref);
	if (path.Path() == NULL)
		return;
	fMRUF.RemoveMRUF(path.Path());
	GenerateMenuMRUF();
}


void
TVantuWin::OpenListFolderFileRqtd(BMessage* message)
{
	entry_ref ref;
	if (message->FindRef("refs", &ref) != B_OK)
		return;
	BEntry parent;
	BPath folder;
	if (BEntry(&ref).GetParent(&parent) == B_OK && parent.GetPath(&folder) == B_OK) {
		if (fOpenPanel != NULL)
			fOpenPanel->SetPanelDirectory(folder.Path());
		gExitState.panelFolder = folder.Path();
	}
	SetSavePanelFolder();
	for (int32 i = 0; message->FindRef("refs", i, &ref) == B_OK; i++) {
		const BPath path = pelkan::path_for_ref(&ref);
		if (path.Path() != NULL)
			fMRUF.AddMRUF(path.Path());
	}
	GenerateMenuMRUF();
}


bool
TVantuWin::_ForgetMissingRecentFile(BMessage* message)
{
	bool recent = false;
	entry_ref ref;
	if (message->FindBool(kRecentFileMark, &recent) != B_OK || !recent
		|| message->FindRef("refs", &ref) != B_OK || BEntry(&ref).Exists()) {
		return false;
	}
	const BPath path = pelkan::path_for_ref(&ref);
	if (path.Path() != NULL)
		fMRUF.RemoveMRUF(path.Path());
	GenerateMenuMRUF();
	BMessage status(kMsgExpStatBarRqtd);
	const std::string text = std::string(ref.name != NULL ? ref.name : "")
		+ gVLT.Text("Stat_Str_Recent_Missing");
	status.AddString("StatBarString", text.c_str());
	PostMessage(&status, fPlayerView);
	return true;
}
