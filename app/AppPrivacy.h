#ifndef APP_PRIVACY_H
#define APP_PRIVACY_H

#include <string>

#include <DrvCvt.h>

#include "TirokaState.h"

// The application's private data: where the executable lives, the player's
// state, and (as its base) the process-wide drive-letter table.
class TAppPrivacy : public TDrvCvt {
public:
	// Loads the drive-letter table, so it is in force before main runs.
	TAppPrivacy();

	// Takes the executable's name from argv0 and its folder from the running
	// image itself: argv0 may be a bare name found through PATH or a link.
	void AnaExePath(const char* argv0);
	std::string ExeName() const { return fExeName; }
	// The executable's folder, ending with "/".
	std::string ExePath() const { return fExePath; }

	TTirokaState State() const { return fState; }
	void SetState(TTirokaState state) { fState = state; }

private:
	std::string fExeName;
	std::string fExePath;
	TTirokaState fState;
};

#endif
