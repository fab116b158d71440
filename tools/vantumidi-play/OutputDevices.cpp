#include "OutputDevices.h"

#include <MidiConsumer.h>
#include <MidiDevices.h>
#include <MidiRoster.h>
#include <SoftSynth.h>

#include "ProgressLine.h"

const char* const kNoDevice = "none";


void
list_output_devices(FILE* stream)
{
	fprintf(stream, "%6s  %s\n", "ID", "DEVICE");
	fprintf(stream, "%6s  %s (built in; \"synth\"; the default for port A)\n",
		"-", BSoftSynth::kName);
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (pelkan::is_output_device(consumer))
			fprintf(stream, "%6d  %s\n", (int)consumer->ID(),
				terminal_text(consumer->Name(), INT32_MAX).c_str());
	}
}
