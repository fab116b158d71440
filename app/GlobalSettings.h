#ifndef GLOBAL_SETTINGS_H
#define GLOBAL_SETTINGS_H

class TPref;

// Loading and saving of gPref and gExitState in the settings folder.
//
// Holding Shift, Command, Control and Option together is the reset chord:
// at start it writes the default preferences and keeps the default exit
// state; at exit it discards the run's exit state.

// Loads the exit state, then the preferences; true when both loaded.
bool load_global();
// Saves gPref; unless forced, not while the reset chord is held.
bool save_pref(bool force);
// The same for preferences other than gPref's: the confirmed ones while the
// preferences window holds edits in gPref.
bool save_pref(const TPref& pref, bool force);
// Saves gExitState, not while the reset chord is held.
bool save_exit_state();

// The names of the two settings files in the program's settings folder.
extern const char* const kPrefsFileName;
extern const char* const kExitStatesFileName;
extern const char* const kSettingsFolderName;

#endif
