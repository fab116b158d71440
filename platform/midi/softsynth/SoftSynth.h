#ifndef _SOFT_SYNTH_H
#define _SOFT_SYNTH_H

#include <memory>

#include <MidiLocalConsumer.h>
#include <String.h>

namespace BPrivate {
class SynthEngine;
}

// The built-in General MIDI synthesizer, so that a machine without MIDI
// hardware still makes sound: a local consumer, registered in the roster as
// kName, that plays to the audio output or renders into a WAV file (16-bit
// stereo, 44100 Hz).
//
// A file is rendered on the clock's time (current_clock()): its time starts
// when the synth is created, and each message sounds at the moment it
// arrives (or at its time stamp, when that lies ahead). With a free-running
// virtual clock a sequencer thus renders a song much faster than real time,
// every note on its exact frame. Install the clock before creating the
// synth. The file ends after the last message with the release of every
// note, up to silence or two seconds.
//
// Messages may come from several threads at once.
class BSoftSynth : public BMidiLocalConsumer {
public:
	static constexpr const char* kName = "Vantu MIDI Soft Synth";

	struct Options {
		// A SoundFont file; NULL or empty: the first one installed in the
		// usual folders ("default-GM.sf2" preferred).
		const char* soundFont = NULL;
		// Render into this file; NULL or empty: play to the audio output.
		const char* wavFile = NULL;
		// Output scale, 0..10.
		float gain = 0.2f;
	};

	// On success *_synth is registered and holds one reference for the
	// caller, who ends it with Release(). On failure *_synth is NULL, nothing
	// was registered and *reason (when given) tells the user why: a sound
	// font that is missing or unreadable (B_ENTRY_NOT_FOUND or the file's
	// error) or not a SoundFont (B_BAD_DATA), a WAV file that cannot be
	// written, no audio output (B_ERROR), a gain out of range (B_BAD_VALUE).
	static status_t Create(const Options& options, BSoftSynth** _synth,
		BString* reason = NULL);

	// Silences the synth, and completes and closes the WAV file; messages
	// after it are ignored. Returns the first error writing the file. Done by
	// the destructor too, but a caller who wants to know whether the file is
	// complete calls it.
	status_t Finish();

	const char* SoundFont() const;
	bool RendersToFile() const;

	void NoteOff(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override;
	void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override;
	void KeyPressure(uchar channel, uchar note, uchar pressure,
		bigtime_t time) override;
	void ControlChange(uchar channel, uchar controlNumber, uchar controlValue,
		bigtime_t time) override;
	void ProgramChange(uchar channel, uchar programNumber,
		bigtime_t time) override;
	void ChannelPressure(uchar channel, uchar pressure,
		bigtime_t time) override;
	void PitchBend(uchar channel, uchar lsb, uchar msb,
		bigtime_t time) override;
	void SystemExclusive(void* data, size_t length, bigtime_t time) override;
	// A System Reset (FF) resets the synthesizer.
	void SystemRealTime(uchar status, bigtime_t time) override;
	// justChannel: the notes are released (All Notes Off); otherwise they are
	// cut at once (All Sound Off). On every channel.
	void AllNotesOff(bool justChannel, bigtime_t time) override;

protected:
	~BSoftSynth() override;

private:
	BSoftSynth();

	std::unique_ptr<BPrivate::SynthEngine> fEngine;
};

#endif
