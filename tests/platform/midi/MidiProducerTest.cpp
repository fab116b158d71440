#include <atomic>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <List.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>

#include "MidiTestSupport.h"

namespace {

class HookLogProducer : public BMidiLocalProducer {
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
	~HookLogProducer() override = default;
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

// Counts the notes it gets, runs an action on each and tells when it is
// destroyed; the counters outlive it.
class ActingConsumer : public BMidiLocalConsumer {
public:
	ActingConsumer(std::atomic<int>* notes, std::atomic<bool>* destroyed,
		std::function<void()> action = {})
		:
		fNotes(notes),
		fDestroyed(destroyed),
		fAction(std::move(action))
	{
	}

	void NoteOn(uchar, uchar, uchar, bigtime_t) override
	{
		if (*fDestroyed)
			ADD_FAILURE() << "a note reached a destroyed consumer";
		(*fNotes)++;
		if (fAction)
			fAction();
	}

protected:
	~ActingConsumer() override { *fDestroyed = true; }

private:
	std::atomic<int>* fNotes;
	std::atomic<bool>* fDestroyed;
	std::function<void()> fAction;
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
	auto producer = make_endpoint<HookLogProducer>();
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
	auto producer = make_endpoint<HookLogProducer>();
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


// The first consumer drops the last reference to the second while the spray
// is on its way to both: the second gets nothing more and is gone by the time
// the spray returns.
TEST(MidiProducerTest, ConsumerReleasedByAnotherDuringASprayGetsNoMore)
{
	std::atomic<int> firstNotes = 0;
	std::atomic<int> secondNotes = 0;
	std::atomic<bool> firstDestroyed = false;
	std::atomic<bool> secondDestroyed = false;
	auto producer = make_endpoint<BMidiLocalProducer>();
	BMidiLocalConsumer* second = new ActingConsumer(&secondNotes,
		&secondDestroyed);
	bool released = false;
	auto first = make_endpoint<ActingConsumer>(&firstNotes, &firstDestroyed,
		[&] {
			if (!released)
				second->Release();
			released = true;
		});
	producer->Connect(first.get());
	producer->Connect(second);

	producer->SprayNoteOn(0, 60, 100);

	EXPECT_EQ(1, firstNotes);
	EXPECT_EQ(0, secondNotes);
	EXPECT_TRUE(secondDestroyed);
	EXPECT_EQ(std::vector<BMidiConsumer*>{first.get()},
		connections_of(producer.get()));
	producer->SprayNoteOn(0, 61, 100);
	EXPECT_EQ(2, firstNotes);
}


// A consumer may drop the last reference to the producer that is delivering
// to it; the spray finishes without touching the producer again.
TEST(MidiProducerTest, ProducerReleasedByItsConsumerDuringASpray)
{
	std::atomic<int> notes = 0;
	std::atomic<bool> destroyed = false;
	BMidiLocalProducer* producer = new BMidiLocalProducer;
	auto consumer = make_endpoint<ActingConsumer>(&notes, &destroyed,
		[producer] { producer->Release(); });
	auto recorder = make_endpoint<BMidiRecordingConsumer>();
	producer->Connect(consumer.get());
	producer->Connect(recorder.get());

	producer->SprayNoteOn(0, 60, 100);

	EXPECT_EQ(1, notes);
	EXPECT_FALSE(destroyed);
}


// The play thread sprays without pause while the window thread keeps
// connecting consumers and dropping their last reference: none is destroyed
// while a spray still delivers to it, and none is used afterwards.
TEST(MidiProducerTest, ConsumersReleasedWhileAnotherThreadSpraysAreNotUsedAfterward)
{
	const int kConsumers = 2000;
	auto producer = make_endpoint<BMidiLocalProducer>();
	auto recorder = make_endpoint<BMidiRecordingConsumer>();
	producer->Connect(recorder.get());
	std::vector<std::atomic<int>> notes(kConsumers);
	std::vector<std::atomic<bool>> destroyed(kConsumers);
	std::atomic<bool> stop = false;
	std::atomic<bool> spraying = false;

	std::thread player([&] {
		for (int i = 0; !stop; i++) {
			producer->SprayNoteOn(0, i % 128, 100);
			spraying = true;
		}
	});
	// The connections change only once the play thread is under way, or the
	// two might never overlap.
	while (!spraying)
		std::this_thread::yield();
	for (int i = 0; i < kConsumers; i++) {
		BMidiLocalConsumer* consumer = new ActingConsumer(&notes[i],
			&destroyed[i]);
		producer->Connect(consumer);
		consumer->Release();
	}
	stop = true;
	player.join();

	for (int i = 0; i < kConsumers; i++)
		ASSERT_TRUE(destroyed[i]) << i;
	EXPECT_EQ(std::vector<BMidiConsumer*>{recorder.get()},
		connections_of(producer.get()));
	EXPECT_GT(recorder->CountEvents(), 0);
}


// A hook that unwinds the thread (as kill_thread does) still ends the spray:
// a consumer released afterwards is destroyed at once.
TEST(MidiProducerTest, SprayUnwoundByAHookStillEnds)
{
	std::atomic<int> notes = 0;
	std::atomic<bool> throwerDestroyed = false;
	auto producer = make_endpoint<BMidiLocalProducer>();
	auto thrower = make_endpoint<ActingConsumer>(&notes, &throwerDestroyed,
		[] { throw std::runtime_error("unwound"); });
	producer->Connect(thrower.get());

	EXPECT_THROW(producer->SprayNoteOn(0, 60, 100), std::runtime_error);

	std::atomic<bool> destroyed = false;
	BMidiLocalConsumer* consumer = new ActingConsumer(&notes, &destroyed);
	producer->Connect(consumer);
	consumer->Release();
	EXPECT_TRUE(destroyed);
}
