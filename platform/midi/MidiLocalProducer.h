#ifndef _MIDI_LOCAL_PRODUCER_H
#define _MIDI_LOCAL_PRODUCER_H

#include <MidiProducer.h>

// A producer of this program. Every Spray call delivers the message, in the
// calling thread, to each connected local consumer's Data() and to the backend
// of each connected remote consumer. Sprays may come from several threads at
// once; a time stamp of 0 (or one in the past) means "now".
//
// Wire forms: SpraySystemExclusive sends F0, the body, F7 — the F7 is not
// repeated when the body already ends in it (bodies taken from a Standard
// MIDI File do). SprayTempoChange sends the Standard MIDI File tempo meta
// event FF 51 03 tt tt tt (microseconds per quarter note, big-endian; bpm <= 0
// sends nothing, tempos outside 24 bits are clamped).
// SpraySystemCommon sends only F1, F2, F3 and F6 messages and
// SpraySystemRealTime only F8..FF; other status bytes send nothing. Data bytes
// are masked to 7 bits and channels to 4, so no call can put a stray status
// byte on the wire.
class BMidiLocalProducer : public BMidiProducer {
public:
	BMidiLocalProducer(const char* name = NULL);

	virtual void Connected(BMidiConsumer* consumer);
	virtual void Disconnected(BMidiConsumer* consumer);

	void SprayData(void* data, size_t length, bool atomic = false,
		bigtime_t time = 0) const;
	void SprayNoteOff(uchar channel, uchar note, uchar velocity,
		bigtime_t time = 0) const;
	void SprayNoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time = 0) const;
	void SprayKeyPressure(uchar channel, uchar note, uchar pressure,
		bigtime_t time = 0) const;
	void SprayControlChange(uchar channel, uchar controlNumber,
		uchar controlValue, bigtime_t time = 0) const;
	void SprayProgramChange(uchar channel, uchar programNumber,
		bigtime_t time = 0) const;
	void SprayChannelPressure(uchar channel, uchar pressure,
		bigtime_t time = 0) const;
	void SprayPitchBend(uchar channel, uchar lsb, uchar msb,
		bigtime_t time = 0) const;
	void SpraySystemExclusive(void* data, size_t length,
		bigtime_t time = 0) const;
	void SpraySystemCommon(uchar status, uchar data1, uchar data2,
		bigtime_t time = 0) const;
	void SpraySystemRealTime(uchar status, bigtime_t time = 0) const;
	void SprayTempoChange(int32 beatsPerMinute, bigtime_t time = 0) const;

protected:
	virtual ~BMidiLocalProducer();

private:
	void _SprayChannelMessage(uchar kind, uchar channel, uchar data1,
		uchar data2, size_t length, bigtime_t time) const;
	void _Spray(const uchar* data, size_t length, bool atomic,
		bigtime_t time) const;
};

#endif
