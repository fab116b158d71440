#ifndef _MIDI_ROSTER_H
#define _MIDI_ROSTER_H

#include <MidiDefs.h>

class BMessenger;
class BMidiConsumer;
class BMidiEndpoint;
class BMidiProducer;

// The process-wide directory of MIDI endpoints: this program's local
// endpoints (registered or not; an unnamed one is called "<anonymous>") and
// the remote endpoints the backends publish. Usable before and after an
// application object exists.
//
// The Next*/Find* calls return endpoints without acquiring a reference for
// the caller; do not Release() what you did not Acquire(). A remote endpoint
// that disappears stays allocated (and invalid) for the rest of the run, so a
// pointer obtained here never dangles; a local endpoint lives until its owner
// releases it.
class BMidiRoster {
public:
	// Iterate by increasing id, starting from *id = 0; *id is set to the id of
	// the endpoint returned. NULL at the end.
	static BMidiEndpoint* NextEndpoint(int32* id);
	static BMidiProducer* NextProducer(int32* id);
	static BMidiConsumer* NextConsumer(int32* id);

	static BMidiEndpoint* FindEndpoint(int32 id, bool localOnly = false);
	static BMidiProducer* FindProducer(int32 id, bool localOnly = false);
	static BMidiConsumer* FindConsumer(int32 id, bool localOnly = false);

	// One watcher at a time gets B_MIDI_EVENT messages, in the order the
	// changes happened: "be:op" = B_MIDI_REGISTERED / B_MIDI_UNREGISTERED with
	// "be:id" and "be:type" ("producer" or "consumer"); B_MIDI_CHANGED_NAME
	// with "be:name" too; B_MIDI_CHANGED_LATENCY with "be:latency" (int64);
	// B_MIDI_CHANGED_PROPERTIES with "be:properties" (message);
	// B_MIDI_CONNECTED / B_MIDI_DISCONNECTED with "be:producer" and
	// "be:consumer", an unregistered local endpoint reported as 0 (a
	// connection between two of them is not reported). Only registered
	// endpoints are reported. StartWatching() first reports every registered
	// endpoint (by increasing id) and then every reportable connection.
	static void StartWatching(const BMessenger* messenger);
	static void StopWatching();

	static status_t Register(BMidiEndpoint* endpoint);
	static status_t Unregister(BMidiEndpoint* endpoint);

	static BMidiRoster* MidiRoster();

private:
	BMidiRoster() = default;
	BMidiRoster(const BMidiRoster&) = delete;
	BMidiRoster& operator=(const BMidiRoster&) = delete;
};

#endif
