#include <gtest/gtest.h>

#include <DataIO.h>

#include "SMFBuilder.h"
#include "SMFTrack.h"

namespace {

struct LoadedTrack {
	explicit LoadedTrack(const smf::Track& source)
		:
		chunk(source.Chunk()),
		track(NULL)
	{
		BMemoryIO stream(chunk.data(), chunk.size());
		status = track.SetTo(&stream);
	}

	// Ticks and positions of the indexed events, in index order.
	std::vector<std::pair<uint32, uint32>> Events() const
	{
		std::vector<std::pair<uint32, uint32>> events;
		for (size_t i = 0; i < track.CountEvents(); i++)
			events.emplace_back(track.EventAt(i).tick, track.EventAt(i).position);
		return events;
	}

	smf::Bytes chunk;
	TSMFTrack track;
	status_t status;
};

typedef std::vector<std::pair<uint32, uint32>> EventList;

}	// namespace


TEST(SMFTrackTest, EqualTicksKeepFileOrder)
{
	smf::Track source;
	source.Event(0, {0xB0, 7, 100}).Event(0, {0xC0, 5}).NoteOn(0, 0, 60, 90)
		.NoteOn(10, 0, 62, 90).End();
	LoadedTrack loaded(source);
	ASSERT_EQ(0, loaded.status);
	EXPECT_EQ((EventList{{0, 1}, {0, 5}, {0, 8}, {10, 12}, {10, 16}}),
		loaded.Events());
	EXPECT_EQ(10u, loaded.track.CountTicks());
}


TEST(SMFTrackTest, StatusOfEventsWithoutStatusByte)
{
	// The event under test is always the data bytes 3E 40 at tick 20.
	struct Case {
		const char* name;
		smf::Track before;
		uint8 status;
	};
	const Case cases[] = {
		{"after a Note On", smf::Track().NoteOn(0, 1, 60, 64), 0x91},
		{"after a meta event", smf::Track().NoteOn(0, 1, 60, 64)
			.Meta(5, 0x01, {'x'}), 0x91},
		{"after System Exclusive", smf::Track().Event(0, {0xC2, 3})
			.SysEx(5, {0x7E, 0x7F, 0x09, 0x01, 0xF7}), 0xC2},
		{"after an F7 escape", smf::Track().NoteOn(0, 3, 60, 64)
			.Event(5, {0xF7, 0x02, 0xF8, 0xFA}), 0x93},
		{"before any channel status", smf::Track().Meta(0, 0x01, {'x'}), 0x00},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		smf::Track source = test.before;
		size_t position = source.Body().size() + 1;
		source.Event(20, {0x3E, 0x40}).End(0);
		LoadedTrack loaded(source);
		ASSERT_EQ(0, loaded.status);
		EXPECT_EQ(test.status, loaded.track.StatusAt(position));
		bool indexed = false;
		for (auto [tick, eventPosition] : loaded.Events())
			indexed |= eventPosition == position;
		EXPECT_TRUE(indexed);
	}
}


TEST(SMFTrackTest, EscapeEventSkipsItsCountedBytes)
{
	// Read without its count, F7's bytes would pass for a Note On.
	smf::Track source;
	source.Event(0, {0xF7, 0x03, 0x90, 0x3C, 0x40}).NoteOff(4, 0, 60).End();
	LoadedTrack loaded(source);
	ASSERT_EQ(0, loaded.status);
	EXPECT_EQ((EventList{{0, 1}, {4, 7}, {4, 11}}), loaded.Events());
}


