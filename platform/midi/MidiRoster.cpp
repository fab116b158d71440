#include <MidiRoster.h>

#include <MidiConsumer.h>
#include <MidiProducer.h>

#include "MidiRegistry.h"


BMidiEndpoint*
BMidiRoster::NextEndpoint(int32* id)
{
	return MidiRegistry::Default().Next(id, MidiRegistry::kAnyKind);
}


BMidiProducer*
BMidiRoster::NextProducer(int32* id)
{
	return static_cast<BMidiProducer*>(
		MidiRegistry::Default().Next(id, MidiRegistry::kProducerKind));
}


BMidiConsumer*
BMidiRoster::NextConsumer(int32* id)
{
	return static_cast<BMidiConsumer*>(
		MidiRegistry::Default().Next(id, MidiRegistry::kConsumerKind));
}


BMidiEndpoint*
BMidiRoster::FindEndpoint(int32 id, bool localOnly)
{
	return MidiRegistry::Default().Find(id, localOnly, MidiRegistry::kAnyKind);
}


BMidiProducer*
BMidiRoster::FindProducer(int32 id, bool localOnly)
{
	return static_cast<BMidiProducer*>(MidiRegistry::Default().Find(id,
		localOnly, MidiRegistry::kProducerKind));
}


BMidiConsumer*
BMidiRoster::FindConsumer(int32 id, bool localOnly)
{
	return static_cast<BMidiConsumer*>(MidiRegistry::Default().Find(id,
		localOnly, MidiRegistry::kConsumerKind));
}


void
BMidiRoster::StartWatching(const BMessenger* messenger)
{
	if (messenger == NULL)
		StopWatching();
	else
		MidiRegistry::Default().StartWatching(*messenger);
}


void
BMidiRoster::StopWatching()
{
	MidiRegistry::Default().StopWatching();
}


status_t
BMidiRoster::Register(BMidiEndpoint* endpoint)
{
	return endpoint != NULL ? endpoint->Register() : B_BAD_VALUE;
}


status_t
BMidiRoster::Unregister(BMidiEndpoint* endpoint)
{
	return endpoint != NULL ? endpoint->Unregister() : B_BAD_VALUE;
}


BMidiRoster*
BMidiRoster::MidiRoster()
{
	static BMidiRoster roster;
	return &roster;
}
