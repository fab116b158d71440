#include <SoftSynth.h>

#include "SynthEngine.h"

using BPrivate::SynthEngine;


BSoftSynth::BSoftSynth()
	:
	BMidiLocalConsumer(kName),
	fEngine(std::make_unique<SynthEngine>())
{
}


BSoftSynth::~BSoftSynth()
{
}


status_t
BSoftSynth::Create(const Options& options, BSoftSynth** _synth,
	BString* reason)
{
	if (_synth == NULL)
		return B_BAD_VALUE;
	*_synth = NULL;

	BString ignored;
	if (reason == NULL)
		reason = &ignored;

	BSoftSynth* synth = new BSoftSynth;
	status_t status = synth->fEngine->Init(options.soundFont, options.wavFile,
		options.gain, reason);
	if (status == B_OK) {
		status = synth->Register();
		if (status != B_OK)
			reason->SetTo("The synthesizer could not join the MIDI roster.");
	}
	if (status != B_OK) {
		synth->Release();
		return status;
	}
	*_synth = synth;
	return B_OK;
}


status_t
BSoftSynth::Finish()
{
	return fEngine->Finish();
}


const char*
BSoftSynth::SoundFont() const
{
	return fEngine->SoundFont();
}


bool
BSoftSynth::RendersToFile() const
{
	return fEngine->RendersToFile();
}


void
BSoftSynth::NoteOff(uchar channel, uchar note, uchar, bigtime_t time)
{
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_noteoff(synth, channel, note);
	});
}


void
BSoftSynth::NoteOn(uchar channel, uchar note, uchar velocity, bigtime_t time)
{
	// Velocity 0 is a Note Off; FluidSynth treats it so.
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_noteon(synth, channel, note, velocity);
	});
}


void
BSoftSynth::KeyPressure(uchar channel, uchar note, uchar pressure,
	bigtime_t time)
{
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_key_pressure(synth, channel, note, pressure);
	});
}


void
BSoftSynth::ControlChange(uchar channel, uchar controlNumber,
	uchar controlValue, bigtime_t time)
{
	// All Sound Off, Reset All Controllers and All Notes Off (120, 121, 123)
	// are FluidSynth's own business too.
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_cc(synth, channel, controlNumber, controlValue);
	});
}


void
BSoftSynth::ProgramChange(uchar channel, uchar programNumber, bigtime_t time)
{
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_program_change(synth, channel, programNumber);
	});
}


void
BSoftSynth::ChannelPressure(uchar channel, uchar pressure, bigtime_t time)
{
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_channel_pressure(synth, channel, pressure);
	});
}


void
BSoftSynth::PitchBend(uchar channel, uchar lsb, uchar msb, bigtime_t time)
{
	int value = (msb & 0x7f) << 7 | (lsb & 0x7f);
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_pitch_bend(synth, channel, value);
	});
}


void
BSoftSynth::SystemExclusive(void* data, size_t length, bigtime_t time)
{
	if (data == NULL || length == 0)
		return;
	// A body from a file often keeps its own F7 after the one the kit took.
	const char* body = static_cast<const char*>(data);
	if (uchar(body[length - 1]) == B_SYS_EX_END)
		length--;
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		fluid_synth_sysex(synth, body, length, NULL, NULL, NULL, 0);
	});
}


void
BSoftSynth::SystemRealTime(uchar status, bigtime_t time)
{
	if (status != B_SYSTEM_RESET)
		return;
	fEngine->Apply(time, [](fluid_synth_t* synth) {
		fluid_synth_system_reset(synth);
	});
}


void
BSoftSynth::AllNotesOff(bool justChannel, bigtime_t time)
{
	fEngine->Apply(time, [=](fluid_synth_t* synth) {
		for (int channel = 0; channel < fluid_synth_count_midi_channels(synth);
				channel++) {
			if (justChannel)
				fluid_synth_all_notes_off(synth, channel);
			else
				fluid_synth_all_sounds_off(synth, channel);
		}
	});
}
