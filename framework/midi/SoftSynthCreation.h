#ifndef SOFT_SYNTH_CREATION_H
#define SOFT_SYNTH_CREATION_H

#include <string>

#include <SupportDefs.h>

class BSoftSynth;

namespace pelkan {

// The WAV file the environment asks the soft synth to render into, for tests
// and machines without audio: VANTU_SOFTSYNTH_WAV=FILE makes the synth write
// what it plays into FILE as it plays, on the clock's time, instead of
// sounding on an audio device. "" when the variable is unset or empty.
std::string soft_synth_wav_from_environment();

// Creates the soft synth and registers it in the roster, playing to the
// audio output, or into wavPath when that is not empty; soundFont "" takes
// the first one installed. The caller owns one reference (Release()), and
// completes a WAV file with Finish() to learn whether it was written.
// On failure NULL, and *problem says why for the user (no audio output, no
// usable sound font, an unwritable file); *status, when asked for, tells
// these apart as BSoftSynth::Create does.
BSoftSynth* create_soft_synth(const std::string& soundFont,
	const std::string& wavPath, std::string* problem,
	status_t* status = NULL);

}

#endif
