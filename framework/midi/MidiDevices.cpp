#include "MidiDevices.h"

#include <cerrno>
#include <cstdlib>
#include <strings.h>

#include <MidiConsumer.h>
#include <MidiRoster.h>
#include <SoftSynth.h>

namespace {

template<typename Matches>
BMidiConsumer*
first_device(Matches matches)
{
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (pelkan::is_output_device(consumer) && matches(consumer))
			return consumer;
	}
	return NULL;
}

}	// namespace


bool
pelkan::is_output_device(const BMidiConsumer* consumer)
{
	return consumer->IsValid()
		&& (consumer->IsRemote() || consumer->IsRegistered());
}


BMidiConsumer*
pelkan::find_output_device(const std::string& spec)
{
	if (spec.empty())
		return NULL;
	errno = 0;
	char* end;
	long id = strtol(spec.c_str(), &end, 10);
	if (errno == 0 && *end == '\0' && id > 0 && id <= INT32_MAX) {
		BMidiConsumer* consumer = BMidiRoster::FindConsumer((int32)id);
		if (consumer != NULL && is_output_device(consumer))
			return consumer;
		// Not an id of this run: perhaps a device's name.
	}
	BMidiConsumer* device = first_device([&](const BMidiConsumer* consumer) {
		return spec == consumer->Name();
	});
	if (device != NULL)
		return device;
	return first_device([&](const BMidiConsumer* consumer) {
		return strcasecmp(spec.c_str(), consumer->Name()) == 0;
	});
}


bool
pelkan::names_soft_synth(const std::string& spec)
{
	return strcasecmp(spec.c_str(), BSoftSynth::kName) == 0
		|| strcasecmp(spec.c_str(), "synth") == 0;
}
