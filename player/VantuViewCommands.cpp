#include "VantuView.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include <Application.h>
#include <Entry.h>
#include <InterfaceDefs.h>
#include <StringView.h>
#include <Window.h>

#include "AppGlobals.h"
#include "CompactSlider.h"
#include "ContainerLoaderRegistry.h"
#include "CorvanView.h"
#include "NextMsg.h"
#include "PlayerMessages.h"
#include "ToolBar.h"
#include "ToolButton.h"

namespace {

// The start-up reopen's 'olfr' carries the song that was current when the
// program last ended, to be made current again once the list is back.
const char* const kStartUpSongField = "StartUpSongIdx";
// The lists a chain of saves has tried already, so that a list that cannot
// be written is not tried again and again.
const char* const kTriedField = "TriedID";

const float kMinListHeight = 70;
const float kMaxWindowHeight = 10000;
const float kWindowMargin = 5;


bool
is_random_mode(int32 playMode)
{
	return playMode == 4 || playMode == 5;
}


// The lists a chain of saves has tried so far: none unless the message is
// a link of such a chain.
std::unordered_set<int32>
tried_lists(const BMessage* message)
{
	std::unordered_set<int32> tried;
	int32 id;
	for (int32 i = 0; message != NULL && message->what == kMsgSaveList
			&& message->FindInt32(kTriedField, i, &id) == B_OK; i++) {
		tried.insert(id);
	}
	return tried;
}

}


bool
TVantuView::SimpleData(BMessage* message)
{
	if (!message->WasDropped())
		return false;
	if (!message->IsSourceRemote()) {
		// Rows dragged inside the playlist: it moves them itself.
		BMessage reorder(*message);
		reorder.what = kMsgChangeSongOrderRqtd;
		Window()->PostMessage(&reorder, fPlaylist);
		return true;
	}
	if (!message->HasRef("refs"))
		return false;
	RefsReceived(message);
	return true;
}


void
TVantuView::RefsReceived(BMessage* message)
{
	entry_ref ref;
	if (message->FindRef("refs", &ref) != B_OK)
		return;
	const std::string path = ref.path();
	BMessage forward(*message);
	TVLT language;
	if (language.Load(path.c_str()) == B_OK) {
		forward.what = kMsgLanguageFileDropped;
		be_app_messenger.SendMessage(&forward);
		return;
	}
	if (is_container_loader(path.c_str())) {
		forward.what = kMsgContainerLoaderDropped;
		Window()->PostMessage(&forward, fPlaylist);
		return;
	}
	forward.what = (modifiers() & B_OPTION_KEY) != 0 ? kMsgOpenListFolderFileRqtd
		: kMsgAddListFolderFileRqtd;
	Window()->PostMessage(&forward);
}


void
TVantuView::OpenListFolderFileRqtd(BMessage* message)
{
	if (ForgetRecentFileRqtd(message))
		return;
	if (!AskSaveAllList(message, this))
		return;
	StopSong();
	ExpTitleStr(gVLT.Text("Title_Str_Opening"));
	fPlaylist->ClearList();
	fPlaylist->AddListFolderFileToTopLevel(message);
	UpdateWinTitle();
	ExpSongTitle();
	int32 startUpSong;
	if (message->FindInt32(kStartUpSongField, &startUpSong) == B_OK) {
		// The song that was current at the last exit comes back; nothing
		// plays and no random song replaces it. The list asks for its first
		// song when songs come into it empty: this request goes after that.
		BMessage request(kMsgStartUpSongRqtd);
		request.AddInt32(kStartUpSongField, startUpSong);
		Window()->PostMessage(&request, this);
		return;
	}
	if (is_random_mode(fPlayMode))
		Window()->PostMessage(kMsgNext, this);
}


void
TVantuView::StartUpSongRqtd(BMessage* message)
{
	int32 index;
	if (message->FindInt32(kStartUpSongField, &index) == B_OK && fPlaylist->Songs() > 0)
		ChangeSong(NormalizeIdx(index), false);
}


void
TVantuView::AddListFolderFileRqtd(BMessage* message)
{
	if (ForgetRecentFileRqtd(message))
		return;
	const int32 rowsBefore = fPlaylist->CountItems();
	const int32 songsBefore = fPlaylist->Songs();
	ExpTitleStr(gVLT.Text("Title_Str_Adding"));
	fPlaylist->AddListFolderFileToTopLevel(message);
	ExpSongTitle();
	bool playAdded = false;
	message->FindBool(kPlayAddedField, &playAdded);
	// Songs are numbered in list order and the adds go to the end, so the
	// first song added has the number the list had songs before.
	if (playAdded && fPlaylist->Songs() > songsBefore)
		fPlaylist->SendChangeSongRqtd(songsBefore, true);
	else if (is_random_mode(fPlayMode) && rowsBefore == 1)
		Window()->PostMessage(kMsgNext, this);
}


bool
TVantuView::ForgetRecentFileRqtd(BMessage* message)
{
	bool recent = false;
	if (message->FindBool(kRecentFileMark, &recent) != B_OK || !recent
		|| (modifiers() & B_CONTROL_KEY) == 0) {
		return false;
	}
	entry_ref ref;
	if (message->FindRef("refs", &ref) != B_OK)
		return true;
	const std::string question = SubstituteText(gVLT.Text("Ask_Del_One_MRUF"),
		ref.name != NULL ? ref.name : "");
	if (ShowAlert(question.c_str(), gVLT.Text("Button_No"), gVLT.Text("Button_Yes"),
			B_INFO_ALERT) == 1) {
		BMessage forget(kMsgRemoveRecentFileRqtd);
		forget.AddRef("refs", &ref);
		Window()->PostMessage(&forget);
	}
	return true;
}


