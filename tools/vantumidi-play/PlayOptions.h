#ifndef PLAY_OPTIONS_H
#define PLAY_OPTIONS_H

#include <string>
#include <vector>

#include <SupportDefs.h>

// What the command line asks for. The slider values and the start sequence
// have the player's ranges and defaults.
struct TPlayOptions {
	std::vector<std::string> files;

	bool help = false;
	bool listDevices = false;
	bool dump = false;
	// With --dump: play on the real clock instead of the virtual one.
	bool realTime = false;
	bool timing = false;
	std::string wavPath;
	std::string soundFont;
	// The device for port A and B, by name or roster id; empty: the default.
	std::string devices[2];

	int32 tempo = 100;
	int32 key = 0;
	int32 volume = 100;

	// Bits of the system resets to send before each song (1 GM, 2 GS, 4 88,
	// 8 XG); each is followed by resetSilence of quiet.
	int32 resetMask = 0;
	bigtime_t resetSilence = 300000;
	// Quiet between two songs; none before the first.
	bigtime_t gap = 0;

	// The song then runs on a free-running virtual clock, as fast as the
	// machine can.
	bool VirtualTime() const
		{ return !wavPath.empty() || (dump && !realTime); }
};

// Fills *options from the arguments after the program name. On a mistake
// returns B_BAD_VALUE with a one-line explanation in *error.
status_t parse_play_options(int argc, const char* const* argv,
	TPlayOptions* options, std::string* error);

// The --help text.
const char* play_usage();

#endif
