#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Messenger.h>
#include <MidiConsumer.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiProducer.h>
#include <MidiRoster.h>

#include "MidiTestSupport.h"

namespace {

typedef std::vector<std::string> Notices;

// The id the next endpoint will get, minus one.
int32
id_base()
{
	BMidiLocalProducer* probe = new BMidiLocalProducer;
	int32 id = probe->ID();
	probe->Release();
	return id;
}

std::vector<int32>
listed(BMidiEndpoint* (*next)(int32*))
{
	std::vector<int32> ids;
	int32 id = 0;
	while (BMidiEndpoint* endpoint = next(&id)) {
		EXPECT_EQ(id, endpoint->ID());
		ids.push_back(id);
	}
	return ids;
}

BMidiEndpoint*
next_endpoint(int32* id)
{
	return BMidiRoster::NextEndpoint(id);
}

BMidiEndpoint*
next_producer(int32* id)
{
	return BMidiRoster::NextProducer(id);
}

BMidiEndpoint*
next_consumer(int32* id)
{
	return BMidiRoster::NextConsumer(id);
}

class WatchTest : public testing::Test {
protected:
	void SetUp() override
	{
		fLooper = new NoticeLooper(id_base());
		fLooper->Run();
	}

	void TearDown() override
	{
		BMidiRoster::StopWatching();
		fLooper->Lock();
		fLooper->Quit();
	}

	void Watch()
	{
		BMessenger messenger(fLooper);
		BMidiRoster::StartWatching(&messenger);
	}

	NoticeLooper* fLooper;
};

}


TEST(MidiRosterTest, ListsEveryLocalEndpointByIncreasingId)
{
	auto output = make_endpoint<BMidiLocalProducer>("Vantu MIDI OUT A");
	auto stage = make_endpoint<BMidiLocalConsumer>();
	auto synth = make_endpoint<BMidiLocalConsumer>("Synth");
	output->Register();

	std::vector<int32> endpoints = listed(next_endpoint);
	std::vector<int32> expected = {output->ID(), stage->ID(), synth->ID()};
	EXPECT_EQ(expected, endpoints);
	EXPECT_EQ(std::vector<int32>{output->ID()}, listed(next_producer));
	EXPECT_EQ((std::vector<int32>{stage->ID(), synth->ID()}),
		listed(next_consumer));

	int32 id = 0;
	BMidiConsumer* first = BMidiRoster::NextConsumer(&id);
	ASSERT_NE(nullptr, first);
	EXPECT_STREQ("<anonymous>", first->Name());
	EXPECT_EQ(nullptr, BMidiRoster::NextEndpoint(NULL));

	output->Unregister();
	synth.reset();
	EXPECT_EQ((std::vector<int32>{output->ID(), stage->ID()}),
		listed(next_endpoint));
}


TEST(MidiRosterTest, FindChecksKindAndLocality)
{
	auto producer = make_endpoint<BMidiLocalProducer>("P");
	auto consumer = make_endpoint<BMidiLocalConsumer>("C");

	EXPECT_EQ(producer.get(), BMidiRoster::FindEndpoint(producer->ID()));
	EXPECT_EQ(producer.get(), BMidiRoster::FindProducer(producer->ID(), true));
	EXPECT_EQ(nullptr, BMidiRoster::FindConsumer(producer->ID()));
	EXPECT_EQ(consumer.get(), BMidiRoster::FindConsumer(consumer->ID()));
	EXPECT_EQ(nullptr, BMidiRoster::FindProducer(consumer->ID()));
	EXPECT_EQ(nullptr, BMidiRoster::FindEndpoint(0));

	int32 gone = consumer->ID();
	consumer.reset();
	EXPECT_EQ(nullptr, BMidiRoster::FindEndpoint(gone));

	EXPECT_EQ(BMidiRoster::MidiRoster(), BMidiRoster::MidiRoster());
	EXPECT_NE(nullptr, BMidiRoster::MidiRoster());
	EXPECT_EQ(B_BAD_VALUE, BMidiRoster::Register(NULL));
	EXPECT_EQ(B_OK, BMidiRoster::Register(producer.get()));
	EXPECT_TRUE(producer->IsRegistered());
	EXPECT_EQ(B_OK, BMidiRoster::Unregister(producer.get()));
	EXPECT_FALSE(producer->IsRegistered());
}


TEST_F(WatchTest, StartingReportsWhatExists)
{
	auto output = make_endpoint<BMidiLocalProducer>("OUT A");          // #1
	auto device = make_endpoint<BMidiLocalConsumer>("Device");         // #2
	auto silencer = make_endpoint<BMidiLocalProducer>("Silencer");     // #3
	auto stage = make_endpoint<BMidiLocalConsumer>();                  // #4
	output->Register();
	device->Register();
	output->Connect(device.get());
	silencer->Connect(device.get());
	silencer->Connect(stage.get());

	Watch();

	EXPECT_EQ((Notices{"registered producer #1", "registered consumer #2",
		"connected #1 #2", "connected 0 #2"}), fLooper->WaitForNotices(4));
	EXPECT_EQ(4u, fLooper->NoticesSoFar().size());
}


TEST_F(WatchTest, ReportsChangesInOrder)
{
	auto output = make_endpoint<BMidiLocalProducer>("OUT A");          // #1
	BMidiLocalConsumer* device = new BMidiLocalConsumer("Device");     // #2
	auto silencer = make_endpoint<BMidiLocalProducer>("Silencer");     // #3
	auto stage = make_endpoint<BMidiLocalConsumer>();                  // #4
	Watch();

	output->Register();
	device->Register();
	device->SetName("Synth");
	device->SetLatency(1500);
	BMessage properties;
	properties.AddInt32("a", 1);
	properties.AddInt32("b", 2);
	output->SetProperties(&properties);
	output->Connect(device);
	silencer->Connect(device);
	silencer->Connect(stage.get());
	silencer->Disconnect(device);
	stage->SetName("private, so not reported");
	output->Unregister();
	output->Register();
	device->Release();

	EXPECT_EQ((Notices{
		"registered producer #1",
		"registered consumer #2",
		"name #2 Synth",
		"latency #2 1500",
		"properties #1 2",
		"connected #1 #2",
		"connected 0 #2",
		"disconnected 0 #2",
		"unregistered producer #1",
		"registered producer #1",
		"disconnected #1 #2",
		"unregistered consumer #2"}), fLooper->WaitForNotices(12));
	EXPECT_EQ(12u, fLooper->NoticesSoFar().size());
}


TEST_F(WatchTest, StoppingEndsTheNotices)
{
	auto output = make_endpoint<BMidiLocalProducer>("OUT A");
	Watch();
	BMidiRoster::StopWatching();
	output->Register();
	EXPECT_TRUE(fLooper->NoticesSoFar().empty());

	BMidiRoster::StartWatching(NULL);
	output->Unregister();
	EXPECT_TRUE(fLooper->NoticesSoFar().empty());
}
