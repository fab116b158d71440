#include "SoftSynthCreation.h"

#include <cstdlib>

#include <SoftSynth.h>
#include <String.h>

std::string
pelkan::soft_synth_wav_from_environment()
{
	const char* path = getenv("VANTU_SOFTSYNTH_WAV");
	return path != NULL ? path : "";
}


BSoftSynth*
pelkan::create_soft_synth(const std::string& soundFont,
	const std::string& wavPath, std::string* problem, status_t* status)
{
	BSoftSynth::Options options;
	options.soundFont = soundFont.c_str();
	options.wavFile = wavPath.c_str();
	BSoftSynth* synth = NULL;
	BString reason;
	const status_t result = BSoftSynth::Create(options, &synth, &reason);
	if (status != NULL)
		*status = result;
	if (result != B_OK) {
		*problem = reason.String();
		return NULL;
	}
	return synth;
}
