#include "AppGlobals.h"

// One translation unit fixes the order of construction: the drive-letter
// table is read first (through the storage kit, before main).
TAppPrivacy gAppPrivacy;
TExitState gExitState;
TVLT gVLT;
TPref gPref;
