#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <List.h>
#include <Messenger.h>
#include <MidiBackend.h>
#include <MidiConsumer.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiProducer.h>
#include <MidiRecordingConsumer.h>
#include <MidiRoster.h>

#include "MidiTestSupport.h"

namespace {

typedef std::vector<std::string> Calls;

// An in-memory MIDI system: its devices are remote endpoints, and it writes
// down every call the roster makes to it.
class FakeBackend : public BMidiBackend {
public:
	using BMidiBackend::ConnectionBroken;
	using BMidiBackend::ConnectionMade;
	using BMidiBackend::PublishConsumer;
	using BMidiBackend::PublishProducer;
	using BMidiBackend::Rename;
	using BMidiBackend::Spray;
	using BMidiBackend::Withdraw;

	~FakeBackend() override { Detach(); }

	Calls TakeCalls()
	{
		std::lock_guard<std::mutex> lock(fLock);
		Calls calls;
		calls.swap(fCalls);
		return calls;
	}

	void RefuseConnections(status_t status) { fConnectStatus = status; }

	void LocalEndpointRegistered(BMidiEndpoint* endpoint) override
	{
		_Add(std::string("registered ") + endpoint->Name());
	}

	void LocalEndpointUnregistered(BMidiEndpoint* endpoint) override
	{
		_Add(std::string("unregistered ") + endpoint->Name());
	}

	void LocalEndpointChanged(BMidiEndpoint* endpoint, BMidiOp change) override
	{
		_Add(std::string("changed ") + endpoint->Name() + " "
			+ std::to_string(change));
	}

	status_t Connect(BMidiProducer* producer, BMidiConsumer* consumer) override
	{
		_Add(std::string("connect ") + producer->Name() + " -> "
			+ consumer->Name());
		return fConnectStatus;
	}

	void Disconnect(BMidiProducer* producer, BMidiConsumer* consumer) override
	{
		_Add(std::string("disconnect ") + producer->Name() + " -> "
			+ consumer->Name());
	}

	void Deliver(BMidiProducer* producer, BMidiConsumer* consumer,
		const uchar* data, size_t length, bool atomic, bigtime_t time) override
	{
		_Add(std::string("deliver ") + producer->Name() + " -> "
			+ consumer->Name() + ": " + hex_bytes({data, data + length})
			+ (atomic ? "" : " (part)") + " @" + std::to_string(time));
	}

private:
	void _Add(const std::string& call)
	{
		std::lock_guard<std::mutex> lock(fLock);
		fCalls.push_back(call);
	}

	std::mutex fLock;
	Calls fCalls;
	status_t fConnectStatus = B_OK;
};

class BackendTest : public testing::Test {
protected:
	void SetUp() override
	{
		fBackend = std::make_unique<FakeBackend>();
		ASSERT_EQ(B_OK, fBackend->Attach());
	}

	std::unique_ptr<FakeBackend> fBackend;
};

class HookedProducer : public BMidiLocalProducer {
public:
	explicit HookedProducer(const char* name) : BMidiLocalProducer(name) {}

	std::vector<BMidiConsumer*> connected;
	std::vector<BMidiConsumer*> disconnected;

	void Connected(BMidiConsumer* consumer) override
	{
		connected.push_back(consumer);
	}

	void Disconnected(BMidiConsumer* consumer) override
	{
		disconnected.push_back(consumer);
	}
};

}


TEST_F(BackendTest, LearnsAboutRegisteredLocalEndpoints)
{
	auto early = make_endpoint<BMidiLocalProducer>("early");
	auto late = make_endpoint<BMidiLocalConsumer>("late");
	early->Register();
	FakeBackend second;
	ASSERT_EQ(B_OK, second.Attach());
	EXPECT_EQ(B_ERROR, second.Attach());
	EXPECT_EQ(Calls{"registered early"}, second.TakeCalls());
	second.Detach();
	EXPECT_FALSE(second.IsAttached());

	late->Register();
	late->SetName("later");
	late->SetLatency(20);
	BMessage properties;
	late->SetProperties(&properties);
	late->Unregister();
	late->SetName("unregistered, so not told");
	early.reset();

	EXPECT_EQ((Calls{"registered early", "registered late",
		"changed later 5", "changed later 6", "changed later 7",
		"unregistered later", "unregistered early"}), fBackend->TakeCalls());
	EXPECT_TRUE(second.TakeCalls().empty());
}


