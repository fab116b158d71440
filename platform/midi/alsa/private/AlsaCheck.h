#ifndef _ALSA_CHECK_H
#define _ALSA_CHECK_H

#include <string>

#include <SupportDefs.h>

// Every libasound call of the bridge goes through here: a negative result (an
// ALSA error, -errno) becomes a status, and the failure is recorded with the
// call's name and site, so that the one message a program shows tells where
// it went wrong.
// (A macro rather than std::source_location, which clang 14 lacks.)
status_t alsa_check_at(int result, const char* call, const char* file,
	int line);
#define alsa_check(result, call) \
	alsa_check_at((result), (call), __FILE__, __LINE__)

// "snd_seq_open: No such file or directory (AlsaSequencerBridge.cpp:42)", or
// empty when nothing failed yet.
std::string alsa_last_failure();

#endif
