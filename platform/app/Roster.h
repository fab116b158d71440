#ifndef _ROSTER_H
#define _ROSTER_H

#include <SupportDefs.h>

class BMessage;
struct entry_ref;

// Opens documents and addresses with the applications the desktop prefers
// for them (xdg-open). A launch only starts the opener: it reports failures
// it can see at once (a missing document, no opener) and returns without
// waiting for the application.
class BRoster {
public:
	BRoster();
	~BRoster();

	// Opens each argument (a URL or a path) with the desktop's application
	// for it; the type only says what the caller means, the desktop chooses
	// by the argument. B_BAD_VALUE without arguments or for an argument the
	// opener would take for an option. `appTeam` receives -1: the opener,
	// not the application, is what is started.
	status_t Launch(const char* mimeType, int argc, const char* const* args,
		team_id* appTeam = NULL) const;
	// Opens the document; B_ENTRY_NOT_FOUND when it does not exist. An
	// initial message cannot reach an application of another platform and
	// is not sent.
	status_t Launch(const entry_ref* ref,
		const BMessage* initialMessage = NULL, team_id* appTeam = NULL) const;
};

extern const BRoster* be_roster;

#endif
