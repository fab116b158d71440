#include <MidiConsumer.h>


BMidiConsumer::BMidiConsumer(const char* name, bool isLocal)
	:
	BMidiEndpoint(name, true, isLocal),
	fLatency(0)
{
}


BMidiConsumer::~BMidiConsumer()
{
}


bigtime_t
BMidiConsumer::Latency() const
{
	return fLatency;
}
