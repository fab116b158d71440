#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <thread>

#include <MidiLocalProducer.h>
#include <MidiRoster.h>
#include <VirtualClock.h>

#include "SoftSynthTestSupport.h"

namespace {

const bigtime_t kSynthStart = 5000000;
const uchar kOrgan = 16;
const uchar kSustainPedal = 64;
const double kAudible = 0.01;
const double kQuiet = 0.001;


bool
soft_synth_listed()
{
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (strcmp(consumer->Name(), BSoftSynth::kName) == 0)
			return true;
	}
	return false;
}


// A synth rendering into a file of a temporary folder on a free-running
// virtual clock, played by a local producer; At() moves the clock as a
// sequencer would, in seconds from the synth's creation.
class SoftSynthTest : public testing::Test {
protected:
	SoftSynthTest()
		:
		fClock(kSynthStart),
		fPreviousClock(NULL),
		fCreation(kSynthStart),
		fProducer(NULL)
	{
	}

	void SetUp() override
	{
		fPreviousClock = set_current_clock(&fClock);
		fSoundFont = installed_sound_font();
		if (fSoundFont.empty())
			GTEST_SKIP() << "No sound font is installed";
		fProducer = new BMidiLocalProducer("keyboard");
	}

	void TearDown() override
	{
		if (fProducer != NULL)
			fProducer->Release();
		set_current_clock(fPreviousClock);
	}

	SynthRef Render(const char* name, BString* reason = NULL)
	{
		std::string path = fFolder.File(name);
		BSoftSynth::Options options;
		options.wavFile = path.c_str();
		BSoftSynth* synth = NULL;
		fCreation = fClock.Now();
		status_t status = BSoftSynth::Create(options, &synth, reason);
		EXPECT_EQ(B_OK, status);
		if (synth != NULL) {
			EXPECT_EQ(B_OK, fProducer->Connect(synth));
		}
		return SynthRef(synth);
	}

	WavContents Read(const char* name)
	{
		WavContents wav;
		read_wav(fFolder.File(name), &wav);
		return wav;
	}

	void At(double seconds)
	{
		fClock.SleepUntil(fCreation + bigtime_t(seconds * 1000000));
	}

	BVirtualClock fClock;
	BClock* fPreviousClock;
	bigtime_t fCreation;
	std::string fSoundFont;
	TempFolder fFolder;
	BMidiLocalProducer* fProducer;
};

}	// namespace


TEST_F(SoftSynthTest, RegistersUnderItsNameUntilReleased)
{
	SynthRef synth = Render("song.wav");
	ASSERT_NE(nullptr, synth);
	EXPECT_STREQ(BSoftSynth::kName, synth->Name());
	EXPECT_TRUE(synth->IsRegistered());
	EXPECT_TRUE(synth->IsLocal());
	EXPECT_TRUE(soft_synth_listed());
	EXPECT_STREQ(fSoundFont.c_str(), synth->SoundFont());
	EXPECT_TRUE(synth->RendersToFile());

	synth.reset();
	EXPECT_FALSE(soft_synth_listed());
}


TEST_F(SoftSynthTest, WritesACanonicalWavFile)
{
	SynthRef synth = Render("song.wav");
	ASSERT_NE(nullptr, synth);
	At(0.1);
	fProducer->SprayNoteOn(0, 60, 100, 0);
	At(0.6);
	fProducer->SprayNoteOff(0, 60, 64, 0);
	ASSERT_EQ(B_OK, synth->Finish());

	WavContents wav = Read("song.wav");
	EXPECT_EQ(1, wav.format);
	EXPECT_EQ(2, wav.channels);
	EXPECT_EQ(44100u, wav.frameRate);
	EXPECT_EQ(16, wav.bitsPerSample);
	EXPECT_EQ(4, wav.blockAlign);
	EXPECT_EQ(44100u * 4, wav.byteRate);
	EXPECT_EQ(wav.fileSize - 8, wav.riffSize);
	EXPECT_EQ(wav.fileSize - 44, wav.dataSize);
	EXPECT_LT(kQuiet, wav.Peak(0.1, 0.6));
	EXPECT_GT(kQuiet, wav.Peak(0, 0.099));
}


