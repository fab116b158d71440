#include "GlobalSettings.h"

#include <Entry.h>
#include <Files.h>
#include <InterfaceDefs.h>

#include "AppGlobals.h"

const char* const kPrefsFileName = "VantuMIDI_Prefs.arc";
const char* const kExitStatesFileName = "VantuMIDI_ExitStates.arc";
const char* const kSettingsFolderName = "VantuMIDI";

namespace {

const uint32 kResetChord = B_SHIFT_KEY | B_COMMAND_KEY | B_CONTROL_KEY
	| B_OPTION_KEY;


bool
reset_chord_held()
{
	return (modifiers() & kResetChord) == kResetChord;
}


bool
load_record(pelkan::TArchivable& record, const char* fileName)
{
	BEntry entry;
	if (!pelkan::get_entry(fileName, &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName)) {
		return false;
	}
	return record.Load(entry);
}


bool
save_record(const pelkan::TArchivable& record, const char* fileName)
{
	BEntry entry;
	if (!pelkan::get_entry(fileName, &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName)) {
		return false;
	}
	return record.Save(entry);
}

}


bool
load_global()
{
	if (reset_chord_held()) {
		save_pref(true);
		return false;
	}
	const bool exitStateLoaded = load_record(gExitState, kExitStatesFileName);
	const bool prefLoaded = load_record(gPref, kPrefsFileName);
	return exitStateLoaded && prefLoaded;
}


bool
save_pref(bool force)
{
	return save_pref(gPref, force);
}


bool
save_pref(const TPref& pref, bool force)
{
	if (!force && reset_chord_held())
		return false;
	return save_record(pref, kPrefsFileName);
}


bool
save_exit_state()
{
	if (reset_chord_held())
		return false;
	return save_record(gExitState, kExitStatesFileName);
}