TEST_F(BackendTest, RemoteConsumerReceivesWhatAConnectedProducerSprays)
{
	BMidiConsumer* device = fBackend->PublishConsumer("Synth:Port 1");
	ASSERT_NE(nullptr, device);
	EXPECT_TRUE(device->IsRemote());
	EXPECT_TRUE(device->IsValid());
	EXPECT_TRUE(device->IsRegistered());
	EXPECT_EQ(device, BMidiRoster::FindConsumer(device->ID()));
	EXPECT_EQ(nullptr, BMidiRoster::FindConsumer(device->ID(), true));
	EXPECT_EQ(B_ERROR, device->Release());

	auto output = make_endpoint<HookedProducer>("OUT A");
	output->Register();
	fBackend->TakeCalls();
	ASSERT_EQ(B_OK, output->Connect(device));
	EXPECT_EQ(std::vector<BMidiConsumer*>{device}, output->connected);

	std::vector<uchar> body = {0x43, 0x10, 0x4c, 0x00, 0x00, 0x7e, 0x00, 0xf7};
	output->SprayNoteOn(0, 60, 100, 7);
	output->SpraySystemExclusive(body.data(), body.size(), 8);
	output->SprayTempoChange(120, 9);
	uchar part[] = {0x3c};
	output->SprayData(part, sizeof(part), false, 10);
	EXPECT_EQ(B_OK, output->Disconnect(device));
	output->SprayNoteOff(0, 60, 0);

	EXPECT_EQ((Calls{
		"connect OUT A -> Synth:Port 1",
		"deliver OUT A -> Synth:Port 1: 90 3C 64 @7",
		"deliver OUT A -> Synth:Port 1: F0 43 10 4C 00 00 7E 00 F7 @8",
		"deliver OUT A -> Synth:Port 1: FF 51 03 07 A1 20 @9",
		"deliver OUT A -> Synth:Port 1: 3C (part) @10",
		"disconnect OUT A -> Synth:Port 1"}), fBackend->TakeCalls());
	EXPECT_EQ(std::vector<BMidiConsumer*>{device}, output->disconnected);
}


TEST_F(BackendTest, RefusedConnectionIsNotMade)
{
	BMidiConsumer* device = fBackend->PublishConsumer("Busy");
	auto output = make_endpoint<HookedProducer>("OUT B");
	fBackend->RefuseConnections(B_BUSY);

	EXPECT_EQ(B_BUSY, output->Connect(device));
	EXPECT_FALSE(output->IsConnected(device));
	EXPECT_TRUE(output->connected.empty());
}


TEST_F(BackendTest, ReleasingAConnectedProducerDisconnectsTheDevice)
{
	BMidiConsumer* device = fBackend->PublishConsumer("Synth");
	BMidiLocalProducer* silencer = new BMidiLocalProducer("DisconnectProducer");
	silencer->Connect(device);
	silencer->Release();

	EXPECT_EQ((Calls{"connect DisconnectProducer -> Synth",
		"disconnect DisconnectProducer -> Synth"}), fBackend->TakeCalls());
}


TEST_F(BackendTest, ExternalConnectionsShowLikeOwnOnes)
{
	NoticeLooper* looper = new NoticeLooper(0);
	looper->Run();
	BMidiConsumer* device = fBackend->PublishConsumer("Synth");
	auto output = make_endpoint<HookedProducer>("OUT A");
	output->Register();
	BMessenger messenger(looper);
	BMidiRoster::StartWatching(&messenger);
	const std::string outputID = "#" + std::to_string(output->ID());
	const std::string deviceID = "#" + std::to_string(device->ID());
	size_t existing = looper->NoticesSoFar().size();
	fBackend->TakeCalls();

	EXPECT_EQ(B_OK, fBackend->ConnectionMade(output.get(), device));
	EXPECT_EQ(B_OK, fBackend->ConnectionMade(output.get(), device));
	EXPECT_TRUE(output->IsConnected(device));
	std::unique_ptr<BList> connections(output->Connections());
	EXPECT_EQ(1, connections->CountItems());
	output->SprayProgramChange(0, 1);
	EXPECT_EQ(B_OK, fBackend->ConnectionBroken(output.get(), device));
	EXPECT_EQ(B_OK, fBackend->ConnectionBroken(output.get(), device));
	EXPECT_FALSE(output->IsConnected(device));

	auto stranger = make_endpoint<BMidiLocalConsumer>("not the backend's");
	EXPECT_EQ(B_BAD_VALUE, fBackend->ConnectionMade(output.get(),
		stranger.get()));

	std::vector<std::string> notices = looper->NoticesSoFar();
	BMidiRoster::StopWatching();
	looper->Lock();
	looper->Quit();

	EXPECT_EQ((Calls{"deliver OUT A -> Synth: C0 01 @0"}),
		fBackend->TakeCalls());
	EXPECT_EQ(std::vector<BMidiConsumer*>{device}, output->connected);
	EXPECT_EQ(std::vector<BMidiConsumer*>{device}, output->disconnected);
	EXPECT_EQ((std::vector<std::string>{"connected " + outputID + " "
		+ deviceID, "disconnected " + outputID + " " + deviceID}),
		std::vector<std::string>(notices.begin() + existing, notices.end()));
}