// The file's length follows the song's time, so a faster tempo gives a
// shorter file: one second more before the last message, one second more of
// sound.
TEST_F(SoftSynthTest, FileLengthFollowsTheTimeOfTheLastMessage)
{
	double seconds[2];
	const double kNoteEnds[2] = {1.0, 2.0};
	for (int i = 0; i < 2; i++) {
		SynthRef synth = Render("song.wav");
		ASSERT_NE(nullptr, synth);
		fProducer->SprayProgramChange(0, kOrgan, 0);
		fProducer->SprayNoteOn(0, 60, 100, 0);
		At(kNoteEnds[i]);
		fProducer->SprayNoteOff(0, 60, 64, 0);
		synth.reset();
		seconds[i] = Read("song.wav").Seconds();
	}
	EXPECT_NEAR(1.0, seconds[1] - seconds[0], 0.02);
	EXPECT_LT(1.0, seconds[0]);
	EXPECT_GT(1.0 + 2.1, seconds[0]);
}


// A held organ note (it never decays by itself) is silenced by each of the
// helpers within half a second, release and reverb included. With the
// sustain pedal down All Notes Off leaves the note to the pedal, as MIDI
// wants; the burst a player sends to mute a device (123, 120, 121) silences
// it all the same.
TEST_F(SoftSynthTest, SilenceHelpersSilenceTheSynth)
{
	typedef std::function<void(BMidiLocalProducer*, BSoftSynth*)> Action;
	struct Case {
		const char* name;
		bool pedal;
		Action silence;
		bool silent;
	} cases[] = {
		{"nothing", false, [](BMidiLocalProducer*, BSoftSynth*) {}, false},
		{"All Notes Off", false, [](BMidiLocalProducer* producer, BSoftSynth*) {
			producer->SprayControlChange(3, 123, 0, 0);
		}, true},
		{"All Notes Off, pedal down", true,
			[](BMidiLocalProducer* producer, BSoftSynth*) {
				producer->SprayControlChange(3, 123, 0, 0);
			}, false},
		{"All Sound Off, pedal down", true,
			[](BMidiLocalProducer* producer, BSoftSynth*) {
				producer->SprayControlChange(3, 120, 0, 0);
			}, true},
		{"Reset All Controllers after the Note Off, pedal down", true,
			[](BMidiLocalProducer* producer, BSoftSynth*) {
				producer->SprayNoteOff(3, 60, 64, 0);
				producer->SprayControlChange(3, 121, 0, 0);
			}, true},
		{"Note Off, pedal down", true,
			[](BMidiLocalProducer* producer, BSoftSynth*) {
				producer->SprayNoteOff(3, 60, 64, 0);
			}, false},
		{"mute burst on every channel, pedal down", true,
			[](BMidiLocalProducer* producer, BSoftSynth*) {
				for (uchar channel = 0; channel < 16; channel++) {
					for (uchar control : {123, 120, 121})
						producer->SprayControlChange(channel, control, 0, 0);
				}
			}, true},
		{"System Reset, pedal down", true,
			[](BMidiLocalProducer* producer, BSoftSynth*) {
				producer->SpraySystemRealTime(B_SYSTEM_RESET, 0);
			}, true},
		{"AllNotesOff(true)", false, [](BMidiLocalProducer*, BSoftSynth* synth) {
			synth->AllNotesOff(true, 0);
		}, true},
		{"AllNotesOff(false), pedal down", true,
			[](BMidiLocalProducer*, BSoftSynth* synth) {
				synth->AllNotesOff(false, 0);
			}, true},
	};

	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		SynthRef synth = Render("held.wav");
		ASSERT_NE(nullptr, synth);
		fProducer->SprayProgramChange(3, kOrgan, 0);
		if (test.pedal)
			fProducer->SprayControlChange(3, kSustainPedal, 127, 0);
		fProducer->SprayNoteOn(3, 60, 110, 0);
		At(1.0);
		test.silence(fProducer, synth.get());
		At(2.0);
		fProducer->SprayControlChange(3, 1, 0, 0);
		synth.reset();

		WavContents wav = Read("held.wav");
		EXPECT_LT(kAudible, wav.Peak(0.5, 1.0));
		double after = wav.Peak(1.5, 2.0);
		if (test.silent) {
			EXPECT_GT(kQuiet, after);
		} else {
			EXPECT_LT(kAudible, after);
		}
	}
}


