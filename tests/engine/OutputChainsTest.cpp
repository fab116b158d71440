#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include <unistd.h>

#include <DataIO.h>
#include <Message.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <SteppedClock.h>
#include <VirtualClock.h>

#include "OutputChains.h"
#include "SMFBuilder.h"
#include "SMFProducer.h"
#include "TestTimes.h"

namespace {

const uchar kAllNotesOff = 123;


// What a device made of the notes it was sent: which still sound, and how
// many Note Offs named a note that did not.
struct NoteLedger {
	std::set<std::pair<int, int>> sounding;
	int strays = 0;

	explicit NoteLedger(const BMidiRecordingConsumer* device)
	{
		for (const auto& event : device->Events()) {
			const std::vector<uchar>& data = event.data;
			int kind = data[0] & 0xF0;
			int channel = data[0] & 0x0F;
			if (kind == 0x90 && data[2] != 0)
				sounding.insert({channel, data[1]});
			else if (kind == 0x80 || kind == 0x90)
				strays += sounding.erase({channel, data[1]}) == 0;
			else if (kind == 0xB0 && data[1] == kAllNotesOff)
				std::erase_if(sounding, [channel](auto note) { return note.first == channel; });
		}
	}
};


// A device that holds the first Note On delivered to it, and with it the
// play thread in the middle of its step, until the test opens it.
class HoldingDevice : public BMidiRecordingConsumer {
public:
	void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override
	{
		BMidiRecordingConsumer::NoteOn(channel, note, velocity, time);
		std::unique_lock<std::mutex> lock(fLock);
		if (fEntered)
			return;
		fEntered = true;
		fChanged.notify_all();
		fChanged.wait_for(lock, std::chrono::microseconds(kWatchdog),
			[this] { return fOpen; });
	}

	bool WaitUntilEntered()
	{
		std::unique_lock<std::mutex> lock(fLock);
		return fChanged.wait_for(lock, std::chrono::microseconds(kWatchdog),
			[this] { return fEntered; });
	}

	void Open()
	{
		std::lock_guard<std::mutex> lock(fLock);
		fOpen = true;
		fChanged.notify_all();
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	bool fEntered = false;
	bool fOpen = false;
};


// Runs a change on a thread of its own, the window thread's stand-in.
class Changer {
public:
	explicit Changer(std::function<void()> change)
		:
		fThread([this, change] {
			fTid = gettid();
			change();
			fDone = true;
		})
	{
	}

	~Changer() { fThread.join(); }

	// Until the change has returned or waits in the kernel, for a lock the
	// held play thread has: either way it has gone as far as it can.
	bool WaitUntilSettled()
	{
		auto giveUp = std::chrono::steady_clock::now()
			+ std::chrono::microseconds(kWatchdog);
		while (std::chrono::steady_clock::now() < giveUp) {
			if (fDone || _Waiting())
				return true;
			std::this_thread::yield();
		}
		return false;
	}

private:
	bool _Waiting() const
	{
		pid_t tid = fTid;
		if (tid == 0)
			return false;
		std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
		std::string line;
		std::getline(stat, line);
		size_t end = line.rfind(')');
		return end != std::string::npos && end + 2 < line.size()
			&& line[end + 2] == 'S';
	}

	std::atomic<pid_t> fTid{0};
	std::atomic<bool> fDone{false};
	std::thread fThread;
};


// A song and the player's two output ports, each feeding a recording
// device, on a test clock; port A's device may hold the play thread.
class OutputChainsTest : public testing::Test {
protected:
	// `clock` is only kept here: a subclass passes its own member.
	explicit OutputChainsTest(BClock* clock)
		:
		fClock(clock)
	{
	}

	void SetUp() override
	{
		fPreviousClock = set_current_clock(fClock);
		fSong = std::make_unique<TSMFProducer>();
		fChains = std::make_unique<TOutputChains>(fSong.get());
		fDevice[0] = fHolding = new HoldingDevice;
		fDevice[1] = new BMidiRecordingConsumer("device B");
		ASSERT_EQ(B_OK, fChains->InitCheck());
		for (int port = 0; port < TOutputChains::kPortCount; port++)
			ASSERT_EQ(B_OK, fChains->Connect(port, fDevice[port]));
	}

	// The song stops before the chains and the clock go.
	void TearDown() override
	{
		fSong->Stop();
		fChains.reset();
		fSong.reset();
		for (BMidiRecordingConsumer* device : fDevice) {
			if (device != NULL)
				device->Release();
		}
		set_current_clock(fPreviousClock);
	}

	void Load(const std::vector<smf::Track>& tracks)
	{
		smf::Bytes bytes = smf::File(tracks, 480);
		BMemoryIO stream(bytes.data(), bytes.size());
		ASSERT_EQ(0, fSong->SetTo(&stream));
	}

	BClock* fClock;
	BClock* fPreviousClock;
	std::unique_ptr<TSMFProducer> fSong;
	std::unique_ptr<TOutputChains> fChains;
	HoldingDevice* fHolding;
	BMidiRecordingConsumer* fDevice[TOutputChains::kPortCount] = {};
};


class HeldStepTest : public OutputChainsTest,
	public testing::WithParamInterface<
		std::pair<const char*, void (*)(TOutputChains*)>> {
protected:
	HeldStepTest()
		:
		OutputChainsTest(&fStepped),
		fStepped(kStart)
	{
	}

	BSteppedClock fStepped;
};


// Free-running: the song plays as fast as it can.
class RandomChangesTest : public OutputChainsTest {
protected:
	RandomChangesTest()
		:
		OutputChainsTest(&fFreeRunning),
		fFreeRunning(kStart)
	{
	}

