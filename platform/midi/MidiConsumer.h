#ifndef _MIDI_CONSUMER_H
#define _MIDI_CONSUMER_H

#include <MidiEndpoint.h>

class BMidiConsumer : public BMidiEndpoint {
public:
	bigtime_t Latency() const;

private:
	friend class BMidiLocalConsumer;
	friend class MidiRegistry;

	BMidiConsumer(const char* name, bool isLocal);
	virtual ~BMidiConsumer();

	std::atomic<bigtime_t> fLatency;
};

#endif
