#include "AlsaSequencerBridge.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include <List.h>
#include <MidiConsumer.h>
#include <MidiProducer.h>

#include "AlsaCheck.h"

const char* const AlsaSequencerBridge::kClientName = "Vantu MIDI";

namespace {

const unsigned int kOutputCapabilities
	= SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
const unsigned int kOutputType
	= SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION;
const unsigned int kDeviceCapabilities
	= SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
// Receives the announcements and sends for unregistered producers; nobody
// else may subscribe to it.
const char* const kPrivatePortName = "Vantu MIDI private";
const unsigned int kPrivateCapabilities = SND_SEQ_PORT_CAP_READ
	| SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT;


// Failures reach the program as statuses with alsa_last_failure(); alsa-lib's
// own printing to stderr would only repeat them.
void
quiet_alsa_lib(const char*, int, const char*, int, const char*, ...)
{
}


void
set_addresses(snd_seq_port_subscribe_t* subscription,
	std::pair<int, int> sender, std::pair<int, int> destination)
{
	snd_seq_addr_t from = {uchar(sender.first), uchar(sender.second)};
	snd_seq_addr_t to = {uchar(destination.first), uchar(destination.second)};
	snd_seq_port_subscribe_set_sender(subscription, &from);
	snd_seq_port_subscribe_set_dest(subscription, &to);
}

}


AlsaSequencerBridge::AlsaSequencerBridge()
	:
	fHandle(NULL),
	fClient(-1),
	fPrivatePort(-1),
	fStopEvent(-1)
{
}


AlsaSequencerBridge::~AlsaSequencerBridge()
{
	_Stop();
	Detach();
	_Close();
}


status_t
AlsaSequencerBridge::Start()
{
	if (fHandle != NULL)
		return B_ERROR;

	fStopEvent = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
	if (fStopEvent < 0)
		return status_from_errno(errno);

	// Non-blocking, so that the listener never waits anywhere but in poll()
	// where its stop event reaches it. Output is direct and synchronous: a
	// sent event is with its destination when the call returns, so nothing
	// is left to drain before a subscription is removed.
	snd_lib_error_set_handler(quiet_alsa_lib);
	status_t status = alsa_check(snd_seq_open(&fHandle, "default",
		SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK), "snd_seq_open");
	if (status != B_OK) {
		fHandle = NULL;
		_Close();
		return status;
	}
	status = alsa_check(snd_seq_set_client_name(fHandle, kClientName),
		"snd_seq_set_client_name");
	if (status == B_OK) {
		fClient = snd_seq_client_id(fHandle);
		status = alsa_check(fClient, "snd_seq_client_id");
	}
	if (status == B_OK) {
		fPrivatePort = snd_seq_create_simple_port(fHandle, kPrivatePortName,
			kPrivateCapabilities, SND_SEQ_PORT_TYPE_APPLICATION);
		status = alsa_check(fPrivatePort, "snd_seq_create_simple_port");
	}
	if (status == B_OK) {
		status = alsa_check(snd_seq_connect_from(fHandle, fPrivatePort,
			SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE),
			"snd_seq_connect_from");
	}
	if (status == B_OK)
		status = Attach();
	if (status != B_OK) {
		Detach();
		_Close();
		return status;
	}

	// Announcements of ports that appear meanwhile wait in the input; seeing
	// a port twice is harmless.
	_UpdateAllPorts();
	fListener = std::thread(&AlsaSequencerBridge::_Run, this);
	return B_OK;
}


int
AlsaSequencerBridge::ClientID() const
{
	return fClient;
}


void
AlsaSequencerBridge::LocalEndpointRegistered(BMidiEndpoint* endpoint)
{
	if (!endpoint->IsProducer())
		return;
	BMidiProducer* producer = static_cast<BMidiProducer*>(endpoint);

	std::lock_guard<std::recursive_mutex> localLock(fLocalLock);
	std::lock_guard<std::mutex> lock(fLock);
	int port = snd_seq_create_simple_port(fHandle, producer->Name(),
		kOutputCapabilities, kOutputType);
	if (alsa_check(port, "snd_seq_create_simple_port") != B_OK)
		return;
	fOutputs[producer->ID()] = {producer, port};

	// Connections made while the producer was unregistered become
	// subscriptions now that it has a port.
	std::unique_ptr<BList> connections(producer->Connections());
	for (int32 i = 0; i < connections->CountItems(); i++) {
		const Address* address = _DeviceAddress(
			static_cast<BMidiConsumer*>(connections->ItemAt(i)));
		if (address != NULL)
			_Subscribe(port, *address, true);
	}
}


