#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AlsaPortName.h"

namespace {

struct NameCase {
	const char* name;
	const char* cleaned;
};

}


TEST(AlsaPortNameTest, CleaningDropsOnlyWhatChangesBetweenRuns)
{
	const NameCase cases[] = {
		{"FLUID Synth (12345)", "FLUID Synth"},
		{"Synth input port (12345:0)", "Synth input port"},
		{"TiMidity(7)", "TiMidity"},
		{"  Midi Through  ", "Midi Through"},
		{"Virtual Raw MIDI 0-0", "Virtual Raw MIDI 0-0"},
		{"Midi Through Port-0", "Midi Through Port-0"},
		{"Scarlett 2i2 (USB)", "Scarlett 2i2 (USB)"},
		{"Port (1:)", "Port"},
		{"Port ()", "Port ()"},
		{"Port (:)", "Port (:)"},
		{"(1234)", "(1234)"},
		{"Synth (12) (34)", "Synth (12)"},
		{"", ""},
	};
	for (const NameCase& test : cases)
		EXPECT_EQ(test.cleaned, alsa_name::clean(test.name)) << test.name;
}


TEST(AlsaPortNameTest, ComposedNameHasNoNumbers)
{
	EXPECT_EQ("FLUID Synth:Synth input port",
		alsa_name::compose("FLUID Synth (4242)", "Synth input port (4242:0)"));
	EXPECT_EQ("Midi Through:Midi Through Port-0",
		alsa_name::compose("Midi Through", "Midi Through Port-0"));
	EXPECT_EQ(alsa_name::compose("FLUID Synth (1)", "Synth input port (1:0)"),
		alsa_name::compose("FLUID Synth (99)", "Synth input port (99:0)"));
}


TEST(AlsaPortNameTest, IdenticalDevicesGetSuffixesInClaimOrder)
{
	AlsaNameBook book;
	EXPECT_EQ("Keys:In", book.Claim("Keys:In"));
	EXPECT_EQ("Keys:In 2", book.Claim("Keys:In"));
	EXPECT_EQ("Keys:In 3", book.Claim("Keys:In"));
	EXPECT_EQ("Other:In", book.Claim("Other:In"));

	// A device that leaves frees its name; the others keep theirs.
	book.Release("Keys:In 2");
	EXPECT_EQ("Keys:In 2", book.Claim("Keys:In"));
	book.Release("Keys:In");
	EXPECT_EQ("Keys:In", book.Claim("Keys:In"));
	EXPECT_EQ("Keys:In 4", book.Claim("Keys:In"));

	// A device whose own name looks like a suffixed one stays distinct.
	EXPECT_EQ("Keys:In 2 2", book.Claim("Keys:In 2"));
}
