#include "VantuView.h"

#include <string>
#include <vector>

#include <Entry.h>
#include <Roster.h>
#include <StringView.h>
#include <Window.h>

#include "Alerts.h"
#include "AppGlobals.h"
#include "CorvanView.h"
#include "PlayerMessages.h"
#include "SMFProducer.h"
#include "TitleText.h"
#include "ToolTip.h"

namespace {

const char* const kDocExtensions[] = {"txt", "doc", "htm", "html", "hed"};
const int32 kDocExtensionCount = sizeof(kDocExtensions) / sizeof(kDocExtensions[0]);

// Opening more viewers than this at once is asked first.
const int32 kDocsWithoutAsking = 10;


const char*
list_kind_key(TSupportFmt kind)
{
	switch (kind) {
		case kSupportGeneralList:
			return "List_Kind_General";
		case kSupportFolder:
			return "List_Kind_Folder";
		case kSupportRawList:
			return "List_Kind_Raw";
		case kSupportSemiRawList:
			return "List_Kind_Semi_Raw";
		default:
			return NULL;
	}
}


std::string
leaf_name(const std::string& path)
{
	const size_t slash = path.rfind('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}


void
redraw_now(BView* view)
{
	view->Invalidate();
	if (BWindow* window = view->Window())
		window->UpdateIfNeeded();
}

}


void
TVantuView::GetSongTitle(const entry_ref& ref)
{
	std::string raw;
	const bool titled = fSequencer != nullptr && fSequencer->GetTitle(&raw) == B_OK;
	fSongTitle = pelkan::song_title(titled ? &raw : NULL, ref.path());
	if (fTitleTip != nullptr)
		fTitleTip->SetTip(fSongTitle.c_str());
}


void
TVantuView::ExpSongTitle()
{
	if (fTitleView != NULL)
		fTitleView->SetText(fSongTitle.c_str());
}


void
TVantuView::ExpTitleStr(const char* text)
{
	if (fTitleView == NULL)
		return;
	fTitleView->SetText(text);
	redraw_now(fTitleView);
}


void
TVantuView::UpdateWinTitle()
{
	const TVantuSItem* top = fPlaylist != NULL ? fPlaylist->TopList() : NULL;
	if (Window() == NULL || top == NULL)
		return;
	std::string title = top->ExpFName();
	if (const char* key = list_kind_key(top->Kind()))
		title += gVLT.Text(key);
	title += " - ";
	title += gAppName;
	Window()->SetTitle(title.c_str());
}


void
TVantuView::UpdateDeskBarTitle()
{
	if (Window() == NULL)
		return;
	const bool current = fPlaylist != NULL && fPlaylist->CurrentSongIdx() >= 0;
	BMessage message(kMsgDeskBarTitleRqtd);
	message.AddString("DeskBarTitle", current ? fSongTitle.c_str() : gAppName);
	Window()->PostMessage(&message);
}


void
TVantuView::SetStatStr(const char* text)
{
	if (fStatBar == NULL)
		return;
	fStatBar->SetText((std::string(" ") + (text != NULL ? text : "")).c_str());
	redraw_now(fStatBar);
}


void
TVantuView::SetStatStrRqtd(BMessage* message)
{
	const char* text = NULL;
	if (message->FindString("StatBarString", &text) == B_OK)
		SetStatStr(text);
}


std::string
TVantuView::DocFileName(const std::string& songPath, int32 extension, bool upper)
{
	std::string suffix = kDocExtensions[extension];
	if (upper) {
		for (char& c : suffix)
			c = c - 'a' + 'A';
	}
	const size_t leaf = songPath.rfind('/') + 1;
	const size_t dot = songPath.rfind('.');
	// A name without an extension gets one; a dot in a folder name is not one.
	const size_t stem = dot != std::string::npos && dot > leaf ? dot : songPath.size();
	return songPath.substr(0, stem) + "." + suffix;
}


status_t
TVantuView::OpenDoc(const std::string& songPath, int32 extension)
{
	if (LaunchDocument(DocFileName(songPath, extension, false)) == B_OK
		|| LaunchDocument(DocFileName(songPath, extension, true)) == B_OK) {
		return 0;
	}
	return -1;
}


bool
TVantuView::OpenAnyDoc(const std::string& songPath)
{
	for (int32 extension = 0; extension < kDocExtensionCount; extension++) {
		if (OpenDoc(songPath, extension) == 0)
			return true;
	}
	return false;
}


void
TVantuView::MItemOpenCurDocClicked()
{
	if (fPlaylist == NULL || fPlaylist->Songs() == 0)
		return;
	const TVantuSItem* song = fPlaylist->Song(NormalizeIdx(fCurSongIdx));
	if (song == NULL)
		return;
	const std::string path = song->EntryRef().path();
	if (!OpenAnyDoc(path))
		_ReportMissingDocs({path});
}


void
TVantuView::PopupOpenDocClicked()
{
	if (fPlaylist == NULL)
		return;
	// One pass over the rows: asking the view for the n-th selection costs
	// a pass of its own.
	std::vector<std::string> paths;
	for (int32 row = 0; row < fPlaylist->FullListCountItems(); row++) {
		const TVantuSItem* item = static_cast<TVantuSItem*>(fPlaylist->FullListItemAt(row));
		if (item->IsSelected() && !item->Container())
			paths.push_back(item->EntryRef().path());
	}
	if (int32(paths.size()) > kDocsWithoutAsking) {
		const std::string question = SubstituteText(gVLT.Text("Ask_Open_Many_Docs"),
			std::to_string(paths.size()));
		if (ShowAlert(question.c_str(), gVLT.Text("Button_No"), gVLT.Text("Button_Yes"),
				B_INFO_ALERT) != 1) {
			return;
		}
	}
	std::vector<std::string> missing;
	for (const std::string& path : paths) {
		if (!OpenAnyDoc(path))
			missing.push_back(path);
	}
	if (!missing.empty())
		_ReportMissingDocs(missing);
}


void
TVantuView::_ReportMissingDocs(const std::vector<std::string>& songPaths)
{
	std::string text = gVLT.Text("Err_Cannot_Open_Doc");
	for (size_t i = 0; i < songPaths.size(); i++) {
		if (i > 0)
			text += "\n";
		text += leaf_name(DocFileName(songPaths[i], 0, false));
	}
	ShowAlert(text.c_str(), gVLT.Text("Button_Understand"), NULL, B_WARNING_ALERT);
}


std::string
TVantuView::SubstituteText(const char* text, const std::string& value)
{
	std::string result = text != NULL ? text : "";
	const size_t mark = result.find("%s");
	if (mark != std::string::npos)
		result.replace(mark, 2, value);
	return result;
}


int32
TVantuView::ShowAlert(const char* text, const char* button0, const char* button1,
	alert_type type)
{
	// Escape answers the first button: "No" of a question, or the only one.
	return pelkan::show_alert(gVLT.Text("Alert_Caption"), text, button0, button1, NULL, 0,
		type);
}


status_t
TVantuView::LaunchDocument(const std::string& path)
{
	entry_ref ref;
	status_t status = get_ref_for_path(path.c_str(), &ref);
	if (status != B_OK)
		return status;
	status = be_roster->Launch(&ref);
	// The viewer that already runs shows the document all the same.
	return status == B_ALREADY_RUNNING ? B_OK : status;
}
