#include <cstring>

#include <gtest/gtest.h>

#include <List.h>
#include <Message.h>
#include <MidiConsumer.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>

#include "MidiTestSupport.h"

namespace {

// Reports its own destruction.
class MortalConsumer : public BMidiLocalConsumer {
public:
	explicit MortalConsumer(bool* destroyed) : fDestroyed(destroyed) {}

protected:
	~MortalConsumer() override { *fDestroyed = true; }

private:
	bool* fDestroyed;
};

}


TEST(MidiEndpointTest, UnnamedEndpointsAreAnonymous)
{
	struct Case {
		const char* given;
		const char* expected;
	};
	const Case cases[] = {
		{NULL, "<anonymous>"},
		{"", "<anonymous>"},
		{"Vantu MIDI OUT A", "Vantu MIDI OUT A"},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.expected);
		auto producer = make_endpoint<BMidiLocalProducer>(c.given);
		auto consumer = make_endpoint<BMidiLocalConsumer>(c.given);
		EXPECT_STREQ(c.expected, producer->Name());
		EXPECT_STREQ(c.expected, consumer->Name());
	}

	auto producer = make_endpoint<BMidiLocalProducer>("named");
	producer->SetName(NULL);
	EXPECT_STREQ("<anonymous>", producer->Name());
	producer->SetName("renamed");
	EXPECT_STREQ("renamed", producer->Name());
}


TEST(MidiEndpointTest, IdsArePositiveUniqueAndKindsAreReported)
{
	auto producer = make_endpoint<BMidiLocalProducer>();
	auto consumer = make_endpoint<BMidiLocalConsumer>();
	EXPECT_GT(producer->ID(), 0);
	EXPECT_GT(consumer->ID(), producer->ID());

	EXPECT_TRUE(producer->IsProducer());
	EXPECT_FALSE(producer->IsConsumer());
	EXPECT_TRUE(consumer->IsConsumer());
	EXPECT_FALSE(consumer->IsProducer());
	for (BMidiEndpoint* endpoint : {static_cast<BMidiEndpoint*>(producer.get()),
			static_cast<BMidiEndpoint*>(consumer.get())}) {
		EXPECT_TRUE(endpoint->IsLocal());
		EXPECT_FALSE(endpoint->IsRemote());
		EXPECT_TRUE(endpoint->IsValid());
		EXPECT_FALSE(endpoint->IsPersistent());
		EXPECT_FALSE(endpoint->IsRegistered());
	}
}


TEST(MidiEndpointTest, LastReleaseDestroys)
{
	bool destroyed = false;
	BMidiLocalConsumer* consumer = new MortalConsumer(&destroyed);
	EXPECT_EQ(B_OK, consumer->Acquire());
	EXPECT_EQ(B_OK, consumer->Release());
	EXPECT_FALSE(destroyed);
	EXPECT_EQ(B_OK, consumer->Release());
	EXPECT_TRUE(destroyed);
}


TEST(MidiEndpointTest, ReleasedConsumerLeavesItsProducers)
{
	bool destroyed = false;
	auto producer = make_endpoint<BMidiLocalProducer>();
	BMidiLocalConsumer* consumer = new MortalConsumer(&destroyed);
	ASSERT_EQ(B_OK, producer->Connect(consumer));

	consumer->Release();
	ASSERT_TRUE(destroyed);
	std::unique_ptr<BList> connections(producer->Connections());
	EXPECT_EQ(0, connections->CountItems());
	// Nothing is left to deliver to (AddressSanitizer would see a stale one).
	producer->SprayNoteOn(0, 60, 100);
}


TEST(MidiEndpointTest, PropertiesAreCopiedInAndOut)
{
	auto producer = make_endpoint<BMidiLocalProducer>("with icons");
	const uchar largeIcon[4] = {1, 2, 3, 4};
	const uchar miniIcon[2] = {5, 6};

	BMessage properties;
	ASSERT_EQ(B_OK, producer->GetProperties(&properties));
	properties.AddData("be:large_icon", 'ICON', largeIcon, sizeof(largeIcon));
	properties.AddData("be:mini_icon", 'MICN', miniIcon, sizeof(miniIcon));
	ASSERT_EQ(B_OK, producer->SetProperties(&properties));
	properties.MakeEmpty();

	BMessage stored;
	ASSERT_EQ(B_OK, producer->GetProperties(&stored));
	const void* data;
	ssize_t size;
	ASSERT_EQ(B_OK, stored.FindData("be:large_icon", 'ICON', &data, &size));
	EXPECT_EQ(0, memcmp(largeIcon, data, sizeof(largeIcon)));
	ASSERT_EQ(B_OK, stored.FindData("be:mini_icon", 'MICN', &data, &size));
	EXPECT_EQ(ssize_t(sizeof(miniIcon)), size);

	EXPECT_EQ(B_BAD_VALUE, producer->SetProperties(NULL));
	EXPECT_EQ(B_BAD_VALUE, producer->GetProperties(NULL));
}


TEST(MidiEndpointTest, RegisterAndUnregisterAreIdempotent)
{
	auto consumer = make_endpoint<BMidiLocalConsumer>("registered");
	EXPECT_EQ(B_OK, consumer->Register());
	EXPECT_EQ(B_OK, consumer->Register());
	EXPECT_TRUE(consumer->IsRegistered());
	EXPECT_EQ(B_OK, consumer->Unregister());
	EXPECT_EQ(B_OK, consumer->Unregister());
	EXPECT_FALSE(consumer->IsRegistered());
}
