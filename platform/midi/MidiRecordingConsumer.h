#ifndef _MIDI_RECORDING_CONSUMER_H
#define _MIDI_RECORDING_CONSUMER_H

#include <condition_variable>
#include <mutex>
#include <vector>

#include <MidiLocalConsumer.h>

// A local consumer that keeps every message it receives, for tests and
// benchmarks: the bytes, the typed hook they decoded to, the time stamp and
// the clock's time of arrival (system_time(), so virtual and stepped clocks
// apply). Safe to feed from several threads and to read meanwhile.
class BMidiRecordingConsumer : public BMidiLocalConsumer {
public:
	enum Kind {
		kUndecoded,
		kNoteOff,
		kNoteOn,
		kKeyPressure,
		kControlChange,
		kProgramChange,
		kChannelPressure,
		kPitchBend,
		kSystemExclusive,
		kSystemCommon,
		kSystemRealTime,
		kTempoChange
	};

	struct Event {
		std::vector<uchar> data;
		bool atomic;
		Kind kind;
		bigtime_t time;
		bigtime_t arrival;
		int32 producer;
	};

	BMidiRecordingConsumer(const char* name = NULL);

	int32 CountEvents() const;
	bool EventAt(int32 index, Event* event) const;
	std::vector<Event> Events() const;
	void Clear();
	// Waits at most `timeout` microseconds of real time (a watchdog, not a
	// measure) until `count` events are recorded.
	bool WaitForEvents(int32 count, bigtime_t timeout) const;

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

protected:
	virtual ~BMidiRecordingConsumer();

private:
	void _Decoded(Kind kind);

	mutable std::mutex fLock;
	mutable std::condition_variable fRecorded;
	std::vector<Event> fEvents;
};

#endif
