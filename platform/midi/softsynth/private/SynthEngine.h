#ifndef _SYNTH_ENGINE_H
#define _SYNTH_ENGINE_H

#include <mutex>
#include <string>
#include <vector>

#include <fluidsynth.h>

#include <String.h>
#include <SupportDefs.h>

#include "WavWriter.h"

namespace BPrivate {

// One FluidSynth instance with its sound font, heard either through the
// audio output or in a WAV file rendered on the clock's time: each message
// first has the file filled with the audio up to the moment it arrives, so
// a sequencer on a free-running virtual clock renders faster than real time
// with every event on its exact frame.
//
// Messages come from any thread; the lock keeps rendering and the messages
// in one order.
class SynthEngine {
public:
	static const uint32 kFrameRate = 44100;

	SynthEngine();
	~SynthEngine();

	SynthEngine(const SynthEngine&) = delete;
	SynthEngine& operator=(const SynthEngine&) = delete;

	// `wavFile` NULL or empty: the audio output. The file's time starts now,
	// on the current clock.
	status_t Init(const char* soundFont, const char* wavFile, float gain,
		BString* reason);

	// Runs `event(synth)` for a message that arrived with time stamp `time`;
	// it sounds at that time or now, whichever is later.
	template<typename Event>
	void Apply(bigtime_t time, Event event)
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (fSynth == NULL || fFinished)
			return;
		if (fWriter.IsOpen())
			_RenderUntil(_EventTime(time));
		event(fSynth);
	}

	// Releases every note. A file then gets the release and reverb up to
	// silence (at most two seconds, faded out if the sound goes on), its
	// final header, and is closed; the audio output is silenced and closed.
	// Later messages are ignored. Returns the first error of the file.
	status_t Finish();

	const char* SoundFont() const { return fSoundFont.c_str(); }
	bool RendersToFile() const { return !fWavFile.empty(); }

private:
	status_t _LoadSoundFont(const char* requested, BString* reason);
	status_t _OpenAudioOutput(BString* reason);
	bigtime_t _EventTime(bigtime_t stamp) const;
	void _RenderUntil(bigtime_t time);
	// Renders `frames` into the file, scaled from `startGain` to `endGain`;
	// *peak gets the loudest sample before scaling, 0..1.
	void _RenderBlock(size_t frames, float startGain, float endGain,
		float* peak);
	void _RenderTail();
	void _ReleaseAllNotes();

	std::mutex fLock;
	fluid_settings_t* fSettings;
	fluid_synth_t* fSynth;
	fluid_audio_driver_t* fDriver;
	std::string fSoundFont;
	std::string fWavFile;
	WavWriter fWriter;
	bigtime_t fStartTime;
	int64 fControlFrames;
	int64 fFramesRendered;
	bool fFinished;
	status_t fFileStatus;
	std::vector<float> fLeft;
	std::vector<float> fRight;
	std::vector<int16> fSamples;
};

}	// namespace BPrivate

#endif
