#include <MidiBackend.h>

#include <MidiConsumer.h>
#include <MidiProducer.h>

#include "MidiRegistry.h"


BMidiBackend::BMidiBackend()
	:
	fAttached(false),
	fActiveCalls(0)
{
}


BMidiBackend::~BMidiBackend()
{
	Detach();
}


status_t
BMidiBackend::Attach()
{
	return MidiRegistry::Default().Attach(this);
}


void
BMidiBackend::Detach()
{
	MidiRegistry::Default().Detach(this);
}


bool
BMidiBackend::IsAttached() const
{
	return MidiRegistry::Default().IsAttached(this);
}


void
BMidiBackend::LocalEndpointRegistered(BMidiEndpoint*)
{
}


void
BMidiBackend::LocalEndpointUnregistered(BMidiEndpoint*)
{
}


void
BMidiBackend::LocalEndpointChanged(BMidiEndpoint*, BMidiOp)
{
}


status_t
BMidiBackend::Connect(BMidiProducer*, BMidiConsumer*)
{
	return B_OK;
}


void
BMidiBackend::Disconnect(BMidiProducer*, BMidiConsumer*)
{
}


BMidiConsumer*
BMidiBackend::PublishConsumer(const char* name)
{
	return static_cast<BMidiConsumer*>(
		MidiRegistry::Default().Publish(this, name, true));
}


BMidiProducer*
BMidiBackend::PublishProducer(const char* name)
{
	return static_cast<BMidiProducer*>(
		MidiRegistry::Default().Publish(this, name, false));
}


status_t
BMidiBackend::Withdraw(BMidiEndpoint* endpoint)
{
	return MidiRegistry::Default().Withdraw(this, endpoint);
}


status_t
BMidiBackend::Rename(BMidiEndpoint* endpoint, const char* name)
{
	if (endpoint == NULL)
		return B_BAD_VALUE;
	return MidiRegistry::Default().Rename(endpoint, name, this);
}


status_t
BMidiBackend::ConnectionMade(BMidiProducer* producer, BMidiConsumer* consumer)
{
	return MidiRegistry::Default().ReportConnection(this, producer, consumer,
		true);
}


status_t
BMidiBackend::ConnectionBroken(BMidiProducer* producer,
	BMidiConsumer* consumer)
{
	return MidiRegistry::Default().ReportConnection(this, producer, consumer,
		false);
}


status_t
BMidiBackend::Spray(BMidiProducer* producer, const uchar* data, size_t length,
	bool atomic, bigtime_t time)
{
	return MidiRegistry::Default().SprayFromBackend(this, producer, data,
		length, atomic, time);
}
