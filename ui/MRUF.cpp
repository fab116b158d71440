#include "MRUF.h"

#include <algorithm>
#include <cstring>

#include <AppDefs.h>
#include <Entry.h>
#include <InterfaceDefs.h>
#include <Menu.h>
#include <MenuItem.h>
#include <SeparatorItem.h>

#include <PathFunctions.h>

namespace {

const char kArchiveField[] = "MRUF";
const int32 kDefaultMax = 10;
const int32 kLastDigit = 9;

}


TMRUF::TMRUF()
	:
	fShowSC(false),
	fTgtBase(0),
	fTriggerBase(0),
	fMax(kDefaultMax),
	fSeparator("・"),
	fTgtHandler(NULL),
	fTgtMenu(NULL),
	fMessage(B_REFS_RECEIVED)
{
}


TMRUF::~TMRUF()
{
}


bool
TMRUF::Archive(BMessage* archive) const
{
	bool added = TArchivable::Archive(archive);
	for (auto path = fPaths.rbegin(); path != fPaths.rend(); ++path)
		added = archive->AddString(kArchiveField, path->c_str()) == B_OK && added;
	return added;
}


bool
TMRUF::Unarchive(const BMessage& archive)
{
	TArchivable::Unarchive(archive);
	fPaths.clear();
	const char* path;
	for (int32 i = 0; FindString(archive, kArchiveField, i, &path) == B_OK; i++)
		AddMRUF(path);
	return true;
}


void
TMRUF::SetSeparator(const char* separator)
{
	fSeparator = separator != NULL ? separator : "";
}


void
TMRUF::SetMessage(BMessage* message)
{
	if (message == NULL)
		return;
	fMessage = *message;
	delete message;
}


void
TMRUF::SetMaxMRUF(int32 count)
{
	fMax = std::clamp<int32>(count, 1, kMaxLimit);
	DeleteExtraMRUF();
}


void
TMRUF::AddMRUF(const char* path)
{
	if (path == NULL)
		return;
	const int32 index = FindMRUF(path);
	if (index >= 0) {
		std::string listed = std::move(fPaths[index]);
		fPaths.erase(fPaths.begin() + index);
		fPaths.push_front(std::move(listed));
		return;
	}
	fPaths.push_front(path);
	DeleteExtraMRUF();
}


std::optional<std::string>
TMRUF::RemoveMRUF(int32 index)
{
	if (index < 0 || index >= CountMRUFs())
		return std::nullopt;
	std::string removed = std::move(fPaths[index]);
	fPaths.erase(fPaths.begin() + index);
	return removed;
}


std::optional<std::string>
TMRUF::RemoveMRUF(const char* path)
{
	return RemoveMRUF(FindMRUF(path));
}


int32
TMRUF::FindMRUF(const char* path) const
{
	if (path == NULL)
		return -1;
	for (int32 i = 0; i < CountMRUFs(); i++) {
		if (fPaths[i] == path)
			return i;
	}
	return -1;
}


const char*
TMRUF::MRUFAt(int32 index) const
{
	return fPaths[index].c_str();
}


void
TMRUF::DeleteExtraMRUF()
{
	while (CountMRUFs() > fMax)
		fPaths.pop_back();
}


int32
TMRUF::GenerateMenu()
{
	if (fTgtMenu == NULL)
		return -1;
	while (BMenuItem* old = fTgtMenu->ItemAt(fTgtBase)) {
		if (dynamic_cast<BSeparatorItem*>(old) != NULL)
			break;
		delete fTgtMenu->RemoveItem(fTgtBase);
	}
	for (int32 i = 0; i < CountMRUFs(); i++) {
		const int32 trigger = i + fTriggerBase;
		BMessage* message = new BMessage(fMessage);
		entry_ref ref;
		get_ref_for_path(fPaths[i].c_str(), &ref);
		message->AddRef("refs", &ref);
		const bool shortcut = fShowSC && trigger <= kLastDigit;
		BMenuItem* item = new BMenuItem(_Label(trigger, fSeparator, fPaths[i]).c_str(),
			message, shortcut ? char('0' + trigger) : 0, shortcut ? B_SHIFT_KEY : 0);
		// The label shows the name only; the full path tells apart two
		// files of the same name.
		item->SetToolTip(fPaths[i].c_str());
		item->SetTarget(fTgtHandler);
		if (!fTgtMenu->AddItem(item, fTgtBase + i))
			delete item;
	}
	return 0;
}


std::string
TMRUF::_Label(int32 trigger, const std::string& separator, const std::string& path)
{
	const char lead = trigger <= kLastDigit ? char('0' + trigger)
		: char('A' + (trigger - kLastDigit - 1));
	return std::string(1, lead) + separator + extract_file_name(path);
}
