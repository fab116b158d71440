#include <gtest/gtest.h>

#include <string>

#include <MidiDevices.h>
#include <MidiLocalConsumer.h>
#include <SoftSynth.h>

#include "../../support/EndpointRef.h"

namespace {

EndpointRef<BMidiLocalConsumer>
make_consumer(const char* name, bool registered)
{
	EndpointRef<BMidiLocalConsumer> consumer(new BMidiLocalConsumer(name));
	if (registered) {
		EXPECT_EQ(B_OK, consumer->Register());
	}
	return consumer;
}


TEST(MidiDevicesTest, FindsADeviceByIdThenExactNameThenAnyCase)
{
	// Registered in this order, so that a match in any case would find the
	// shouting one first.
	auto shouting = make_consumer("PIANO OUT", true);
	auto piano = make_consumer("Piano Out", true);
	auto digits = make_consumer("99999999", true);
	auto hidden = make_consumer("Note Manager", false);
	const std::string pianoId = std::to_string(piano->ID());
	const std::string hiddenId = std::to_string(hidden->ID());

	struct Case {
		std::string spec;
		BMidiConsumer* device;
	} cases[] = {
		{pianoId, piano.get()},
		{"Piano Out", piano.get()},
		{"PIANO OUT", shouting.get()},
		{"piano out", shouting.get()},
		// No endpoint has that id in this run: it is a name.
		{"99999999", digits.get()},
		// The program's unregistered consumers are no devices.
		{"Note Manager", NULL},
		{hiddenId, NULL},
		{"Piano", NULL},
		{"Piano Out ", NULL},
		{"", NULL},
		{"0", NULL},
		{"-" + pianoId, NULL},
		{"99999999999999999999", NULL},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.device, pelkan::find_output_device(test.spec))
			<< '"' << test.spec << '"';

	EXPECT_TRUE(pelkan::is_output_device(piano.get()));
	EXPECT_FALSE(pelkan::is_output_device(hidden.get()));
	piano->Unregister();
	EXPECT_FALSE(pelkan::is_output_device(piano.get()));
	EXPECT_EQ(NULL, pelkan::find_output_device(pianoId));
}


TEST(MidiDevicesTest, TheSoftSynthIsNamedInAnyCase)
{
	struct Case {
		const char* spec;
		bool names;
	} cases[] = {
		{"synth", true},
		{"Synth", true},
		{BSoftSynth::kName, true},
		{"VANTU MIDI SOFT SYNTH", true},
		{"", false},
		{"synth ", false},
		{"synthesizer", false},
		{"Soft Synth", false},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.names, pelkan::names_soft_synth(test.spec)) << test.spec;
}

}	// namespace
