#ifndef APP_GLOBALS_H
#define APP_GLOBALS_H

#include <VLT.h>

#include "AppConstants.h"
#include "AppPrivacy.h"
#include "ExitState.h"
#include "Pref.h"

// The process-wide records. They exist from before main until after it
// returns, constructed in this order and destroyed in reverse; they carry
// no lock.
extern TAppPrivacy gAppPrivacy;
extern TExitState gExitState;
extern TVLT gVLT;
extern TPref gPref;

#endif
