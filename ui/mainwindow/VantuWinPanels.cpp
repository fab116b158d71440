#include "VantuWin.h"

#include <Entry.h>
#include <FilePanel.h>
#include <Messenger.h>
#include <Path.h>
#include <Window.h>

#include <Files.h>
#include <PathFunctions.h>
#include <WindowFunctions.h>

#include "AppGlobals.h"
#include "PlayerMessages.h"

namespace {

const int32 kShownPriority = 15;
const int32 kHiddenPriority = 5;
const char kListExtension[] = "lml";

}


// One panel serves opening and adding: the layer's panel picks files and
// folders together.
void
TVantuWin::MItemOpenClicked(bool forOpen)
{
	if (fOpenPanel == NULL) {
		BMessenger self(this);
		fOpenPanel = std::make_unique<BFilePanel>(B_OPEN_PANEL, &self, nullptr,
			B_FILE_NODE | B_DIRECTORY_NODE, true, nullptr, nullptr, false, true);
		SetOpenPanelFolder();
	} else
		pelkan::set_file_panel_priority(fOpenPanel.get(), kShownPriority);
	if (forOpen)
		SetOpenPanelLabelToOpen();
	else
		SetOpenPanelLabelToAdd();
	BMessage message(forOpen ? kMsgOpenListFolderFileRqtd : kMsgAddListFolderFileRqtd);
	fOpenPanel->SetMessage(&message);
	fOpenPanel->Show();
}


int32
TVantuWin::SetOpenPanelLabelToOpen()
{
	const int32 result = _LabelPanel(fOpenPanel.get(), "Open_Panel_Title_Open",
		"File_Panel_Button_Open");
	if (result == 0)
		fOpenPanelForOpen = true;
	return result;
}


int32
TVantuWin::SetOpenPanelLabelToAdd()
{
	const int32 result = _LabelPanel(fOpenPanel.get(), "Open_Panel_Title_Add",
		"File_Panel_Button_Add");
	if (result == 0)
		fOpenPanelForOpen = false;
	return result;
}


int32
TVantuWin::SetSavePanelLabel()
{
	return _LabelPanel(fSavePanel.get(), "Save_Panel_Title", "File_Panel_Button_Save");
}


int32
TVantuWin::_LabelPanel(BFilePanel* panel, const char* titleKey, const char* buttonKey)
{
	if (panel == NULL)
		return -1;
	if (BWindow* window = panel->Window()) {
		const std::string title = std::string(gVLT.Text(titleKey)) + " - " + gAppName;
		window->SetTitle(title.c_str());
	}
	panel->SetButtonLabel(B_CANCEL_BUTTON, gVLT.Text("File_Panel_Button_Cancel"));
	panel->SetButtonLabel(B_DEFAULT_BUTTON, gVLT.Text(buttonKey));
	return 0;
}


int32
TVantuWin::SetFilePanelFolder(BFilePanel* source, BFilePanel* destination)
{
	if (destination == NULL)
		return -1;
	if (source == NULL) {
		destination->SetPanelDirectory(gExitState.panelFolder.c_str());
		return 0;
	}
	entry_ref folder;
	source->GetPanelDirectory(&folder);
	destination->SetPanelDirectory(&folder);
	return 0;
}


int32
TVantuWin::SetSavePanelFolder()
{
	return SetFilePanelFolder(fOpenPanel.get(), fSavePanel.get());
}


int32
TVantuWin::SetOpenPanelFolder()
{
	return SetFilePanelFolder(fSavePanel.get(), fOpenPanel.get());
}


void
TVantuWin::ShowSavePanelRqtd(BMessage* message)
{
	if (fSavePanel == NULL) {
		BMessenger self(this);
		fSavePanel = std::make_unique<BFilePanel>(B_SAVE_PANEL, &self, nullptr, 0, false,
			nullptr, nullptr, false, true);
		SetFilePanelFolder(fOpenPanel.get(), fSavePanel.get());
		SetSavePanelLabel();
	} else
		pelkan::set_file_panel_priority(fSavePanel.get(), kShownPriority);
	ChangeSavePanelTitleRqtd(message);
	BMessage request;
	if (message->FindMessage("SvPnlMsg", &request) == B_OK)
		fSavePanel->SetMessage(&request);
	fSavePanel->Show();
}


void
TVantuWin::ChangeSavePanelTitleRqtd(BMessage* message)
{
	const char* title;
	if (fSavePanel != NULL && fSavePanel->Window() != NULL
		&& message->FindString("SvPnlTitle", &title) == B_OK) {
		fSavePanel->Window()->SetTitle(title);
	}
}


// The other panel follows the cancelled one, so both show the folder the
// user looked at last.
void
TVantuWin::FilePanelCancelled(BMessage* message)
{
	BFilePanel* source = NULL;
	if (message->FindPointer("source", reinterpret_cast<void**>(&source)) != B_OK
		|| source == NULL) {
		return;
	}
	if (source == fOpenPanel.get()) {
		pelkan::set_file_panel_priority(source, kHiddenPriority);
		SetSavePanelFolder();
	} else if (source == fSavePanel.get()) {
		pelkan::set_file_panel_priority(source, kHiddenPriority);
		SetOpenPanelFolder();
	}
}


void
TVantuWin::SaveRequested(BMessage* message)
{
	SetOpenPanelFolder();
	entry_ref ref;
	if (pelkan::get_save_ref(message, &ref) != B_OK)
		return;
	const BPath path = pelkan::path_for_ref(&ref);
	if (path.Path() == NULL)
		return;
	fMRUF.AddMRUF(add_ext(path.Path(), kListExtension).c_str());
	GenerateMenuMRUF();
}


void
TVantuWin::_StorePanelFolder()
{
	for (BFilePanel* panel : {fOpenPanel.get(), fSavePanel.get()}) {
		if (panel == NULL)
			continue;
		entry_ref folder;
		panel->GetPanelDirectory(&folder);
		const BPath path = pelkan::path_for_ref(&folder);
		if (path.Path() != NULL)
			gExitState.panelFolder = path.Path();
	}
}