// Whether finished by Finish() or by the last Release(), a note still held
// (pedal down) is released: the file ends in silence, not in the middle of
// a sound, at most two seconds after the last message.
TEST_F(SoftSynthTest, TearingDownLeavesNoHangingNote)
{
	for (bool finishFirst : {true, false}) {
		SCOPED_TRACE(finishFirst ? "Finish" : "Release");
		SynthRef synth = Render("hanging.wav");
		ASSERT_NE(nullptr, synth);
		At(0);
		fProducer->SprayProgramChange(0, kOrgan, 0);
		fProducer->SprayControlChange(0, kSustainPedal, 127, 0);
		fProducer->SprayNoteOn(0, 67, 110, 0);
		At(1.0);
		fProducer->SprayNoteOff(0, 67, 0, 0);
		if (finishFirst) {
			EXPECT_EQ(B_OK, synth->Finish());
		}
		synth.reset();

		WavContents wav = Read("hanging.wav");
		EXPECT_LT(kAudible, wav.Peak(0.5, 1.0));
		EXPECT_GE(3.0 + 1e-9, wav.Seconds());
		EXPECT_GT(kQuiet, wav.Peak(wav.Seconds() - 0.01, wav.Seconds()));
	}
}


TEST_F(SoftSynthTest, MessagesAfterFinishAreIgnored)
{
	SynthRef synth = Render("song.wav");
	ASSERT_NE(nullptr, synth);
	At(0.2);
	fProducer->SprayNoteOn(0, 60, 100, 0);
	ASSERT_EQ(B_OK, synth->Finish());
	size_t size = Read("song.wav").fileSize;

	At(5.0);
	fProducer->SprayNoteOn(0, 64, 100, 0);
	EXPECT_EQ(B_OK, synth->Finish());
	synth.reset();
	EXPECT_EQ(size, Read("song.wav").fileSize);
}


// A time stamp ahead of the clock is when the message sounds; one in the
// past (or 0) means now. Messages sound in the order they arrive.
TEST_F(SoftSynthTest, TimeStampsAheadAreKept)
{
	SynthRef synth = Render("song.wav");
	ASSERT_NE(nullptr, synth);
	At(0.5);
	fProducer->SprayNoteOn(0, 60, 100, fCreation + 1000000);
	fProducer->SprayNoteOff(0, 60, 0, fCreation + 1200000);
	At(3.0);
	fProducer->SprayNoteOn(0, 60, 100, fCreation);
	At(3.2);
	fProducer->SprayNoteOff(0, 60, 0, 0);
	synth.reset();

	WavContents wav = Read("song.wav");
	std::vector<double> onsets = find_onsets(wav.WindowLevels(0.001), 0.001,
		1e-4, 1e-5, 20);
	ASSERT_EQ(2u, onsets.size());
	EXPECT_NEAR(1.0, onsets[0], 0.002);
	EXPECT_NEAR(3.0, onsets[1], 0.002);
}


// The play thread and a window thread send at the same time; every message
// is rendered and the file stays whole.
TEST_F(SoftSynthTest, SendersInSeveralThreads)
{
	SynthRef synth = Render("song.wav");
	ASSERT_NE(nullptr, synth);
	BMidiLocalProducer* window = new BMidiLocalProducer("window");
	ASSERT_EQ(B_OK, window->Connect(synth.get()));

	std::thread player([this] {
		for (int i = 0; i < 400; i++) {
			At(i * 0.005);
			fProducer->SprayNoteOn(i % 16, 40 + i % 40, 90, 0);
			fProducer->SprayNoteOff(i % 16, 40 + (i + 37) % 40, 0, 0);
		}
	});
	for (int i = 0; i < 400; i++) {
		window->SprayControlChange(i % 16, 123, 0, 0);
		window->SprayPitchBend(i % 16, i % 128, 64, 0);
	}
	player.join();
	window->Release();
	ASSERT_EQ(B_OK, synth->Finish());
	synth.reset();

	WavContents wav = Read("song.wav");
	EXPECT_EQ(wav.fileSize - 44, wav.dataSize);
	EXPECT_LE(2.0, wav.Seconds());
}


