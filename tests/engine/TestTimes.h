#ifndef VANTU_TESTS_ENGINE_TEST_TIMES_H
#define VANTU_TESTS_ENGINE_TEST_TIMES_H

#include <SupportDefs.h>

// Where the virtual clock of a sequencing test starts, and how long the
// test waits in real time for the play thread before it calls it hung.
inline constexpr bigtime_t kStart = 1000000;
inline constexpr bigtime_t kWatchdog = 5000000;

#endif
