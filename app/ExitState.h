#ifndef EXIT_STATE_H
#define EXIT_STATE_H

#include <string>
#include <vector>

#include <PKNArchivable.h>
#include <Rect.h>

// What the windows and the player view leave behind when they close, read
// back at the next start.
class TExitState : public pelkan::TArchivable {
public:
	static const int32 kPortCount = 2;

	bool Archive(BMessage* archive) const override;
	bool Unarchive(const BMessage& archive) override;

	// The playlist part of the main window was shown.
	bool listExpanded = true;
	int32 curSongIdx = 0;
	// Height of the main window while the playlist is shown.
	float expandedHeight = 200;
	// Names ("be:name") of the MIDI consumers connected to each output port.
	std::vector<std::string> connectedOutputs[kPortCount];
	// Version text of the program that wrote the file (read only: every save
	// writes the running version).
	std::string lastVersion;
	// Absolute path of the main list's file; empty when it is unnamed.
	std::string mainListFile;
	// Folder last shown in the open and save panels.
	std::string panelFolder = "/boot/home";
	// Wide enough for the control bar, the indicators and the whole sliders
	// with the desktop's fonts (the player narrows the window to where its
	// sliders end); narrower, the slider labels are cut off.
	BRect mainWinFrame = BRect(5, 24, 605, 250);
	int32 playMode = 0;

private:
	// Brings every loaded value into the range the program can use.
	void _Clamp();
};

#endif
