#ifndef _MIDI_ENDPOINT_H
#define _MIDI_ENDPOINT_H

#include <atomic>
#include <string>

#include <MidiDefs.h>

class BMessage;
class BMidiBackend;
class MidiRegistry;

// Base of every producer and consumer, local (this program's) or remote
// (published by a backend). Endpoints are reference counted: they start with
// one reference and are destroyed by the Release() that drops the last one,
// never by delete.
class BMidiEndpoint {
public:
	const char* Name() const;
	void SetName(const char* name);
	int32 ID() const;

	bool IsProducer() const;
	bool IsConsumer() const;
	bool IsRemote() const;
	bool IsLocal() const;
	bool IsPersistent() const;
	bool IsValid() const;

	status_t Acquire();
	status_t Release();

	status_t SetProperties(const BMessage* properties);
	status_t GetProperties(BMessage* properties) const;

	status_t Register();
	status_t Unregister();
	bool IsRegistered() const;

protected:
	BMidiEndpoint(const char* name, bool isConsumer, bool isLocal);
	virtual ~BMidiEndpoint();

private:
	friend class MidiRegistry;

	BMidiEndpoint(const BMidiEndpoint&) = delete;
	BMidiEndpoint& operator=(const BMidiEndpoint&) = delete;

	static std::string _NameOrAnonymous(const char* name);

	std::string fName;
	const int32 fID;
	const bool fIsConsumer;
	const bool fIsLocal;
	std::atomic<bool> fRegistered;
	std::atomic<bool> fValid;
	int32 fRefCount;
	// What keeps the object itself: one for its references and one for each
	// connection snapshot that names it, which a spray may still be using.
	std::atomic<int32> fPins;
	BMessage* fProperties;
	// The backend that published a remote endpoint.
	BMidiBackend* fBackend;
};

#endif
