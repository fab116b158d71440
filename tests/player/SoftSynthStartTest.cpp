#include "PlayerRig.h"

#include <condition_variable>
#include <mutex>

#include <Autolock.h>
#include <List.h>
#include <MidiLocalProducer.h>
#include <SoftSynth.h>

#include "HeardEvents.h"

namespace {


// Holds the soft synth's maker on its worker until the test lets it go.
class Gate {
public:
	void Open()
	{
		std::lock_guard<std::mutex> lock(fLock);
		fOpen = true;
		fChanged.notify_all();
	}

	void Pass()
	{
		std::unique_lock<std::mutex> lock(fLock);
		fChanged.wait(lock, [this] { return fOpen; });
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	bool fOpen = false;
};


// Stands in for the soft synth under its name and says when the last
// reference to it went.
class StandInSynth : public BMidiRecordingConsumer {
public:
	explicit StandInSynth(bool* gone)
		: BMidiRecordingConsumer(BSoftSynth::kName), fGone(gone) {}

protected:
	~StandInSynth() override { *fGone = true; }

private:
	bool* fGone;
};


// The player's maker waits at the gate, then makes and registers the
// stand-in, whose one reference is the player's.
class SoftSynthStartTest : public RigTest {
protected:
	void SetUp() override
	{
		RigTest::SetUp();
		fSynthMaker = [this](std::string*) -> BMidiLocalConsumer* {
			fGate.Pass();
			fSynth = new StandInSynth(&fSynthGone);
			fSynth->Register();
			return fSynth;
		};
	}

	bool Connected(int32 port) const
	{
		return fSynth != NULL && fView->Producer(port)->IsConnected(fSynth);
	}

	Gate fGate;
	// Written on the maker's worker, read once the player has taken it.
	StandInSynth* fSynth = NULL;
	bool fSynthGone = false;
};

}	// namespace


TEST_F(SoftSynthStartTest, TheWindowRunsBeforeTheSynthIsMadeAndPortATakesItWhenItComes)
{
	Run([&]() {
		Show();
		EXPECT_TRUE(fView->SoftSynthPending()) << "the window waited for the synth";
		std::unique_ptr<BList> devices(fView->Producer(0)->Connections());
		EXPECT_EQ(0, devices->CountItems());
		fWindow->posted.clear();

		fGate.Open();
		PumpUntil([&] { return !fView->SoftSynthPending(); });
		EXPECT_TRUE(Connected(0));
		EXPECT_FALSE(Connected(1));
		EXPECT_FALSE(fWindow->Of(kMsgRecreateMenuMidiOutRqtd).empty())
			<< "the MIDI OUT menus list the synth";
		Close();
	});
	EXPECT_TRUE(fSynthGone) << "the player released its synth";
}


// Play before the synth has come: the start waits for it, so the first
// song's reset and notes are heard on it from the beginning.
TEST_F(SoftSynthStartTest, PlayBeforeTheSynthHasComeStartsTheFirstSongOnIt)
{
	gPref.sendSysResets = true;
	gPref.sysResetCombination = kGM;
	gPref.silenceAfterResets = 0;
	const std::string song = MakeSong("a.mid", {{100, 300, 60}}, 400);

	Run([&]() {
		Show();
		AddSongs({song});
		ASSERT_TRUE(fView->SoftSynthPending());
		fGate.Open();
		// Handled at once, ahead of the synth's own message, which may be
		// queued by now.
		const bigtime_t start = Now();
		{
			BAutolock lock(fWindow);
			BMessage play(kMsgPlay);
			fView->MessageReceived(&play);
		}
		EXPECT_TRUE(Connected(0)) << "connected before the song started";
		Advance(1000000);
		EXPECT_EQ(TS_Stopped, gAppPrivacy.State());
		std::vector<Heard> heard = heard_since(fSynth, start);
		ASSERT_GE(heard.size(), 3u);
		heard.resize(3);
		const std::vector<Heard> expected = {
			{0, reset_bytes(kGM)},
			{100000, {0x90, 60, 100}},
			{300000, {0x80, 60, 0}},
		};
		EXPECT_EQ(expected, heard);
		Close();
	});
}


// Closing waits for the maker, which runs until the window lets go of the
// player; the synth it then hands over is released, not leaked.
TEST_F(SoftSynthStartTest, AWindowClosedWhileTheSynthIsMadeWaitsAndReleasesIt)
{
	Run([&]() {
		Show();
		ASSERT_TRUE(fView->SoftSynthPending());
		fView->detaching = [this] { fGate.Open(); };
		Close();
	});
	EXPECT_TRUE(fSynthGone);
}