void
AlsaSequencerBridge::LocalEndpointUnregistered(BMidiEndpoint* endpoint)
{
	std::lock_guard<std::recursive_mutex> localLock(fLocalLock);
	std::lock_guard<std::mutex> lock(fLock);
	auto output = fOutputs.find(endpoint->ID());
	if (output == fOutputs.end())
		return;
	// The port's subscriptions go with it; the listener ignores their
	// announcements, since the port is no longer in fOutputs, and the
	// program's connections stay, served through the private port.
	alsa_check(snd_seq_delete_simple_port(fHandle, output->second.port),
		"snd_seq_delete_simple_port");
	fOutputs.erase(output);
}


void
AlsaSequencerBridge::LocalEndpointChanged(BMidiEndpoint* endpoint,
	BMidiOp change)
{
	if (change != B_MIDI_CHANGED_NAME)
		return;

	std::lock_guard<std::mutex> lock(fLock);
	auto output = fOutputs.find(endpoint->ID());
	if (output == fOutputs.end())
		return;
	snd_seq_port_info_t* info;
	snd_seq_port_info_alloca(&info);
	if (alsa_check(snd_seq_get_port_info(fHandle, output->second.port, info),
			"snd_seq_get_port_info") != B_OK)
		return;
	snd_seq_port_info_set_name(info, endpoint->Name());
	alsa_check(snd_seq_set_port_info(fHandle, output->second.port, info),
		"snd_seq_set_port_info");
}


status_t
AlsaSequencerBridge::Connect(BMidiProducer* producer, BMidiConsumer* consumer)
{
	std::lock_guard<std::mutex> lock(fLock);
	const Address* address = _DeviceAddress(consumer);
	if (address == NULL || !producer->IsLocal())
		return B_ERROR;
	auto output = fOutputs.find(producer->ID());
	if (output == fOutputs.end())
		return B_OK;
	return _Subscribe(output->second.port, *address, true);
}


void
AlsaSequencerBridge::Disconnect(BMidiProducer* producer,
	BMidiConsumer* consumer)
{
	std::lock_guard<std::mutex> lock(fLock);
	fPartialStreams.erase({producer->ID(), consumer});
	const Address* address = _DeviceAddress(consumer);
	auto output = fOutputs.find(producer->ID());
	if (address != NULL && output != fOutputs.end())
		_Subscribe(output->second.port, *address, false);
}


void
AlsaSequencerBridge::Deliver(BMidiProducer* producer, BMidiConsumer* consumer,
	const uchar* data, size_t length, bool atomic, bigtime_t)
{
	std::lock_guard<std::mutex> lock(fLock);
	const Address* address = _DeviceAddress(consumer);
	if (address == NULL)
		return;
	int sourcePort = _SourcePort(producer);
	auto send = [&](snd_seq_event_t& event) {
		_Send(sourcePort, *address, event);
	};
	// The time stamp is not used: events leave when sprayed, which is what
	// the kit's producers ask for (0 or a moment already reached).
	if (atomic) {
		AlsaEventEncoder message;
		message.Encode(data, length, true, send);
	} else
		fPartialStreams[{producer->ID(), consumer}].Encode(data, length, false,
			send);
}


void
AlsaSequencerBridge::_Close()
{
	if (fHandle != NULL)
		snd_seq_close(fHandle);
	fHandle = NULL;
	if (fStopEvent >= 0)
		close(fStopEvent);
	fStopEvent = -1;
}


void
AlsaSequencerBridge::_Stop()
{
	if (!fListener.joinable())
		return;
	uint64_t one = 1;
	if (write(fStopEvent, &one, sizeof(one)) != sizeof(one))
		return;
	fListener.join();
}


void
AlsaSequencerBridge::_Run()
{
	int count = snd_seq_poll_descriptors_count(fHandle, POLLIN);
	std::vector<pollfd> descriptors(count + 1);
	descriptors[0] = {fStopEvent, POLLIN, 0};
	snd_seq_poll_descriptors(fHandle, descriptors.data() + 1, count, POLLIN);

	while (true) {
		if (poll(descriptors.data(), descriptors.size(), -1) < 0) {
			if (errno == EINTR)
				continue;
			alsa_check(-errno, "poll");
			return;
		}
		if (descriptors[0].revents != 0)
			return;
		_ReadEvents();
	}
}


