#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <List.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>

#include "MidiTestSupport.h"

namespace {

class HookedProducer : public BMidiLocalProducer {
public:
	std::vector<std::string> calls;

	void Connected(BMidiConsumer* consumer) override
	{
		calls.push_back("connected " + std::to_string(consumer->ID()));
	}

	void Disconnected(BMidiConsumer* consumer) override
	{
		calls.push_back("disconnected " + std::to_string(consumer->ID()));
	}

protected:
	~HookedProducer() override = default;
};

// Drops the reference its owner handed it while a message is being
// delivered to it, as another thread releasing the consumer would.
class SelfReleasingConsumer : public BMidiLocalConsumer {
public:
	SelfReleasingConsumer(bool* destroyed, bool* aliveAfterRelease)
		:
		fDestroyed(destroyed),
		fAliveAfterRelease(aliveAfterRelease)
	{
	}

	void NoteOn(uchar, uchar, uchar, bigtime_t) override
	{
		Release();
		*fAliveAfterRelease = !*fDestroyed;
	}

protected:
	~SelfReleasingConsumer() override { *fDestroyed = true; }

private:
	bool* fDestroyed;
	bool* fAliveAfterRelease;
};

std::vector<BMidiConsumer*>
connections_of(const BMidiProducer* producer)
{
	std::unique_ptr<BList> list(producer->Connections());
	std::vector<BMidiConsumer*> consumers;
	for (int32 i = 0; i < list->CountItems(); i++)
		consumers.push_back(static_cast<BMidiConsumer*>(list->ItemAt(i)));
	return consumers;
}

}


TEST(MidiProducerTest, ConnectAndDisconnectReportStatus)
{
	auto producer = make_endpoint<HookedProducer>();
	auto first = make_endpoint<BMidiLocalConsumer>();
	auto second = make_endpoint<BMidiLocalConsumer>();

	EXPECT_EQ(B_BAD_VALUE, producer->Connect(NULL));
	EXPECT_EQ(B_BAD_VALUE, producer->Disconnect(NULL));
	EXPECT_EQ(B_ERROR, producer->Disconnect(first.get()));

	EXPECT_EQ(B_OK, producer->Connect(second.get()));
	EXPECT_EQ(B_OK, producer->Connect(first.get()));
	EXPECT_EQ(B_ERROR, producer->Connect(first.get()));
	EXPECT_TRUE(producer->IsConnected(first.get()));
	EXPECT_EQ((std::vector<BMidiConsumer*>{second.get(), first.get()}),
		connections_of(producer.get()));

	EXPECT_EQ(B_OK, producer->Disconnect(second.get()));
	EXPECT_EQ(B_ERROR, producer->Disconnect(second.get()));
	EXPECT_FALSE(producer->IsConnected(second.get()));
	EXPECT_EQ(std::vector<BMidiConsumer*>{first.get()},
		connections_of(producer.get()));

	const std::string firstID = std::to_string(first->ID());
	const std::string secondID = std::to_string(second->ID());
	EXPECT_EQ((std::vector<std::string>{"connected " + secondID,
		"connected " + firstID, "disconnected " + secondID}),
		producer->calls);
}


TEST(MidiProducerTest, ConnectionsListIsTheCallers)
{
	auto producer = make_endpoint<BMidiLocalProducer>();
	auto consumer = make_endpoint<BMidiLocalConsumer>();
	producer->Connect(consumer.get());

	BList* list = producer->Connections();
	list->MakeEmpty();
	delete list;
	EXPECT_TRUE(producer->IsConnected(consumer.get()));
}


TEST(MidiProducerTest, ReleasedConsumerTellsTheProducer)
{
	auto producer = make_endpoint<HookedProducer>();
	BMidiLocalConsumer* consumer = new BMidiLocalConsumer;
	const int32 id = consumer->ID();
	producer->Connect(consumer);
	consumer->Release();

	EXPECT_EQ((std::vector<std::string>{"connected " + std::to_string(id),
		"disconnected " + std::to_string(id)}), producer->calls);
	EXPECT_TRUE(connections_of(producer.get()).empty());
}


TEST(MidiProducerTest, ConsumerReleasedDuringDeliveryLivesUntilItReturns)
{
	bool destroyed = false;
	bool aliveAfterRelease = false;
	auto producer = make_endpoint<BMidiLocalProducer>();
	auto recorder = make_endpoint<BMidiRecordingConsumer>();
	producer->Connect(new SelfReleasingConsumer(&destroyed, &aliveAfterRelease));
	producer->Connect(recorder.get());

	producer->SprayNoteOn(0, 60, 100);

	EXPECT_TRUE(aliveAfterRelease);
	EXPECT_TRUE(destroyed);
	EXPECT_EQ(1, recorder->CountEvents());
	EXPECT_EQ(std::vector<BMidiConsumer*>{recorder.get()},
		connections_of(producer.get()));
}
