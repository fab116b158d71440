#include "PlayerRig.h"

#include <cstdlib>
#include <random>

#include "PlayerProperty.h"

namespace {

uint32
from_environment(const char* name, uint32 fallback)
{
	const char* value = getenv(name);
	return value != NULL && *value != '\0' ? uint32(strtoul(value, NULL, 10)) : fallback;
}

}	// namespace


// Seeded sequences of play, pause, stop, seeks, key, tempo and volume
// changes, next and previous, song ends, devices unticked, unplugged and
// back, mode changes and list edits while playing. VANTU_PROPERTY_SEED and
// VANTU_PROPERTY_SEQUENCES choose others than the suite's.
TEST_F(RigTest, RandomUseLeavesNothingSoundingAndThePlayerConsistent)
{
	const uint32 first = from_environment("VANTU_PROPERTY_SEED", 1);
	const uint32 count = from_environment("VANTU_PROPERTY_SEQUENCES", 2000);
	Run([&]() {
		PlayerProperty property(*this);
		for (uint32 seed = first; seed < first + count; seed++) {
			std::mt19937 random(seed);
			std::vector<uint8_t> actions(1 + 2 * (4 + random() % 16));
			for (uint8_t& byte : actions)
				byte = uint8_t(random());
			const std::vector<std::string> faults = property.Run(actions.data(), actions.size());
			if (!faults.empty()) {
				ADD_FAILURE() << "seed " << seed << ": " << faults.front();
				return;
			}
		}
	});
}
