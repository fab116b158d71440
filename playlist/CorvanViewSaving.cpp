// Saving lists: the questions before an action discards changes, save and
// save-as chained one after another through next-message fields, and the
// writing of a list row into a native list file.

#include "CorvanView.h"

#include <cstdio>
#include <set>

#include <sys/stat.h>

#include <Message.h>
#include <Window.h>

#include <Alerts.h>
#include <Files.h>
#include <NextMsg.h>

#include "AppGlobals.h"
#include "NativeListWriter.h"

namespace {

const char* const kNativeListExtension = "lml";
// The lists a chain of saves has already tried, so a list that cannot be
// written is asked about once.
const char* const kTriedField = "TriedID";


// The first "%s" of a language text replaced by `value`; the text is never
// used as a format.
std::string
substitute(const std::string& text, const std::string& value)
{
	std::string result = text;
	const size_t mark = result.find("%s");
	if (mark != std::string::npos)
		result.replace(mark, 2, value);
	return result;
}


// The ids in "SvdID": each written as "," and the id.
std::set<int32>
offered_ids(const BMessage* message)
{
	std::set<int32> ids;
	const char* text = "";
	if (message->FindString("SvdID", &text) != B_OK)
		return ids;
	for (const char* token = text; *token != '\0'; token++) {
		if (*token == ',')
			ids.insert(int32(strtol(token + 1, NULL, 10)));
	}
	return ids;
}

}


int32
TCorvanView::ShowAlert(const char* text, const char* button0, const char* button1,
	const char* button2, int32 escapeIndex, alert_type type)
{
	return pelkan::show_alert(gVLT.Text("Alert_Caption"), text, button0, button1, button2,
		escapeIndex, type);
}


void
TCorvanView::_Fail(const std::string& text)
{
	ShowAlert(text.c_str(), gVLT.Text("Button_Understand"), NULL, NULL, 0,
		B_WARNING_ALERT);
}


bool
TCorvanView::AskSaveList(BMessage* request)
{
	int32 id = -1;
	request->FindInt32("ListID", &id);
	TVantuSItem* list = FindList(id);
	if (list == NULL || !list->ListInfo().modified)
		return true;
	const std::string text = list->ExpFName() + " " + gVLT.Text("Ask_Save_List");
	switch (ShowAlert(text.c_str(), gVLT.Text("Button_Cancel"), gVLT.Text("Button_No"),
			gVLT.Text("Button_Yes"), 0, B_INFO_ALERT)) {
		case 1:
			return true;
		case 2:
			SaveList(request);
			return false;
		default:
			return false;
	}
}


bool
TCorvanView::AskSaveSelectedList(const BMessage& next, BHandler* target)
{
	std::vector<int32> lists;
	for (const TRowPlace& place : _Layout()) {
		if (place.item->IsSelected() && place.item->Container())
			lists.push_back(place.item->ListInfo().listID);
	}
	return _AskSaveLists(lists, next, target);
}


bool
TCorvanView::_AskSaveLists(const std::vector<int32>& lists, const BMessage& next,
	BHandler* target)
{
	for (int32 id : lists) {
		BMessage request(kMsgPopupSaveList);
		request.AddInt32("ListID", id);
		pelkan::add_next_msg(&request, next, target);
		if (!AskSaveList(&request))
			return false;
	}
	return true;
}


bool
TCorvanView::SaveList(BMessage* request)
{
	int32 id = -1;
	request->FindInt32("ListID", &id);
	const TVantuSItem* list = FindList(id);
	if (list == NULL)
		return false;
	if (list->ListInfo().unnamed || list->Kind() != kSupportNative100) {
		SaveListAs(request);
		return false;
	}
	OverwriteList(id, list->EntryRef());
	_PostNext(request);
	return true;
}


bool
TCorvanView::SaveListAs(BMessage* request)
{
	int32 id = -1;
	request->FindInt32("ListID", &id);
	BMessage panelMessage(*request);
	panelMessage.what = B_SAVE_REQUESTED;
	fSavePanelListID = id;
	BMessage open(kMsgSavePanelRqtd);
	open.AddString("SvPnlTitle", SavePanelTitle(id).c_str());
	open.AddMessage("SvPnlMsg", &panelMessage);
	if (Window() != NULL)
		Window()->PostMessage(&open, Window());
	return true;
}


std::string
TCorvanView::SavePanelTitle(int32 id) const
{
	const TVantuSItem* list = FindList(id);
	return substitute(gVLT.Text("Save_Panel_Title"), list != NULL ? list->ExpFName() : "");
}


