#ifndef _MIDI_FILTER_H
#define _MIDI_FILTER_H

#include <atomic>
#include <cstdint>

#include <MidiLocalConsumer.h>

class BMidiLocalProducer;

// The last stage of an output port: scales Note On velocities by the volume
// and transposes notes by the key (the percussion channel excepted), then
// passes every message on through its own producer, the endpoint the
// devices are connected to.
//
// A note keeps the number it went out with until it ends: its Note Off (or
// Note On with velocity 0) and its key pressure name that number whatever
// the key has become meanwhile, so a key change can never leave a note
// sounding on the device. The end of a note that does not sound, one the
// player silenced before the song ended it, is dropped: with the key
// changed since, it would name some other note.
//
// Key and volume are set from the window thread while the hooks run on the
// delivery threads; each is read once per message. The sounding table is
// shared by the delivery threads entry by entry, without a lock.
class TMidiFilter : public BMidiLocalConsumer {
public:
	explicit TMidiFilter(const char* outputName);

	status_t SetVolume(int32 percent);
	int32 Volume() const;
	status_t SetKey(int32 semitones);
	int32 Key() const;

	BMidiLocalProducer* Producer() const { return fOutput; }

	void Data(uchar* data, size_t length, bool atomic,
		bigtime_t time) override;
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
	void SystemCommon(uchar status, uchar data1, uchar data2,
		bigtime_t time) override;
	void SystemRealTime(uchar status, bigtime_t time) override;
	void TempoChange(int32 beatsPerMinute, bigtime_t time) override;
	void AllNotesOff(bool justChannel, bigtime_t time) override;

protected:
	// Released like every endpoint; by then the kit has disconnected it, so
	// no delivery reaches a filter being destroyed.
	~TMidiFilter() override;

private:
	static const int32 kChannelCount = 16;
	static const int32 kNoteCount = 128;

	uchar _Transposed(uchar channel, uchar note) const;
	// The sounding-table entry of a note as the kit puts it on the wire.
	std::atomic<uint8_t>& _Sounding(uchar channel, uchar note);
	// Forgets the note and gives the number it went out with; false when it
	// does not sound.
	bool _NoteEnded(uchar channel, uchar note, uchar* sent);
	void _ForgetChannel(uchar channel);

	// Per channel and incoming note: the outgoing note number plus one while
	// the note sounds, 0 otherwise.
	std::atomic<uint8_t> fSounding[kChannelCount][kNoteCount];
	std::atomic<int32> fKey;
	std::atomic<int32> fVolume;
	BMidiLocalProducer* const fOutput;
};

#endif
