#ifndef _ALSA_SEQUENCER_BRIDGE_H
#define _ALSA_SEQUENCER_BRIDGE_H

#include <alsa/asoundlib.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include <MidiBackend.h>

#include "AlsaEventEncoder.h"
#include "AlsaPortName.h"

// The program as one client of the ALSA sequencer. Each registered local
// producer is a readable, subscribable port of the same name; every port of
// another client that can be written to and subscribed is a remote consumer
// named "client:port" (alsa_name::compose). Connecting a registered producer
// to such a consumer subscribes its port; an unregistered producer (the
// player's mute producer) reaches the device directly from a private port.
// Sprays leave at once as direct events, one copy per connected device.
// A thread turns the announce port's news into roster changes: ports coming
// and going, names changing, subscriptions other programs make or remove.
class AlsaSequencerBridge : public BMidiBackend {
public:
	static const char* const kClientName;

	AlsaSequencerBridge();
	~AlsaSequencerBridge() override;

	// Opens the sequencer, joins the roster and starts listening; an error
	// (no /dev/snd/seq, say) leaves the bridge detached and closed.
	status_t Start();
	int ClientID() const;

	void LocalEndpointRegistered(BMidiEndpoint* endpoint) override;
	void LocalEndpointUnregistered(BMidiEndpoint* endpoint) override;
	void LocalEndpointChanged(BMidiEndpoint* endpoint, BMidiOp change) override;
	status_t Connect(BMidiProducer* producer, BMidiConsumer* consumer)
		override;
	void Disconnect(BMidiProducer* producer, BMidiConsumer* consumer)
		override;
	void Deliver(BMidiProducer* producer, BMidiConsumer* consumer,
		const uchar* data, size_t length, bool atomic, bigtime_t time)
		override;

private:
	typedef std::pair<int, int> Address;
	struct Device {
		BMidiConsumer* consumer;
		std::string composedName;
		std::string name;
	};
	struct Output {
		BMidiProducer* producer;
		int port;
	};

	void _Close();
	void _Stop();
	void _Run();
	void _ReadEvents();
	void _HandleEvent(const snd_seq_event_t& event);

	void _UpdateAllPorts();
	void _UpdateClient(int client);
	void _UpdatePort(Address address);
	void _ReportSubscription(Address sender, Address destination);

	bool _IsDevicePort(const snd_seq_port_info_t* info) const;
	status_t _Subscribe(int port, Address destination, bool subscribe);
	bool _IsSubscribed(Address sender, Address destination);
	int _SourcePort(const BMidiProducer* producer) const;
	const Address* _DeviceAddress(const BMidiConsumer* consumer) const;
	void _Send(int sourcePort, Address destination, snd_seq_event_t& event);

	// Serialises reports about local producers with their unregistration:
	// a producer in fOutputs stays alive while this is held. Taken before
	// fLock; recursive, since a report may make the kit call a hook.
	std::recursive_mutex fLocalLock;
	// Guards the handle (except for the listening thread's reads) and the
	// tables. Never held while calling into the kit.
	mutable std::mutex fLock;
	snd_seq_t* fHandle;
	int fClient;
	int fPrivatePort;
	int fStopEvent;
	std::thread fListener;
	std::map<int32, Output> fOutputs;
	std::map<Address, Device> fDevices;
	std::map<const BMidiConsumer*, Address> fDeviceAddresses;
	AlsaNameBook fNames;
	// Streams sprayed in parts, by producer and device.
	std::map<std::pair<int32, const BMidiConsumer*>, AlsaEventEncoder>
		fPartialStreams;
};

#endif