TEST(SMFTrackTest, WalkStaysInsideTheBody)
{
	struct Case {
		const char* name;
		smf::Bytes body;
		EventList events;
	};
	const Case cases[] = {
		// 90 3C FF, then 2F is a delta and 00 a data byte one short.
		{"truncated channel data", {0x00, 0x90, 0x3C, 0xFF, 0x2F, 0x00},
			{{0, 1}}},
		{"meta length past the end", {0x00, 0xC0, 0x01, 0x00, 0xFF, 0x01, 0x7F,
			0xFF, 0x2F, 0x00}, {{0, 1}}},
		{"System Exclusive count past the end", {0x00, 0xF0, 0xFF, 0x2F, 0x00},
			{}},
		{"delta is the last byte", {0x00, 0xF1, 0xFF, 0x2F, 0x00},
			{{0, 1}, {16303, 4}}},
		// Without a status the byte is an event that sends nothing, and the
		// walk goes on from it.
		{"data bytes before any status", {0x00, 0x3C, 0x00, 0xFF, 0x2F, 0x00},
			{{0, 1}, {60, 2}, {60, 3}}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		LoadedTrack loaded(smf::Track().Raw(test.body));
		ASSERT_EQ(0, loaded.status);
		EXPECT_EQ(test.events, loaded.Events());
	}
}


TEST(SMFTrackTest, WrappedTicksStayInTickOrder)
{
	smf::Track source;
	source.NoteOn(0xFFFFFFF0, 0, 60, 64).NoteOff(0x20, 0, 60).End();
	LoadedTrack loaded(source);
	ASSERT_EQ(0, loaded.status);
	EXPECT_EQ((EventList{{0x10, 9}, {0x10, 13}, {0xFFFFFFF0, 5}}),
		loaded.Events());
	EXPECT_EQ(0xFFFFFFF0u, loaded.track.CountTicks());
}


TEST(SMFTrackTest, CursorAndWaitTick)
{
	smf::Track source;
	source.NoteOn(0, 0, 60, 64).NoteOn(100, 0, 61, 64).NoteOn(0, 0, 62, 64)
		.End(200);
	LoadedTrack loaded(source);
	ASSERT_EQ(0, loaded.status);
	TSMFTrack& track = loaded.track;

	EXPECT_EQ(100u, track.WaitTick(0));
	EXPECT_EQ(200u, track.WaitTick(100));
	EXPECT_EQ(150u, track.WaitTick(150));
	EXPECT_EQ(UINT32_MAX, track.WaitTick(300));

	// The answer comes from the whole index, wherever the cursor stands.
	track.SetCurrentTick(150);
	EXPECT_EQ(100u, track.WaitTick(0));
	EXPECT_EQ(150u, track.WaitTick(150));
	track.SetCurrentTick(301);
	EXPECT_EQ(100u, track.WaitTick(0));
}


// A seek takes the output port and the Set Tempo of the events it skips.
TEST(SMFTrackTest, SeekTakesTheSettingsBeforeTheNewTick)
{
	smf::Track settings;
	settings.Tempo(0, 400000).Port(100, 1).Meta(0, 0x51, {1, 2})
		.Tempo(100, 300000).Port(0, 0).End(100);
	// Wrapped ticks put the second Set Tempo first in play order.
	smf::Track wrapped;
	wrapped.Tempo(0xFFFFFFF0, 111111).Tempo(0x20, 222222).End();
	// A tempo of 0: no Set Tempo before the cursor.
	struct Case {
		const smf::Track* source;
		uint32 tick;
		int32 port;
		uint32 tempoTick;
		uint32 tempo;
	};
	const Case cases[] = {
		{&settings, 0, 0, 0, 0},
		{&settings, 1, 0, 0, 400000},
		{&settings, 100, 0, 0, 400000},
		// A Set Tempo too short to hold a tempo sets none.
		{&settings, 101, 1, 0, 400000},
		{&settings, 201, 0, 200, 300000},
		{&wrapped, 0x10, 0, 0, 0},
		{&wrapped, 0x11, 0, 0x10, 222222},
		{&wrapped, 0xFFFFFFFF, 0, 0xFFFFFFF0, 111111},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message() << "tick " << test.tick);
		LoadedTrack loaded(*test.source);
		ASSERT_EQ(0, loaded.status);
		loaded.track.SetCurrentTick(test.tick);
		EXPECT_EQ(test.port, loaded.track.OutputPort());
		uint32 tempoTick = 0;
		uint32 tempo = 0;
		EXPECT_EQ(test.tempo != 0,
			loaded.track.TempoBeforeCursor(&tempoTick, &tempo));
		EXPECT_EQ(test.tempoTick, tempoTick);
		EXPECT_EQ(test.tempo, tempo);
	}
}


TEST(SMFTrackTest, EmptyTrackNameGivesNone)
{
	std::string name = "unchanged";
	LoadedTrack unnamed(smf::Track().NoteOn(0, 0, 60, 1).End());
	EXPECT_EQ(-1, unnamed.track.GetTrackName(&name));
	LoadedTrack empty(smf::Track().Name(0, "").Name(5, "Later").End());
	EXPECT_EQ(-1, empty.track.GetTrackName(&name));
	EXPECT_EQ("unchanged", name);
	LoadedTrack named(smf::Track().NoteOn(0, 0, 60, 1).Name(0, "Flute")
		.Name(0, "Oboe").End());
	EXPECT_EQ(0, named.track.GetTrackName(&name));
	EXPECT_EQ("Flute", name);
}