	BVirtualClock fFreeRunning;
};


// Many overlapping notes on several channels of both ports.
std::vector<smf::Track>
DenseSong(std::mt19937& random, int noteCount)
{
	std::vector<smf::Track> tracks;
	for (int port = 0; port < TOutputChains::kPortCount; port++) {
		for (uchar channel = 0; channel < 4; channel++) {
			// Absolute ticks of every Note On and Note Off, then in order.
			std::multimap<uint32, std::vector<uint8_t>> events;
			for (int i = 0; i < noteCount; i++) {
				uint32 start = random() % (noteCount * 8);
				uchar note = 40 + random() % 40;
				events.insert({start, {uint8_t(0x90 | channel), note, 100}});
				events.insert({uint32(start + 1 + random() % 60),
					{uint8_t(0x80 | channel), note, 0}});
			}
			smf::Track track;
			track.Port(0, port);
			uint32 last = 0;
			for (const auto& [tick, bytes] : events) {
				track.Event(tick - last, bytes);
				last = tick;
			}
			tracks.push_back(track.End());
		}
	}
	return tracks;
}


}	// namespace


// The player changes the key or the position while the play thread is in
// the middle of sending a Note On. The change silences and acts as one step:
// right after it nothing sounds, and the song plays on to its end without
// leaving a note sounding or ending one that does not sound.
TEST_P(HeldStepTest, ChangeDuringAStepLeavesNoNoteSounding)
{
	smf::Track track;
	track.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).NoteOn(960, 0, 62, 100)
		.NoteOff(480, 0, 62).End();
	Load({track});
	ASSERT_EQ(0, fSong->Play());
	ASSERT_TRUE(fHolding->WaitUntilEntered());
	{
		Changer changer([this] { GetParam().second(fChains.get()); });
		ASSERT_TRUE(changer.WaitUntilSettled());
		fHolding->Open();
	}
	ASSERT_TRUE(fStepped.WaitForSleepers(1, kWatchdog));
	EXPECT_EQ((std::set<std::pair<int, int>>{}), NoteLedger(fHolding).sounding);

	ASSERT_EQ(B_OK, fStepped.AdvanceTo(kStart + 60000000));
	EXPECT_FALSE(fSong->IsPlaying());
	NoteLedger ledger(fHolding);
	EXPECT_EQ((std::set<std::pair<int, int>>{}), ledger.sounding);
	EXPECT_EQ(0, ledger.strays);
	EXPECT_EQ(0, fDevice[1]->CountEvents());
}


INSTANTIATE_TEST_SUITE_P(KeyAndSeek, HeldStepTest, testing::Values(
	std::make_pair("key", [](TOutputChains* chains) { chains->SetKey(5); }),
	std::make_pair("seek", [](TOutputChains* chains) { chains->Seek(960); })),
	[](const auto& info) { return std::string(info.param.first); });


// The key and the position change at random while the song plays; then it
// plays to its end and nothing sounds on.
TEST_F(RandomChangesTest, RapidKeyChangesAndSeeksLeaveNoNoteSounding)
{
	fHolding->Open();
	const uint32 seed = std::random_device()();
	SCOPED_TRACE(testing::Message() << "seed " << seed);
	std::mt19937 random(seed);
	const int noteCount = 3000;
	Load(DenseSong(random, noteCount));

	ASSERT_EQ(0, fSong->Play());
	for (int i = 0; i < 400; i++) {
		if (random() % 2 == 0)
			fChains->SetKey(int32(random() % 25) - 12);
		else
			fChains->Seek(random() % fSong->CountTicks());
		// Free-running, the song soon reaches its end; it starts again
		// without a silence, which would hide what its notes left.
		if (!fSong->IsPlaying()) {
			fSong->Stop();
			ASSERT_EQ(0, fSong->Play());
		}
		std::this_thread::yield();
	}
	// The song ends every note it starts: whatever sounds once it has
	// played to its end was left by a change.
	auto giveUp = std::chrono::steady_clock::now()
		+ std::chrono::microseconds(kWatchdog);
	while (fSong->IsPlaying() && std::chrono::steady_clock::now() < giveUp)
		std::this_thread::yield();
	ASSERT_FALSE(fSong->IsPlaying());

	for (BMidiRecordingConsumer* device : fDevice) {
		NoteLedger ledger(device);
		EXPECT_EQ(0u, ledger.sounding.size());
		EXPECT_EQ(0, ledger.strays);
	}
}


// The player gives both ports its icons; the ports are registered with them.
TEST(OutputChainsPortsTest, PortPropertiesJoinBothEndpointsBeforeTheyAreRegistered)
{
	const std::vector<uint8> large(32 * 32, 7);
	const std::vector<uint8> mini(16 * 16, 9);
	BMessage icons;
	icons.AddData("be:large_icon", 'ICON', large.data(), large.size());
	icons.AddData("be:mini_icon", 'MICN', mini.data(), mini.size());
	TSMFProducer song;
	TOutputChains chains(&song, &icons);
	ASSERT_EQ(B_OK, chains.InitCheck());

	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		SCOPED_TRACE(port);
		EXPECT_TRUE(chains.Port(port)->IsRegistered());
		BMessage properties;
		ASSERT_EQ(B_OK, chains.Port(port)->GetProperties(&properties));
		const struct {
			const char* name;
			type_code type;
			const std::vector<uint8>& bits;
		} expected[] = {{"be:large_icon", 'ICON', large}, {"be:mini_icon", 'MICN', mini}};
		for (const auto& icon : expected) {
			const void* data;
			ssize_t size;
			ASSERT_EQ(B_OK, properties.FindData(icon.name, icon.type, &data, &size));
			const uint8* bytes = static_cast<const uint8*>(data);
			EXPECT_EQ(icon.bits, std::vector<uint8>(bytes, bytes + size)) << icon.name;
		}
	}
}
