#ifndef TIMING_PROBE_H
#define TIMING_PROBE_H

#include <atomic>

#include <MidiLocalConsumer.h>

// Connected to a port after its devices, so it hears each message right
// after they took it: keeps the clock's time of the first Note On.
class TTimingProbe : public BMidiLocalConsumer {
public:
	TTimingProbe();

	// The time of the first Note On with a velocity, -1 before it.
	bigtime_t FirstNoteOn() const { return fFirstNoteOn.load(); }

	void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override;

protected:
	~TTimingProbe() override = default;

private:
	std::atomic<bigtime_t> fFirstNoteOn;
};

#endif