TEST_F(SoftSynthTest, RefusesBadRequestsWithAReason)
{
	std::string notAFont = fFolder.File("notes.sf2");
	std::ofstream(notAFont) << "not a sound font";
	std::string missingFont = fFolder.File("missing.sf2");
	std::string inMissingFolder = fFolder.File("nowhere/out.wav");
	std::string underAFile = notAFont + "/out.wav";
	std::string goodWav = fFolder.File("out.wav");

	struct Case {
		const char* name;
		const char* soundFont;
		const char* wavFile;
		float gain;
		status_t status;
		const char* mentioned;
	} cases[] = {
		{"missing sound font", missingFont.c_str(), goodWav.c_str(), 0.2f,
			B_ENTRY_NOT_FOUND, missingFont.c_str()},
		{"folder as sound font", fFolder.Path().c_str(), goodWav.c_str(), 0.2f,
			B_IS_A_DIRECTORY, fFolder.Path().c_str()},
		{"not a sound font", notAFont.c_str(), goodWav.c_str(), 0.2f,
			B_BAD_DATA, notAFont.c_str()},
		{"WAV in a missing folder", NULL, inMissingFolder.c_str(), 0.2f,
			B_ENTRY_NOT_FOUND, inMissingFolder.c_str()},
		{"WAV under a file", NULL, underAFile.c_str(), 0.2f,
			B_NOT_A_DIRECTORY, underAFile.c_str()},
		{"WAV is a folder", NULL, fFolder.Path().c_str(), 0.2f,
			B_IS_A_DIRECTORY, fFolder.Path().c_str()},
		{"negative gain", NULL, goodWav.c_str(), -1.0f, B_BAD_VALUE, "gain"},
		{"gain not a number", NULL, goodWav.c_str(), NAN, B_BAD_VALUE, "gain"},
	};

	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		BSoftSynth::Options options;
		options.soundFont = test.soundFont;
		options.wavFile = test.wavFile;
		options.gain = test.gain;
		BSoftSynth* synth = reinterpret_cast<BSoftSynth*>(1);
		BString reason;
		EXPECT_EQ(test.status, BSoftSynth::Create(options, &synth, &reason));
		EXPECT_EQ(nullptr, synth);
		EXPECT_NE(nullptr, strstr(reason.String(), test.mentioned))
			<< reason.String();
		EXPECT_FALSE(soft_synth_listed());
	}
}


// This machine may have no sound at all; then the synth says so and stays
// out of the roster.
TEST_F(SoftSynthTest, PlaysToTheAudioOutputWhenThereIsOne)
{
	BSoftSynth* synth = NULL;
	BString reason;
	status_t status = BSoftSynth::Create(BSoftSynth::Options(), &synth,
		&reason);
	if (status != B_OK) {
		EXPECT_EQ(nullptr, synth);
		EXPECT_NE(nullptr, strstr(reason.String(), "audio output"));
		EXPECT_FALSE(soft_synth_listed());
		GTEST_SKIP() << "No audio output here: " << reason.String();
	}
	SynthRef owner(synth);
	EXPECT_FALSE(synth->RendersToFile());
	EXPECT_TRUE(soft_synth_listed());
	ASSERT_EQ(B_OK, fProducer->Connect(synth));
	fProducer->SprayNoteOn(0, 60, 1, 0);
	fProducer->SprayNoteOff(0, 60, 0, 0);
	EXPECT_EQ(B_OK, synth->Finish());
}
