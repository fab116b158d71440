#include <MidiProducer.h>

#include "MidiRegistry.h"


BMidiProducer::BMidiProducer(const char* name, bool isLocal)
	:
	BMidiEndpoint(name, false, isLocal)
{
}


BMidiProducer::~BMidiProducer()
{
}


status_t
BMidiProducer::Connect(BMidiConsumer* consumer)
{
	return MidiRegistry::Default().Connect(this, consumer);
}


status_t
BMidiProducer::Disconnect(BMidiConsumer* consumer)
{
	return MidiRegistry::Default().Disconnect(this, consumer);
}


bool
BMidiProducer::IsConnected(BMidiConsumer* consumer) const
{
	return MidiRegistry::Default().IsConnected(this, consumer);
}


BList*
BMidiProducer::Connections() const
{
	return MidiRegistry::Default().Connections(this);
}
