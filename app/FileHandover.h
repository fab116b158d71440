#ifndef FILE_HANDOVER_H
#define FILE_HANDOVER_H

#include <string>
#include <vector>

#include <Handler.h>
#include <Message.h>

class TVantuWin;

// Brings the files the program is asked to play to the player: those named
// on its command line, those a second start hands over, the demo song of
// the first start. They are added as if dropped onto the player, which then
// plays the first song added; the window comes to the front.
//
// Lives in the main window's looper; the single-instance thread reaches it
// only by posting.
class TFileHandover : public BHandler {
public:
	// A message for this handler: the absolute paths to add ("path").
	static BMessage Request(const std::vector<std::string>& paths);

	explicit TFileHandover(TVantuWin* window);

	virtual void MessageReceived(BMessage* message);

private:
	TVantuWin* fWindow;
};

#endif
