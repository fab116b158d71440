#ifndef _ALSA_CHECK_H
#define _ALSA_CHECK_H

#include <source_location>
#include <string>

#include <SupportDefs.h>

// Every libasound call of the bridge goes through here: a negative result (an
// ALSA error, -errno) becomes a status, and the failure is recorded with the
// call's name and site, so that the one message a program shows tells where
// it went wrong.
status_t alsa_check(int result, const char* call,
	std::source_location where = std::source_location::current());

// "snd_seq_open: No such file or directory (AlsaSequencerBridge.cpp:42)", or
// empty when nothing failed yet.
std::string alsa_last_failure();

#endif
