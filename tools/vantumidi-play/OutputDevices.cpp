#include "OutputDevices.h"

#include <cerrno>
#include <cstdlib>
#include <strings.h>

#include <MidiConsumer.h>
#include <MidiRoster.h>
#include <SoftSynth.h>

#include "ProgressLine.h"

const char* const kNoDevice = "none";

namespace {

bool
is_device(const BMidiConsumer* consumer)
{
	return consumer->IsValid()
		&& (consumer->IsRemote() || consumer->IsRegistered());
}


template<typename Matches>
BMidiConsumer*
first_device(Matches matches)
{
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (is_device(consumer) && matches(consumer))
			return consumer;
	}
	return NULL;
}

}	// namespace


bool
names_soft_synth(const std::string& spec)
{
	return strcasecmp(spec.c_str(), BSoftSynth::kName) == 0
		|| strcasecmp(spec.c_str(), "synth") == 0;
}


BMidiConsumer*
find_output_device(const std::string& spec)
{
	if (spec.empty())
		return NULL;
	errno = 0;
	char* end;
	long id = strtol(spec.c_str(), &end, 10);
	if (errno == 0 && *end == '\0' && id > 0 && id <= INT32_MAX) {
		BMidiConsumer* consumer = BMidiRoster::FindConsumer((int32)id);
		return consumer != NULL && is_device(consumer) ? consumer : NULL;
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


void
list_output_devices(FILE* stream)
{
	fprintf(stream, "%6s  %s\n", "ID", "DEVICE");
	fprintf(stream, "%6s  %s (built in; \"synth\"; the default for port A)\n",
		"-", BSoftSynth::kName);
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (is_device(consumer))
			fprintf(stream, "%6d  %s\n", (int)consumer->ID(),
				terminal_text(consumer->Name(), INT32_MAX).c_str());
	}
}
