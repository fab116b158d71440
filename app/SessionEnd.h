#ifndef SESSION_END_H
#define SESSION_END_H

#include <string>
#include <thread>

#include <Handler.h>

class TVantuWin;

// Ends the program when the desktop session ends: SIGTERM, SIGINT, SIGHUP
// or logging out. Nobody can be asked then, so the changed lists, which a
// normal quit would ask about, are kept as recovered copies in the recovery
// folder (see recover_modified_lists()); then the program quits the normal
// way, saving what every quit saves.
//
// Lives in the main window's looper, behind whatever was posted to the
// window before the session ended (files just handed over). The signal
// handler only writes a byte into a pipe; a thread of this object's own
// turns it into a message.
class TSessionEnd : public BHandler {
public:
	TSessionEnd(TVantuWin* window, std::string recoveryFolder);
	// Gives the three signals back their default action.
	virtual ~TSessionEnd();

	// Starts watching; the handler must be in the window's looper by then.
	// A second signal while the program quits ends it at once, as usual.
	void Watch();

	// The recovered copy of the main list when the session ended with it
	// changed; empty otherwise. The exit state is to name it.
	const std::string& RecoveredMainList() const { return fRecoveredMainList; }

	virtual void MessageReceived(BMessage* message);

private:
	void _WatchLoop();
	void _End();

	TVantuWin* fWindow;
	std::string fRecoveryFolder;
	std::string fRecoveredMainList;
	bool fEnding;
	int fStopFd;
	std::thread fThread;
};

#endif