void
TCorvanView::SaveRequested(BMessage* request)
{
	entry_ref target;
	if (pelkan::get_save_ref(request, &target) != B_OK) {
		_PostNext(request);
		return;
	}
	std::string name = target.name != NULL ? target.name : "";
	if (name.find('.') == std::string::npos) {
		// The panel asked about the name the user typed, not this one.
		name += std::string(".") + kNativeListExtension;
		target.set_name(name.c_str());
		struct stat status;
		if (stat(target.path().c_str(), &status) == 0) {
			const std::string question = substitute(gVLT.Text("Ask_Replace_List"), name);
			if (ShowAlert(question.c_str(), gVLT.Text("Button_No"), gVLT.Text("Button_Yes"),
					NULL, 0, B_WARNING_ALERT) != 1) {
				return;
			}
		}
	}
	int32 id = -1;
	request->FindInt32("ListID", &id);
	if (OverwriteList(id, target)) {
		TVantuSItem* list = FindList(id);
		if (list != NULL && list != TopList())
			_MarkModified(ParentOf(list));
		SendUpdateWinTitleRqtd();
	}
	_PostNext(request);
}


std::vector<std::string>
TCorvanView::ListEntries(const TVantuSItem* list) const
{
	std::vector<std::string> entries;
	const int32 row = FullListIndexOf(list);
	for (int32 child = row + 1; child < FullListCountItems()
			&& FullListItemAt(child)->OutlineLevel() > list->OutlineLevel(); child++) {
		const TVantuSItem* item = static_cast<TVantuSItem*>(FullListItemAt(child));
		// Entries are the direct children; a list made here has no file to name.
		if (item->OutlineLevel() == list->OutlineLevel() + 1 && !item->ListInfo().unnamed)
			entries.push_back(item->EntryRef().path());
	}
	return entries;
}


bool
TCorvanView::OverwriteList(int32 id, const entry_ref& target)
{
	TVantuSItem* list = FindList(id);
	if (list == NULL) {
		_Fail(gVLT.Text("Err_Already_Deled"));
		return false;
	}
	std::string badEntry;
	const status_t status = write_native_list(target.path().c_str(), ListEntries(list),
		&badEntry);
	if (status != B_OK) {
		if (status == B_BAD_VALUE && !badEntry.empty())
			_Fail(gVLT.Text("Err_Entry_Not_Savable") + badEntry);
		else
			_Fail(gVLT.Text("Err_Cannot_Save_List") + std::string(target.name));
		return false;
	}
	_ForgetListPath(list);
	list->ListInfo().modified = false;
	list->ListInfo().unnamed = false;
	list->SetEntryRef(target);
	list->SetKind(kSupportNative100);
	list->UpdateText();
	_RememberListPath(list);
	Invalidate();
	return true;
}


void
TCorvanView::PopupSaveListClicked(BMessage* message)
{
	std::set<int32> tried;
	int32 id;
	for (int32 i = 0; message->FindInt32(kTriedField, i, &id) == B_OK; i++)
		tried.insert(id);
	const std::vector<TRowPlace> rows = _Layout();
	for (auto place = rows.rbegin(); place != rows.rend(); place++) {
		const TVantuSItem* list = place->item;
		const TListInfo& info = list->ListInfo();
		if (!list->IsSelected() || !list->Container() || tried.count(info.listID) > 0
			|| !(info.modified || info.unnamed)) {
			continue;
		}
		BMessage next(kMsgPopupSaveList);
		for (int32 done : tried)
			next.AddInt32(kTriedField, done);
		next.AddInt32(kTriedField, info.listID);
		BMessage request(kMsgPopupSaveList);
		request.AddInt32("ListID", info.listID);
		pelkan::add_next_msg(&request, next, this);
		SaveList(&request);
		return;
	}
}


void
TCorvanView::PopupSaveListAsClicked(BMessage* message)
{
	const std::set<int32> offered = offered_ids(message);
	const std::vector<TRowPlace> rows = _Layout();
	for (auto place = rows.rbegin(); place != rows.rend(); place++) {
		const TVantuSItem* list = place->item;
		const int32 id = list->ListInfo().listID;
		if (!list->IsSelected() || !list->Container() || offered.count(id) > 0)
			continue;
		const char* text = "";
		message->FindString("SvdID", &text);
		BMessage next(kMsgPopupSaveListAs);
		next.AddString("SvdID", (std::string(text) + "," + std::to_string(id)).c_str());
		BMessage request(kMsgPopupSaveListAs);
		request.AddInt32("ListID", id);
		pelkan::add_next_msg(&request, next, this);
		SaveListAs(&request);
		return;
	}
}


void
TCorvanView::_PostNext(const BMessage* request)
{
	BMessage next;
	const void* pointer = NULL;
	if (request->FindMessage("_NxMsg", &next) != B_OK
		|| request->FindPointer("_NxMsgTgt", &pointer) != B_OK || pointer == NULL) {
		return;
	}
	BHandler* target = const_cast<BHandler*>(static_cast<const BHandler*>(pointer));
	if (BLooper* looper = target->Looper())
		looper->PostMessage(&next, target);
}
