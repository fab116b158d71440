#include "SynthEngine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

#include <OS.h>

#include "SoundFontLocator.h"

namespace BPrivate {

namespace {

const uint16 kChannelCount = 2;
// In FluidSynth's blocks, so that every write ends on a block boundary.
const int64 kBlocksPerWrite = 16;
const size_t kTailBlockFrames = SynthEngine::kFrameRate / 100;
const int32 kTailBlocks = 200;
const int32 kFadeBlocks = 5;
const float kSilence = 4.0f / 32768;
// A time stamp further ahead than this is not a schedule but a mistake;
// honouring it would fill the file with minutes of silence.
const bigtime_t kMaxLead = 60000000;
// Tried in this order. JACK is left out on purpose: asking for it can start
// a JACK server, which must never happen behind a user's back.
const char* const kAudioDrivers[] = {"pipewire", "pulseaudio", "alsa"};

// FluidSynth's errors of this thread's last call, for the reason texts; it
// would print them on stderr otherwise.
thread_local std::string sLastError;


void
keep_error(int, const char* message, void*)
{
	sLastError = message;
}


void
take_over_logging()
{
	static std::once_flag once;
	std::call_once(once, [] {
		fluid_set_log_function(FLUID_PANIC, keep_error, NULL);
		fluid_set_log_function(FLUID_ERR, keep_error, NULL);
		fluid_set_log_function(FLUID_WARN, NULL, NULL);
		fluid_set_log_function(FLUID_INFO, NULL, NULL);
		fluid_set_log_function(FLUID_DBG, NULL, NULL);
	});
}


void
add_option(void* data, const char*, const char* option)
{
	static_cast<std::vector<std::string>*>(data)->push_back(option);
}


int16
to_sample(float value)
{
	return int16(lrintf(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
}

}	// namespace


SynthEngine::SynthEngine()
	:
	fSettings(NULL),
	fSynth(NULL),
	fDriver(NULL),
	fStartTime(0),
	fControlFrames(1),
	fFramesRendered(0),
	fFinished(false),
	fFileStatus(B_OK)
{
}


SynthEngine::~SynthEngine()
{
	Finish();
	if (fDriver != NULL)
		delete_fluid_audio_driver(fDriver);
	if (fSynth != NULL)
		delete_fluid_synth(fSynth);
	if (fSettings != NULL)
		delete_fluid_settings(fSettings);
}


status_t
SynthEngine::Init(const char* soundFont, const char* wavFile, float gain,
	BString* reason)
{
	take_over_logging();
	sLastError.clear();

	if (!(gain >= 0 && gain <= 10)) {
		reason->SetTo("The gain must lie between 0 and 10.");
		return B_BAD_VALUE;
	}

	fSettings = new_fluid_settings();
	if (fSettings != NULL) {
		fluid_settings_setnum(fSettings, "synth.gain", gain);
		fluid_settings_setnum(fSettings, "synth.sample-rate", kFrameRate);
		fSynth = new_fluid_synth(fSettings);
	}
	if (fSynth == NULL) {
		reason->SetTo("The synthesizer could not start: ");
		reason->Append(sLastError.c_str());
		return B_NO_MEMORY;
	}

	status_t status = _LoadSoundFont(soundFont, reason);
	if (status != B_OK)
		return status;

	if (wavFile == NULL || wavFile[0] == '\0')
		return _OpenAudioOutput(reason);

	status = fWriter.Open(wavFile, kFrameRate, kChannelCount);
	if (status != B_OK) {
		reason->SetTo("The WAV file \"");
		reason->Append(wavFile).Append("\" cannot be written: ")
			.Append(strerror(errno)).Append(".");
		return status;
	}
	fWavFile = wavFile;
	fControlFrames = std::max(1, fluid_synth_get_internal_bufsize(fSynth));
	fStartTime = system_time();
	return B_OK;
}


status_t
SynthEngine::Finish()
{
	std::lock_guard<std::mutex> lock(fLock);
	if (fFinished || fSynth == NULL)
		return fFileStatus;
	fFinished = true;

	if (fWriter.IsOpen()) {
		_RenderTail();
		status_t status = fWriter.Close();
		if (fFileStatus == B_OK)
			fFileStatus = status;
	} else if (fDriver != NULL) {
		for (int channel = 0; channel < fluid_synth_count_midi_channels(fSynth);
				channel++) {
			fluid_synth_all_sounds_off(fSynth, channel);
		}
		delete_fluid_audio_driver(fDriver);
		fDriver = NULL;
	}
	return fFileStatus;
}


status_t
SynthEngine::_LoadSoundFont(const char* requested, BString* reason)
{
	status_t status = find_sound_font(requested, sound_font_folders(),
		&fSoundFont, reason);
	if (status != B_OK)
		return status;

	if (!fluid_is_soundfont(fSoundFont.c_str())) {
		reason->SetTo("\"");
		reason->Append(fSoundFont.c_str())
			.Append("\" is not a SoundFont file.");
		return B_BAD_DATA;
	}
	if (fluid_synth_sfload(fSynth, fSoundFont.c_str(), 1) == FLUID_FAILED) {
		reason->SetTo("The sound font \"");
		reason->Append(fSoundFont.c_str()).Append("\" could not be loaded: ")
			.Append(sLastError.c_str());
		return B_BAD_DATA;
	}
	return B_OK;
}


status_t
SynthEngine::_OpenAudioOutput(BString* reason)
{
	std::vector<std::string> available;
	fluid_settings_foreach_option(fSettings, "audio.driver", &available,
		add_option);

	std::string failures;
	for (const char* driver : kAudioDrivers) {
		if (std::find(available.begin(), available.end(), driver)
				== available.end()) {
			continue;
		}
		std::string failure;
		// Without sound devices ALSA can only fail, and its library would
		// tell stderr at length; a sound server was tried before it.
		if (strcmp(driver, "alsa") == 0 && access("/dev/snd", F_OK) != 0)
			failure = "no sound device in /dev/snd";
		else {
			fluid_settings_setstr(fSettings, "audio.driver", driver);
			sLastError.clear();
			fDriver = new_fluid_audio_driver(fSettings, fSynth);
			if (fDriver != NULL)
				return B_OK;
			failure = sLastError.empty() ? "failed" : sLastError;
		}
		failures += (failures.empty() ? "" : "; ") + std::string(driver)
			+ ": " + failure;
	}

	reason->SetTo("No audio output could be opened (");
	reason->Append(failures.empty()
		? "no PipeWire, PulseAudio or ALSA support" : failures.c_str());
	reason->Append("); a WAV file can be rendered instead.");
	return B_ERROR;
}


bigtime_t
SynthEngine::_EventTime(bigtime_t stamp) const
{
	bigtime_t now = system_time();
	return stamp > now && stamp - now <= kMaxLead ? stamp : now;
}


void
SynthEngine::_RenderUntil(bigtime_t time)
{
	if (time <= fStartTime)
		return;
	// From the start each time, so rounding never accumulates. FluidSynth
	// renders in blocks (64 frames) and takes a message in at the next one;
	// writing only whole blocks, up to the boundary nearest the time, lets
	// the message sound there, within half a block (0.7 ms).
	int64 exact = (time - fStartTime) * int64(kFrameRate) / 1000000;
	int64 target = (exact + fControlFrames / 2) / fControlFrames
		* fControlFrames;
	while (fFramesRendered < target && fFileStatus == B_OK) {
		float peak;
		_RenderBlock(std::min(target - fFramesRendered,
			kBlocksPerWrite * fControlFrames), 1, 1, &peak);
	}
}


void
SynthEngine::_RenderBlock(size_t frames, float startGain, float endGain,
	float* peak)
{
	fLeft.resize(frames);
	fRight.resize(frames);
	fSamples.resize(frames * kChannelCount);
	fluid_synth_write_float(fSynth, frames, fLeft.data(), 0, 1, fRight.data(),
		0, 1);

	float loudest = 0;
	float step = (endGain - startGain) / frames;
	for (size_t i = 0; i < frames; i++) {
		float gain = startGain + step * i;
		loudest = std::max({loudest, std::fabs(fLeft[i]),
			std::fabs(fRight[i])});
		fSamples[2 * i] = to_sample(fLeft[i] * gain);
		fSamples[2 * i + 1] = to_sample(fRight[i] * gain);
	}
	*peak = loudest;

	fFileStatus = fWriter.Write(fSamples.data(), frames);
	fFramesRendered += frames;
}


void
SynthEngine::_RenderTail()
{
	_ReleaseAllNotes();
	for (int32 block = 0; block < kTailBlocks && fFileStatus == B_OK;
			block++) {
		int32 left = kTailBlocks - block;
		float startGain = std::min(1.0f, float(left) / kFadeBlocks);
		float endGain = std::min(1.0f, float(left - 1) / kFadeBlocks);
		float peak;
		_RenderBlock(kTailBlockFrames, startGain, endGain, &peak);
		if (peak < kSilence && fluid_synth_get_active_voice_count(fSynth) == 0)
			break;
	}
}


void
SynthEngine::_ReleaseAllNotes()
{
	const int kSustain = 64;
	const int kSostenuto = 66;
	for (int channel = 0; channel < fluid_synth_count_midi_channels(fSynth);
			channel++) {
		fluid_synth_cc(fSynth, channel, kSustain, 0);
		fluid_synth_cc(fSynth, channel, kSostenuto, 0);
		fluid_synth_all_notes_off(fSynth, channel);
	}
}

}	// namespace BPrivate
