#ifndef _MIDI_BACKEND_H
#define _MIDI_BACKEND_H

#include <MidiDefs.h>

class BMidiConsumer;
class BMidiEndpoint;
class BMidiProducer;

// How a MIDI system outside this process (the ALSA sequencer, a soft synth)
// takes part in the roster without the program knowing. A backend publishes
// the devices it offers as remote endpoints (the roster assigns their ids and
// tells the watcher), learns which local endpoints are registered, carries
// the bytes local producers spray to its consumers, and reports connections
// made outside the program.
//
// The hooks run without any lock of the kit held, in the thread that made the
// change (for Deliver: the thread that sprayed), possibly several at once; a
// hook may call back into the kit. Endpoint pointers given to a hook are only
// guaranteed for the duration of the call.
class BMidiBackend {
public:
	BMidiBackend();
	// A subclass calls Detach() in its own destructor, while its hooks still
	// exist.
	virtual ~BMidiBackend();

	// Joins the roster; LocalEndpointRegistered() is called at once for every
	// local endpoint already registered.
	status_t Attach();
	// Withdraws every endpoint this backend published (their connections are
	// dropped and reported) and waits until no hook of this backend runs any
	// more. Never call it from one of the backend's own hooks.
	void Detach();
	bool IsAttached() const;

	virtual void LocalEndpointRegistered(BMidiEndpoint* endpoint);
	virtual void LocalEndpointUnregistered(BMidiEndpoint* endpoint);
	// change: B_MIDI_CHANGED_NAME, B_MIDI_CHANGED_LATENCY or
	// B_MIDI_CHANGED_PROPERTIES of a registered local endpoint.
	virtual void LocalEndpointChanged(BMidiEndpoint* endpoint, BMidiOp change);

	// A connection with one of this backend's endpoints at either end was
	// asked for; an error refuses it. Not called for connections the backend
	// reported itself.
	virtual status_t Connect(BMidiProducer* producer, BMidiConsumer* consumer);
	// Such a connection was removed by the program (its own endpoint's
	// release included). Messages sprayed before may still be in Deliver() in
	// other threads.
	virtual void Disconnect(BMidiProducer* producer, BMidiConsumer* consumer);

	// One message a local producer sprayed to one of this backend's
	// consumers, framed as BMidiLocalProducer describes.
	virtual void Deliver(BMidiProducer* producer, BMidiConsumer* consumer,
		const uchar* data, size_t length, bool atomic, bigtime_t time) = 0;

protected:
	// A new remote endpoint, registered and valid, named "<anonymous>" when
	// name is NULL or empty; NULL when the backend is not attached.
	BMidiConsumer* PublishConsumer(const char* name);
	BMidiProducer* PublishProducer(const char* name);
	// The device is gone: its connections are dropped, it becomes invalid and
	// unlisted, the watcher is told; the object stays allocated.
	status_t Withdraw(BMidiEndpoint* endpoint);
	status_t Rename(BMidiEndpoint* endpoint, const char* name);

	// A connection made or removed outside the program, with one of this
	// backend's endpoints at either end. Reporting a connection the roster
	// already has (or does not have) is harmless.
	status_t ConnectionMade(BMidiProducer* producer, BMidiConsumer* consumer);
	status_t ConnectionBroken(BMidiProducer* producer,
		BMidiConsumer* consumer);

	// Delivers a message arriving from one of this backend's producers to the
	// local consumers connected to it.
	status_t Spray(BMidiProducer* producer, const uchar* data, size_t length,
		bool atomic, bigtime_t time);

private:
	friend class MidiRegistry;

	BMidiBackend(const BMidiBackend&) = delete;
	BMidiBackend& operator=(const BMidiBackend&) = delete;

	// Guarded by the registry's lock.
	bool fAttached;
	int32 fActiveCalls;
};

#endif