TEST_F(BackendTest, RemoteProducerFeedsConnectedLocalConsumers)
{
	BMidiProducer* keyboard = fBackend->PublishProducer("Keyboard");
	ASSERT_NE(nullptr, keyboard);
	EXPECT_EQ(keyboard, BMidiRoster::FindProducer(keyboard->ID()));
	auto recorder = make_endpoint<BMidiRecordingConsumer>();
	ASSERT_EQ(B_OK, keyboard->Connect(recorder.get()));

	const uchar noteOn[] = {0x91, 64, 30};
	EXPECT_EQ(B_OK, fBackend->Spray(keyboard, noteOn, sizeof(noteOn), true,
		77));
	auto local = make_endpoint<BMidiLocalProducer>();
	EXPECT_EQ(B_BAD_VALUE, fBackend->Spray(local.get(), noteOn,
		sizeof(noteOn), true, 0));

	BMidiRecordingConsumer::Event event;
	ASSERT_EQ(1, recorder->CountEvents());
	ASSERT_TRUE(recorder->EventAt(0, &event));
	EXPECT_EQ("91 40 1E", hex_bytes(event.data));
	EXPECT_EQ(BMidiRecordingConsumer::kNoteOn, event.kind);
	EXPECT_EQ(77, event.time);
	EXPECT_EQ(keyboard->ID(), event.producer);
	EXPECT_EQ(Calls{"connect Keyboard -> <anonymous>"},
		fBackend->TakeCalls());
}


TEST_F(BackendTest, WithdrawnDeviceStaysSafeButInvalid)
{
	BMidiConsumer* device = fBackend->PublishConsumer("Synth");
	auto output = make_endpoint<HookedProducer>("OUT A");
	output->Connect(device);
	ASSERT_EQ(B_OK, fBackend->Rename(device, "Synth 2"));
	EXPECT_STREQ("Synth 2", device->Name());
	EXPECT_EQ(B_ERROR, fBackend->Rename(output.get(), "not its own"));
	fBackend->TakeCalls();

	ASSERT_EQ(B_OK, fBackend->Withdraw(device));
	EXPECT_EQ(B_BAD_VALUE, fBackend->Withdraw(device));
	EXPECT_FALSE(device->IsValid());
	EXPECT_STREQ("Synth 2", device->Name());
	EXPECT_EQ(nullptr, BMidiRoster::FindEndpoint(device->ID()));
	EXPECT_EQ(std::vector<BMidiConsumer*>{device}, output->disconnected);
	EXPECT_FALSE(output->IsConnected(device));
	EXPECT_EQ(B_ERROR, output->Connect(device));
	output->SprayNoteOn(0, 1, 2);
	EXPECT_TRUE(fBackend->TakeCalls().empty());
}


TEST_F(BackendTest, DetachWithdrawsEverythingAndEndsTheCalls)
{
	BMidiConsumer* device = fBackend->PublishConsumer("Synth");
	BMidiProducer* keyboard = fBackend->PublishProducer(NULL);
	EXPECT_STREQ("<anonymous>", keyboard->Name());
	auto output = make_endpoint<BMidiLocalProducer>("OUT A");
	output->Connect(device);
	fBackend->TakeCalls();

	fBackend->Detach();
	EXPECT_FALSE(device->IsValid());
	EXPECT_FALSE(keyboard->IsValid());
	EXPECT_EQ(nullptr, fBackend->PublishConsumer("too late"));
	output->Register();
	output->SprayNoteOn(0, 1, 2);
	EXPECT_TRUE(fBackend->TakeCalls().empty());
	int32 id = 0;
	while (BMidiEndpoint* endpoint = BMidiRoster::NextEndpoint(&id))
		EXPECT_TRUE(endpoint->IsLocal()) << endpoint->Name();
}
