#include "PlayerRig.h"

#include <cstdlib>
#include <fstream>

#include <List.h>
#include <MidiLocalProducer.h>
#include <MidiRoster.h>
#include <SoftSynth.h>

namespace {

typedef std::vector<uchar> Bytes;


// Control Change 123, 120 and 121 with value 0 on each of the 16 channels.
std::vector<Bytes>
mute_messages()
{
	std::vector<Bytes> messages;
	for (uchar channel = 0; channel < 16; channel++) {
		for (uchar controller : {123, 120, 121})
			messages.push_back({uchar(0xB0 | channel), controller, 0});
	}
	return messages;
}


std::vector<Bytes>
heard(BMidiRecordingConsumer* device)
{
	std::vector<Bytes> messages;
	for (const auto& event : device->Events())
		messages.push_back(event.data);
	device->Clear();
	return messages;
}


class PortsTest : public RigTest {
protected:
	void Menu(int32 port, BMidiConsumer* device)
	{
		BMessage message(kMsgMidiOut);
		message.AddInt32("MIDIPort", port);
		message.AddInt32("be:id", device->ID());
		Post(message);
	}

	bool Connected(int32 port, BMidiConsumer* device)
	{
		return fView->Producer(port)->IsConnected(device);
	}

	// The ports of the window's 'ummr' requests about the device, once
	// `count` have come.
	std::vector<int32> MarkRequests(BMidiConsumer* device, size_t count)
	{
		std::vector<int32> ports;
		PumpUntil([&]() {
			ports.clear();
			for (const BMessage& message : fWindow->Of(kMsgUpdateMenuMidiOutRqtd)) {
				int32 port;
				int32 id;
				if (message.FindInt32("MIDIPort", &port) == B_OK
					&& message.FindInt32("be:id", &id) == B_OK && id == device->ID()) {
					ports.push_back(port);
				}
			}
			return ports.size() >= count;
		});
		fWindow->posted.clear();
		return ports;
	}

	// Takes the device out of the roster for good, as a device unplugged.
	void Unplug(BMidiRecordingConsumer* device)
	{
		fDevices.erase(std::find(fDevices.begin(), fDevices.end(), device));
		device->Unregister();
		device->Release();
	}
};

}	// namespace


TEST_F(PortsTest, RememberedDevicesAreConnectedAtStartAndWhenTheyAppear)
{
	gExitState.connectedOutputs[0] = {"Dev 1"};
	gExitState.connectedOutputs[1] = {"Dev 2", "Dev 3"};
	BMidiRecordingConsumer* one = AddDevice("Dev 1");
	BMidiRecordingConsumer* two = AddDevice("Dev 2");
	BMidiRecordingConsumer* other = AddDevice("Other");

	Run([&]() {
		Open({});
		EXPECT_TRUE(Connected(0, one));
		EXPECT_TRUE(Connected(1, two));
		EXPECT_FALSE(Connected(0, other));
		EXPECT_FALSE(Connected(1, other));
		EXPECT_FALSE(Connected(0, two));

		BMidiRecordingConsumer* three = AddDevice("Dev 3");
		PumpUntil([&]() { return Connected(1, three); });
		EXPECT_FALSE(Connected(0, three));
		EXPECT_FALSE(fWindow->Of(kMsgRecreateMenuMidiOutRqtd).empty());
		EXPECT_EQ(std::vector<int32>{1}, MarkRequests(three, 1));

		Close();
		EXPECT_EQ(std::vector<std::string>{"Dev 1"}, gExitState.connectedOutputs[0]);
		EXPECT_EQ((std::vector<std::string>{"Dev 2", "Dev 3"}),
			gExitState.connectedOutputs[1]);
	});
}


TEST_F(PortsTest, MenuTickConnectsAndUntickDisconnectsSilencesAndForgets)
{
	BMidiRecordingConsumer* device = AddDevice("Dev 1");

	Run([&]() {
		Open({});
		Menu(1, device);
		EXPECT_TRUE(Connected(1, device));
		EXPECT_FALSE(Connected(0, device));
		// Asked by the menu command, then told by the roster.
		EXPECT_EQ((std::vector<int32>{1, 1}), MarkRequests(device, 2));
		EXPECT_EQ(std::vector<Bytes>{}, heard(device));

		Menu(1, device);
		EXPECT_FALSE(Connected(1, device));
		// Silenced by the menu command at once, and again when the roster
		// tells of the lost connection, as for one made elsewhere.
		EXPECT_EQ((std::vector<int32>{1, 1}), MarkRequests(device, 2));
		std::vector<Bytes> twice = mute_messages();
		const std::vector<Bytes> once = mute_messages();
		twice.insert(twice.end(), once.begin(), once.end());
		EXPECT_EQ(twice, heard(device));

		Close();
		EXPECT_EQ(std::vector<std::string>{}, gExitState.connectedOutputs[1]);
	});
}


TEST_F(PortsTest, AConnectionChangedElsewhereIsShownAndALostDeviceSilenced)
{
	BMidiRecordingConsumer* device = AddDevice("Dev 1");

	Run([&]() {
		Open({});
		ASSERT_EQ(B_OK, fView->Producer(0)->Connect(device));
		EXPECT_EQ(std::vector<int32>{0}, MarkRequests(device, 1));
		ASSERT_EQ(B_OK, fView->Producer(0)->Disconnect(device));
		EXPECT_EQ(std::vector<int32>{0}, MarkRequests(device, 1));
		EXPECT_EQ(mute_messages(), heard(device));
	});
}


