#ifndef TIMING_PROBE_H
#define TIMING_PROBE_H

#include <atomic>

#include <MidiLocalConsumer.h>

// Connected to a port after its devices, so it hears each message right
// after they took it: keeps the time of the first Note On on the real
// monotonic clock (the one system_time() reads when no other is installed).
class TTimingProbe : public BMidiLocalConsumer {
public:
	TTimingProbe();

	// When the first Note On with a velocity arrived, -1 before it.
	bigtime_t FirstNoteOn() const { return fFirstNoteOn.load(); }

	void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override;

protected:
	~TTimingProbe() override = default;

private:
	std::atomic<bigtime_t> fFirstNoteOn;
};

#endif
