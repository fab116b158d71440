#ifndef _MIDI_PRODUCER_H
#define _MIDI_PRODUCER_H

#include <atomic>
#include <vector>

#include <MidiEndpoint.h>

class BList;
class BMidiConsumer;

class BMidiProducer : public BMidiEndpoint {
public:
	status_t Connect(BMidiConsumer* consumer);
	status_t Disconnect(BMidiConsumer* consumer);
	bool IsConnected(BMidiConsumer* consumer) const;
	// A new list of the connected consumers; the caller deletes the list. The
	// entries are not acquired for the caller.
	BList* Connections() const;

private:
	friend class BMidiLocalProducer;
	friend class MidiRegistry;

	BMidiProducer(const char* name, bool isLocal);
	virtual ~BMidiProducer();

	// Guarded by the registry's lock, in the order the connections were made.
	std::vector<BMidiConsumer*> fConnections;
	// An immutable copy of fConnections (NULL when there are none) that a
	// spray reads without the lock; replaced whole, under the lock, on every
	// change. The registry frees a replaced one.
	std::atomic<const std::vector<BMidiConsumer*>*> fRoute;
};

#endif