TEST_F(PortsTest, ADeviceThatVanishesStaysRememberedAndIsReconnectedByName)
{
	BMidiRecordingConsumer* first = AddDevice("Synth X");
	const std::string song = MakeSong("a.mid", {{0, 1000, 60}}, 2000);

	Run([&]() {
		Open({song});
		Menu(0, first);
		ASSERT_TRUE(Connected(0, first));
		Post(kMsgPlay);
		Quiet();
		fWindow->posted.clear();
		Unplug(first);
		PumpUntil([&]() { return !fWindow->Of(kMsgRecreateMenuMidiOutRqtd).empty(); });

		BMidiRecordingConsumer* again = AddDevice("Synth X");
		PumpUntil([&]() { return Connected(0, again); });
		EXPECT_FALSE(Connected(1, again));
		Advance(1500000);
		EXPECT_EQ((std::vector<Bytes>{{0x80, 60, 0}}), heard(again))
			<< "it hears the song from where it came back";

		Close();
		EXPECT_EQ(std::vector<std::string>{"Synth X"}, gExitState.connectedOutputs[0]);
	});
}


TEST_F(PortsTest, AllNotesOffSilencesEveryConnectedDeviceOfBothPorts)
{
	gExitState.connectedOutputs[0] = {"Dev 1", "Dev 2"};
	gExitState.connectedOutputs[1] = {"Dev 3"};
	std::vector<BMidiRecordingConsumer*> devices
		= {AddDevice("Dev 1"), AddDevice("Dev 2"), AddDevice("Dev 3")};
	BMidiRecordingConsumer* idle = AddDevice("Dev 4");

	Run([&]() {
		Open({});
		Post(kMsgAllNotesOff);
		for (BMidiRecordingConsumer* device : devices)
			EXPECT_EQ(mute_messages(), heard(device)) << device->Name();
		EXPECT_EQ(std::vector<Bytes>{}, heard(idle));
	});
}


// The synth is offered by the menus whenever it exists; port A plays
// through it only when it remembers no device.
TEST_F(PortsTest, PortAPlaysThroughTheSoftSynthWhenItRemembersNoDevice)
{
	struct Case {
		std::vector<std::string> rememberedA;
		bool synthOnA;
	};
	const Case cases[] = {{{}, true}, {{"Dev 1"}, false}, {{"Gone"}, false}};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.rememberedA.size());
		gExitState.connectedOutputs[0] = test.rememberedA;
		AddDevice("Dev 1");
		BMidiRecordingConsumer* synth = AddDevice(BSoftSynth::kName);
		// One reference for the player, which releases its synth.
		synth->Acquire();
		Run([&]() {
			Open({}, synth);
			EXPECT_EQ(test.synthOnA, Connected(0, synth));
			EXPECT_FALSE(Connected(1, synth));
		});
		TearDown();
		SetUp();
	}
}


TEST_F(PortsTest, ASoftSynthThatCannotBeHadIsNotOfferedAndTheReasonShown)
{
	Run([&]() {
		Open({}, NULL, "no audio output");
		EXPECT_EQ(" no audio output", StatusText());
		std::unique_ptr<BList> devices(fView->Producer(0)->Connections());
		EXPECT_EQ(0, devices->CountItems());
		int32 id = 0;
		while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id))
			EXPECT_STRNE(BSoftSynth::kName, consumer->Name());
	});
}


// The real synth, rendering what the player plays into the file the
// environment names, on the real clock.
TEST_F(PortsTest, TheRealSoftSynthRendersThePlayedSongIntoTheEnvironmentsWavFile)
{
	set_current_clock(fPreviousClock);
	const std::string wav = fFolder / "out.wav";
	setenv("VANTU_SOFTSYNTH_WAV", wav.c_str(), 1);
	const std::string song = MakeSong("a.mid", {{0, 200, 60}, {0, 200, 64}}, 250);
	std::string problem;

	Run([&]() {
		fRealSynth = true;
		Open({});
		problem = StatusText();
		if (!problem.empty())
			return;
		AddSongs({song});
		Post(kMsgPlay);
		const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
		while (gAppPrivacy.State() != TS_Stopped
			&& std::chrono::steady_clock::now() < giveUp) {
			snooze(10000);
			Pump();
		}
		EXPECT_EQ(TS_Stopped, gAppPrivacy.State());
		Close();
	});
	unsetenv("VANTU_SOFTSYNTH_WAV");
	if (!problem.empty())
		GTEST_SKIP() << "no soft synth here:" << problem;

	std::ifstream file(wav, std::ios::binary);
	std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
		std::istreambuf_iterator<char>());
	ASSERT_GT(bytes.size(), 44u);
	int32 loudest = 0;
	for (size_t at = 44; at + 1 < bytes.size(); at += 2) {
		const int16 sample = int16(uint8(bytes[at]) | (uint8(bytes[at + 1]) << 8));
		loudest = std::max<int32>(loudest, std::abs(sample));
	}
	EXPECT_GT(loudest, 1000) << "the notes were heard";
}
