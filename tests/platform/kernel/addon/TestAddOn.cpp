#include <cstdint>
#include <cstdlib>

// Calls into the C library so that the add-on depends on it; the tests check
// that its symbols are not taken for the add-on's own.
extern "C" int32_t test_addon_twice(int32_t value)
{
	return static_cast<int32_t>(std::labs(value) * 2);
}

extern "C" {
int32_t test_addon_value = TEST_ADDON_VALUE;
}
