#ifndef _MIDI_LOCAL_CONSUMER_H
#define _MIDI_LOCAL_CONSUMER_H

#include <MidiConsumer.h>

// A consumer of this program. Messages arrive synchronously, in the thread of
// the producer that sprays them, always first as raw bytes through Data(). The
// default Data() decodes one complete (atomic) message into the typed hook;
// a subclass that overrides Data() sees every message first and may drop it
// by not calling the base. SystemExclusive gets the body without F0 and
// without the terminating F7. Several producers may deliver at the same time
// from different threads; a subclass that keeps state guards it.
class BMidiLocalConsumer : public BMidiConsumer {
public:
	BMidiLocalConsumer(const char* name = NULL);

	void SetLatency(bigtime_t latency);
	// The id of the producer whose message is being handled by this thread,
	// 0 outside a delivery.
	int32 GetProducerID();

	// Delivery has no consumer thread that could wait for a timeout, so
	// SetTimeout() has no effect and the kit never calls Timeout().
	void SetTimeout(bigtime_t when, void* data);
	virtual void Timeout(void* data);

	virtual void Data(uchar* data, size_t length, bool atomic, bigtime_t time);
	virtual void NoteOff(uchar channel, uchar note, uchar velocity,
		bigtime_t time);
	virtual void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time);
	virtual void KeyPressure(uchar channel, uchar note, uchar pressure,
		bigtime_t time);
	virtual void ControlChange(uchar channel, uchar controlNumber,
		uchar controlValue, bigtime_t time);
	virtual void ProgramChange(uchar channel, uchar programNumber,
		bigtime_t time);
	virtual void ChannelPressure(uchar channel, uchar pressure,
		bigtime_t time);
	virtual void PitchBend(uchar channel, uchar lsb, uchar msb,
		bigtime_t time);
	virtual void SystemExclusive(void* data, size_t length, bigtime_t time);
	virtual void SystemCommon(uchar status, uchar data1, uchar data2,
		bigtime_t time);
	virtual void SystemRealTime(uchar status, bigtime_t time);
	virtual void TempoChange(int32 beatsPerMinute, bigtime_t time);
	// Not called by the default Data(); a hook for subclasses and callers.
	virtual void AllNotesOff(bool justChannel, bigtime_t time);

protected:
	virtual ~BMidiLocalConsumer();

private:
	void _DecodeSystemMessage(uchar* data, size_t length, bigtime_t time);
};

#endif
