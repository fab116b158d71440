#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <MidiDevices.h>
#include <MidiLocalProducer.h>
#include <OS.h>
#include <SoftSynth.h>
#include <SoftSynthCreation.h>

#include "../../support/EndpointRef.h"
#include "ScopedVariable.h"
#include "TempFolder.h"

namespace {

const char kVariable[] = "VANTU_SOFTSYNTH_WAV";


uint32
little_endian(const std::string& bytes, size_t at, int size)
{
	uint32 value = 0;
	for (int i = size - 1; i >= 0; i--)
		value = value << 8 | (unsigned char)bytes[at + i];
	return value;
}


// What a 16-bit stereo WAV file holds: its length and its loudest sample.
struct WavSummary {
	bool valid = false;
	double seconds = 0;
	int peak = 0;
};


WavSummary
summarize_wav(const std::string& path)
{
	const std::string wav = read_whole_file(path);
	WavSummary summary;
	if (wav.size() < 12 || wav.compare(0, 4, "RIFF") != 0
		|| wav.compare(8, 4, "WAVE") != 0)
		return summary;
	for (size_t chunk = 12; chunk + 8 <= wav.size();) {
		const uint32 size = little_endian(wav, chunk + 4, 4);
		if (wav.compare(chunk, 4, "data") == 0) {
			if (chunk + 8 + size > wav.size())
				return summary;
			for (size_t at = chunk + 8; at + 2 <= chunk + 8 + size; at += 2) {
				const int sample = int16(little_endian(wav, at, 2));
				summary.peak = std::max(summary.peak, std::abs(sample));
			}
			summary.seconds = size / 4 / 44100.0;
			summary.valid = true;
			return summary;
		}
		chunk += 8 + size + (size & 1);
	}
	return summary;
}


TEST(SoftSynthCreationTest, TheEnvironmentNamesTheWavFile)
{
	struct Case {
		const char* value;
		const char* path;
	} cases[] = {
		{NULL, ""},
		{"", ""},
		{"/tmp/out put.wav", "/tmp/out put.wav"},
	};
	for (const Case& test : cases) {
		ScopedVariable variable(kVariable, test.value);
		EXPECT_EQ(test.path, pelkan::soft_synth_wav_from_environment());
	}
}


TEST(SoftSynthCreationTest, TheSynthPlaysIntoTheFileTheEnvironmentNames)
{
	TempFolder folder;
	const std::string path = folder / "played.wav";
	ScopedVariable variable(kVariable, path.c_str());

	std::string problem;
	status_t status;
	EndpointRef<BSoftSynth> synth(pelkan::create_soft_synth("",
		pelkan::soft_synth_wav_from_environment(), &problem, &status));
	if (status == B_ENTRY_NOT_FOUND)
		GTEST_SKIP() << "No sound font is installed: " << problem;
	ASSERT_NE(nullptr, synth) << problem;
	EXPECT_TRUE(synth->RendersToFile());
	EXPECT_EQ(synth.get(), pelkan::find_output_device(BSoftSynth::kName));

	// The Note Offs are stamped ahead: the synth renders up to each stamp
	// when the message comes, so nobody has to wait for the music.
	EndpointRef<BMidiLocalProducer> keyboard(new BMidiLocalProducer("keys"));
	ASSERT_EQ(B_OK, keyboard->Connect(synth.get()));
	const bigtime_t start = system_time();
	for (uchar note : {60, 64, 67})
		keyboard->SprayNoteOn(0, note, 110, start);
	for (uchar note : {60, 64, 67})
		keyboard->SprayNoteOff(0, note, 0, start + 300000);
	ASSERT_EQ(B_OK, synth->Finish());

	const WavSummary wav = summarize_wav(path);
	ASSERT_TRUE(wav.valid);
	EXPECT_GE(wav.seconds, 0.3);
	EXPECT_GT(wav.peak, 1000);
}


TEST(SoftSynthCreationTest, AFailureSaysWhyAndRegistersNothing)
{
	TempFolder folder;
	struct Case {
		std::string soundFont;
		std::string wavPath;
		std::string said;
	} cases[] = {
		{"", folder / "no/such/folder/out.wav", folder / "no/such/folder/out.wav"},
		{folder / "missing.sf2", folder / "out.wav", folder / "missing.sf2"},
	};
	for (const Case& test : cases) {
		std::string problem;
		status_t status = B_OK;
		BSoftSynth* synth = pelkan::create_soft_synth(test.soundFont,
			test.wavPath, &problem, &status);
		EXPECT_EQ(nullptr, synth) << test.said;
		EXPECT_NE(B_OK, status);
		EXPECT_NE(std::string::npos, problem.find(test.said)) << problem;
		EXPECT_EQ(nullptr, pelkan::find_output_device(BSoftSynth::kName));
		if (synth != NULL)
			synth->Release();
	}
}

}	// namespace