void
AlsaSequencerBridge::_ReadEvents()
{
	while (true) {
		snd_seq_event_t* event;
		int result = snd_seq_event_input(fHandle, &event);
		if (result == -EAGAIN)
			return;
		if (result == -ENOSPC) {
			// The input overflowed and announcements were lost: look at
			// every port again.
			_UpdateAllPorts();
			continue;
		}
		if (alsa_check(result, "snd_seq_event_input") != B_OK)
			return;
		_HandleEvent(*event);
	}
}


void
AlsaSequencerBridge::_HandleEvent(const snd_seq_event_t& event)
{
	switch (event.type) {
		// A port or client that is gone is no longer found, and updating
		// withdraws what the bridge had published of it.
		case SND_SEQ_EVENT_CLIENT_START:
		case SND_SEQ_EVENT_CLIENT_CHANGE:
		case SND_SEQ_EVENT_CLIENT_EXIT:
			_UpdateClient(event.data.addr.client);
			break;
		case SND_SEQ_EVENT_PORT_START:
		case SND_SEQ_EVENT_PORT_CHANGE:
		case SND_SEQ_EVENT_PORT_EXIT:
			_UpdatePort({event.data.addr.client, event.data.addr.port});
			break;
		case SND_SEQ_EVENT_PORT_SUBSCRIBED:
		case SND_SEQ_EVENT_PORT_UNSUBSCRIBED:
			_ReportSubscription(
				{event.data.connect.sender.client,
					event.data.connect.sender.port},
				{event.data.connect.dest.client, event.data.connect.dest.port});
			break;
		default:
			break;
	}
}


void
AlsaSequencerBridge::_UpdateAllPorts()
{
	std::vector<Address> addresses;
	{
		std::lock_guard<std::mutex> lock(fLock);
		for (const auto& device : fDevices)
			addresses.push_back(device.first);
		snd_seq_client_info_t* client;
		snd_seq_port_info_t* port;
		snd_seq_client_info_alloca(&client);
		snd_seq_port_info_alloca(&port);
		snd_seq_client_info_set_client(client, -1);
		while (snd_seq_query_next_client(fHandle, client) >= 0) {
			snd_seq_port_info_set_client(port,
				snd_seq_client_info_get_client(client));
			snd_seq_port_info_set_port(port, -1);
			while (snd_seq_query_next_port(fHandle, port) >= 0) {
				addresses.push_back({snd_seq_port_info_get_client(port),
					snd_seq_port_info_get_port(port)});
			}
		}
	}
	// In client order, so that of two devices with the same name the first
	// keeps the plain one.
	std::sort(addresses.begin(), addresses.end());
	addresses.erase(std::unique(addresses.begin(), addresses.end()),
		addresses.end());
	for (Address address : addresses)
		_UpdatePort(address);
}


void
AlsaSequencerBridge::_UpdateClient(int client)
{
	std::vector<Address> addresses;
	{
		std::lock_guard<std::mutex> lock(fLock);
		for (const auto& device : fDevices) {
			if (device.first.first == client)
				addresses.push_back(device.first);
		}
		snd_seq_port_info_t* port;
		snd_seq_port_info_alloca(&port);
		snd_seq_port_info_set_client(port, client);
		snd_seq_port_info_set_port(port, -1);
		while (snd_seq_query_next_port(fHandle, port) >= 0)
			addresses.push_back({client, snd_seq_port_info_get_port(port)});
	}
	std::sort(addresses.begin(), addresses.end());
	addresses.erase(std::unique(addresses.begin(), addresses.end()),
		addresses.end());
	for (Address address : addresses)
		_UpdatePort(address);
}


