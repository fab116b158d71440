// The application's languages and the watching of the add-on folders.

#include "VantuApp.h"

#include <Directory.h>
#include <Entry.h>
#include <Message.h>
#include <NodeMonitor.h>
#include <Path.h>

#include <AboutWin.h>
#include <AddOnFolders.h>
#include <ContainerLoaderRegistry.h>
#include <DrvCvtWin.h>
#include <Files.h>
#include <PrefWin.h>
#include <VLT.h>

#include "AppGlobals.h"
#include "AppMessages.h"
#include "GlobalSettings.h"
#include "LanguageFiles.h"
#include "LocaleLanguage.h"
#include "NodeMonitorHandler.h"

namespace {

// Fixed, not from the table: the table is what failed to load.
const char kLoadFailedCaption[] = "* Vantu MIDI *";
const char kLoadFailedText[] = "Can't load language file:\n";
const char kLoadFailedButton[] = "U - Understand";


// A bare file name lies in the program's language folder, unless only the
// user's folder holds it.
std::string
language_file_path(const std::string& name)
{
	const std::vector<std::string> folders = language_folders();
	for (const std::string& folder : folders) {
		const std::string path = folder + "/" + name;
		if (is_file_exists(path.c_str()))
			return path;
	}
	return folders.front() + "/" + name;
}


void
watch_path(const std::string& path, const BHandler* handler, const BLooper* looper)
{
	BEntry entry(path.c_str(), true);
	node_ref node;
	// What does not exist is not watched.
	if (entry.GetNodeRef(&node) == B_OK)
		watch_node(&node, B_WATCH_ALL, handler, looper);
}


// Watches the folders of one add-on kind. The user's folder is made when
// missing, so that add-ons put there later are noticed at once.
void
watch_add_on_folders(const char* kind, const BHandler* handler, const BLooper* looper)
{
	const std::string userFolder = user_add_on_folder(kind);
	if (!userFolder.empty())
		create_directory(userFolder.c_str(), 0755);
	for (const std::string& folder : add_on_folders(gAppPrivacy.ExePath(), kind))
		watch_path(folder, handler, looper);
}

}	// namespace


void
TVantuApp::LoadLanguage()
{
	std::string file;
	if (gPref.languageChosen) {
		file = gPref.languageFile;
		if (!file.empty() && file[0] != '/') {
			file = language_file_path(file);
			gPref.languageFile = file;
		}
	} else {
		TLanguageFiles languages;
		get_lang_files(&languages);
		file = language_file_for_locale(locale_language_code(), languages);
	}
	// Kept even when the load fails: mending the file reloads it.
	fLanguageFileInUse = file;

	gVLT = TVLT();
	if (!file.empty()) {
		if (gVLT.Load(file.c_str()) == B_OK)
			return;
		// The built-in text rather than blank labels; the preference stays,
		// so the file is used again once it is mended.
		const std::string text = kLoadFailedText + file;
		fOutside->ShowAlert(kLoadFailedCaption, text.c_str(), kLoadFailedButton);
		gVLT = TVLT();
	}
	gVLT.Load(nullptr, TVLT::kBuiltInTextId);
}


void
TVantuApp::PrefLanguageChanged()
{
	LoadLanguage();
	PostMessage(kMsgLanguageChanged);
}


void
TVantuApp::NodeLanguageChanged()
{
	PostMessage(kMsgPrefLanguageChanged);
}


void
TVantuApp::LanguageChanged(BMessage* /*message*/)
{
	// The main and preferences windows relabel on the message itself.
	if (fDrvCvtWindow != NULL && fDrvCvtWindow->Lock()) {
		fDrvCvtWindow->SetVLTRef(&gVLT);
		fDrvCvtWindow->Unlock();
	}
	// The author line is a text of the table too.
	if (fAboutWindow != NULL && fAboutWindow->Lock()) {
		_SetAboutInfo();
		fAboutWindow->Unlock();
	}
	// The file in use may have changed.
	SetNodeMonitorLanguage();
}


void
TVantuApp::LanguageFileDropped(BMessage* message)
{
	entry_ref ref;
	if (message->FindRef("refs", &ref) != B_OK)
		return;
	BPath source(&ref);
	if (source.InitCheck() != B_OK)
		return;
	// The user's folder: the program's own is usually not writable once
	// installed.
	const std::string folder = user_add_on_folder(kLanguageFolderName);
	const std::string destination = folder + "/" + source.Leaf();
	status_t status = folder.empty() ? B_ENTRY_NOT_FOUND
		: create_directory(folder.c_str(), 0755);
	if (status == B_OK)
		status = pelkan::copy_file(source.Path(), destination.c_str());
	if (status != B_OK) {
		// The preference keeps the language in use: the copy is not there.
		const std::string text = gVLT.Text("Err_Cannot_Install_Lang") + destination;
		fOutside->ShowAlert(gVLT.Text("Alert_Caption"), text.c_str(),
			gVLT.Text("Button_Understand"));
		return;
	}
	// While the preferences window is open gPref holds its edits, which the
	// user may still cancel: only the confirmed preferences are saved, with
	// the new language.
	TPref confirmed = gPref;
	if (fPrefWindow != NULL && fPrefWindow->Lock()) {
		confirmed = fPrefWindow->ConfirmedPref();
		fPrefWindow->Unlock();
	}
	confirmed.languageFile = destination;
	confirmed.languageChosen = true;
	save_pref(confirmed, false);
	gPref.languageFile = destination;
	gPref.languageChosen = true;
	PostMessage(kMsgPrefLanguageChanged);
	// Only a language now in force is news to the preferences window, which
	// takes gPref's language as confirmed.
	TransferMessage(message, fPrefWindow);
}


void
TVantuApp::SetNodeMonitorLanguage()
{
	stop_watching(fLanguageHandler, this);
	watch_add_on_folders(kLanguageFolderName, fLanguageHandler, this);
	if (!fLanguageFileInUse.empty())
		watch_path(fLanguageFileInUse, fLanguageHandler, this);
}


void
TVantuApp::SetNodeMonitorLoader()
{
	stop_watching(fLoaderHandler, this);
	watch_add_on_folders(kLoaderFolderName, fLoaderHandler, this);
}
