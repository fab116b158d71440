// Drives the player in an offscreen window with the bytes as a sequence of
// user actions, songs ending, devices going and coming and list edits, on
// the stepped clock, and aborts when a note is left sounding, a Note Off
// goes out for a note that was not on, or the player's state and its
// playlist's current mark disagree.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <Application.h>
#include <InterfaceKit.h>

#include "PlayerProperty.h"

namespace {

// The first byte chooses the preferences and the list; each further pair
// is one action. Longer inputs only repeat what shorter ones reach.
const size_t kLongestInput = 1 + 2 * 64;


struct Harness {
	Harness()
		:
		driver([](const std::string& fault) {
			fprintf(stderr, "driving the player: %s\n", fault.c_str());
			abort();
		})
	{
		setenv("QT_QPA_PLATFORM", "offscreen", 0);
		static int argc = 1;
		static char name[] = "fuzz_player_sequence";
		static char* argv[] = {name, nullptr};
		BPrivate::init_interface_kit(argc, argv);
		new BApplication("application/x-vnd.PELKAN-player-fuzz");
		set_current_clock(&driver.fClock);
		PlayerDriver::ResetRecords();
		property = new PlayerProperty(driver);
	}

	PlayerDriver driver;
	PlayerProperty* property;
};

}	// namespace


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	// Never destroyed: the window and its player live for the whole run.
	static Harness* harness = new Harness;
	const std::vector<std::string> faults
		= harness->property->Run(data, std::min(size, kLongestInput));
	if (!faults.empty()) {
		fprintf(stderr, "player property: %s\n", faults.front().c_str());
		abort();
	}
	return 0;
}