void
AlsaSequencerBridge::_UpdatePort(Address address)
{
	enum { kNothing, kPublish, kRename, kWithdraw } action = kNothing;
	BMidiConsumer* consumer = NULL;
	std::string name;
	{
		std::lock_guard<std::mutex> lock(fLock);
		snd_seq_client_info_t* clientInfo;
		snd_seq_port_info_t* portInfo;
		snd_seq_client_info_alloca(&clientInfo);
		snd_seq_port_info_alloca(&portInfo);
		// A port that is gone by now fails here and is forgotten; that is
		// no error worth recording.
		bool isDevice = snd_seq_get_any_client_info(fHandle, address.first,
				clientInfo) >= 0
			&& snd_seq_get_any_port_info(fHandle, address.first,
				address.second, portInfo) >= 0
			&& _IsDevicePort(portInfo);
		auto known = fDevices.find(address);
		if (!isDevice) {
			if (known == fDevices.end())
				return;
			action = kWithdraw;
			consumer = known->second.consumer;
			fNames.Release(known->second.name);
			fDeviceAddresses.erase(consumer);
			std::erase_if(fPartialStreams, [consumer](const auto& stream) {
				return stream.first.second == consumer;
			});
			fDevices.erase(known);
		} else {
			std::string composed = alsa_name::compose(
				snd_seq_client_info_get_name(clientInfo),
				snd_seq_port_info_get_name(portInfo));
			if (known == fDevices.end()) {
				action = kPublish;
				name = fNames.Claim(composed);
			} else if (known->second.composedName != composed) {
				action = kRename;
				consumer = known->second.consumer;
				fNames.Release(known->second.name);
				name = fNames.Claim(composed);
				known->second.composedName = composed;
				known->second.name = name;
			} else
				return;
			if (action == kPublish)
				fDevices[address] = {NULL, composed, name};
		}
	}

	switch (action) {
		case kPublish:
		{
			consumer = PublishConsumer(name.c_str());
			std::lock_guard<std::mutex> lock(fLock);
			if (consumer == NULL) {
				fNames.Release(name);
				fDevices.erase(address);
				return;
			}
			fDevices[address].consumer = consumer;
			fDeviceAddresses[consumer] = address;
			break;
		}
		case kRename:
			Rename(consumer, name.c_str());
			break;
		case kWithdraw:
			Withdraw(consumer);
			break;
		case kNothing:
			break;
	}
}


void
AlsaSequencerBridge::_ReportSubscription(Address sender, Address destination)
{
	if (sender.first != fClient)
		return;

	std::lock_guard<std::recursive_mutex> localLock(fLocalLock);
	BMidiProducer* producer = NULL;
	BMidiConsumer* consumer = NULL;
	bool subscribed;
	{
		std::lock_guard<std::mutex> lock(fLock);
		for (const auto& output : fOutputs) {
			if (output.second.port == sender.second)
				producer = output.second.producer;
		}
		auto device = fDevices.find(destination);
		if (producer == NULL || device == fDevices.end()
			|| device->second.consumer == NULL)
			return;
		consumer = device->second.consumer;
		// Announcements may be late: report how things stand now, not what
		// the announcement said, so that a stale one changes nothing.
		subscribed = _IsSubscribed(sender, destination);
	}
	if (subscribed)
		ConnectionMade(producer, consumer);
	else
		ConnectionBroken(producer, consumer);
}


bool
AlsaSequencerBridge::_IsDevicePort(const snd_seq_port_info_t* info) const
{
	unsigned int capabilities = snd_seq_port_info_get_capability(info);
	int client = snd_seq_port_info_get_client(info);
	return client != fClient && client != SND_SEQ_CLIENT_SYSTEM
		&& (capabilities & kDeviceCapabilities) == kDeviceCapabilities
		&& (capabilities & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}


status_t
AlsaSequencerBridge::_Subscribe(int port, Address destination, bool subscribe)
{
	Address sender(fClient, port);
	// Someone else (aconnect) may have done it already.
	if (_IsSubscribed(sender, destination) == subscribe)
		return B_OK;
	snd_seq_port_subscribe_t* subscription;
	snd_seq_port_subscribe_alloca(&subscription);
	set_addresses(subscription, sender, destination);
	if (subscribe) {
		return alsa_check(snd_seq_subscribe_port(fHandle, subscription),
			"snd_seq_subscribe_port");
	}
	return alsa_check(snd_seq_unsubscribe_port(fHandle, subscription),
		"snd_seq_unsubscribe_port");
}


bool
AlsaSequencerBridge::_IsSubscribed(Address sender, Address destination)
{
	snd_seq_port_subscribe_t* subscription;
	snd_seq_port_subscribe_alloca(&subscription);
	set_addresses(subscription, sender, destination);
	return snd_seq_get_port_subscription(fHandle, subscription) == 0;
}


int
AlsaSequencerBridge::_SourcePort(const BMidiProducer* producer) const
{
	auto output = fOutputs.find(producer->ID());
	return output != fOutputs.end() ? output->second.port : fPrivatePort;
}


const AlsaSequencerBridge::Address*
AlsaSequencerBridge::_DeviceAddress(const BMidiConsumer* consumer) const
{
	auto address = fDeviceAddresses.find(consumer);
	return address != fDeviceAddresses.end() ? &address->second : NULL;
}


void
AlsaSequencerBridge::_Send(int sourcePort, Address destination,
	snd_seq_event_t& event)
{
	snd_seq_ev_set_source(&event, sourcePort);
	snd_seq_ev_set_dest(&event, destination.first, destination.second);
	snd_seq_ev_set_direct(&event);
	alsa_check(snd_seq_event_output_direct(fHandle, &event),
		"snd_seq_event_output_direct");
}