void
TVantuView::MItemNewClicked()
{
	BMessage next(kMsgNewList);
	if (!AskSaveAllList(&next, this))
		return;
	fPlaylist->ClearList();
	StopSong();
	ChangeSong(0, false);
	UpdateWinTitle();
}


void
TVantuView::MItemAddNewClicked()
{
	fPlaylist->AddNewList(fPlaylist->TopList());
}


void
TVantuView::MItemSaveClicked()
{
	const std::unordered_set<int32> tried
		= tried_lists(Window() != NULL ? Window()->CurrentMessage() : NULL);
	for (int32 row = fPlaylist->FullListCountItems() - 1; row >= 0; row--) {
		const TVantuSItem* item = static_cast<TVantuSItem*>(fPlaylist->FullListItemAt(row));
		const TListInfo& info = item->ListInfo();
		if (!item->Container() || !info.modified || tried.count(info.listID) > 0)
			continue;
		BMessage next(kMsgSaveList);
		for (int32 id : tried)
			next.AddInt32(kTriedField, id);
		next.AddInt32(kTriedField, info.listID);
		BMessage request(kMsgSaveList);
		request.AddInt32("ListID", info.listID);
		pelkan::add_next_msg(&request, next, this);
		fPlaylist->SaveList(&request);
		return;
	}
}


void
TVantuView::MItemSaveAsClicked()
{
	const TVantuSItem* top = fPlaylist->TopList();
	if (top == NULL)
		return;
	BMessage request(kMsgSaveListAs);
	request.AddInt32("ListID", top->ListInfo().listID);
	fPlaylist->SaveListAs(&request);
}


bool
TVantuView::AskSaveAllList(BMessage* next, BHandler* target)
{
	for (int32 row = fPlaylist->FullListCountItems() - 1; row >= 0; row--) {
		const TVantuSItem* item = static_cast<TVantuSItem*>(fPlaylist->FullListItemAt(row));
		// Only a changed list has a question; asking the view about the
		// others would look each of them up again.
		if (!item->Container() || !item->ListInfo().modified)
			continue;
		BMessage request(kMsgSaveList);
		request.AddInt32("ListID", item->ListInfo().listID);
		pelkan::add_next_msg(&request, *next, target);
		if (!fPlaylist->AskSaveList(&request))
			return false;
	}
	return true;
}


void
TVantuView::UpdateListExpantion()
{
	BWindow* window = Window();
	const TToolButton* button = CtrlButton(kListButtonIndex);
	if (window == NULL || button == NULL)
		return;
	const bool expanded = button->Value() == 1;
	const float controlHeight = _ControlAreaHeight();
	const float minWidth = fTitleView->Frame().right + kWindowMargin;
	const float maxWidth = fVolumeSlider->Frame().right + kWindowMargin;
	const float width = std::clamp(window->Bounds().Width(), minWidth, maxWidth);
	if (!expanded) {
		// Hiding nests: only the status bar's own state counts here.
		if (!fStatBar->IsHidden(this))
			fStatBar->Hide();
		window->SetLook(B_TITLED_WINDOW_LOOK);
		window->SetSizeLimits(minWidth, maxWidth, controlHeight, controlHeight);
		window->ResizeTo(width, controlHeight);
		return;
	}
	const float minHeight = controlHeight + kMinListHeight;
	fExpandedHeight = std::clamp(fExpandedHeight, minHeight, kMaxWindowHeight);
	window->SetLook(B_DOCUMENT_WINDOW_LOOK);
	window->SetSizeLimits(minWidth, maxWidth, minHeight, kMaxWindowHeight);
	window->ResizeTo(width, fExpandedHeight);
	if (fStatBar->IsHidden(this))
		fStatBar->Show();
}


void
TVantuView::FrameResized(float width, float height)
{
	TPKNView::FrameResized(width, height);
	const TToolButton* button = CtrlButton(kListButtonIndex);
	if (Window() == NULL || button == NULL || button->Value() != 1)
		return;
	// A frame event can arrive after the list button changed: the collapsed
	// height it may carry is no height of the expanded window.
	const float windowHeight = Window()->Bounds().Height();
	if (windowHeight >= _ControlAreaHeight() + kMinListHeight)
		fExpandedHeight = windowHeight;
}


float
TVantuView::_ControlAreaHeight() const
{
	return Frame().top + fCtrlBar->Frame().bottom;
}


void
TVantuView::StoreListExpantion()
{
	if (const TToolButton* button = CtrlButton(kListButtonIndex))
		gExitState.listExpanded = button->Value() == 1;
}


void
TVantuView::ReopenMainList()
{
	if (gExitState.mainListFile.empty() || Window() == NULL)
		return;
	entry_ref ref;
	if (get_ref_for_path(gExitState.mainListFile.c_str(), &ref) != B_OK)
		return;
	BMessage reopen(kMsgOpenListFolderFileRqtd);
	reopen.AddRef("refs", &ref);
	reopen.AddInt32(kStartUpSongField, gExitState.curSongIdx);
	Window()->PostMessage(&reopen);
}
