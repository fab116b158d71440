#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <DataIO.h>

#include "SMFBuilder.h"
#include "SMFProducer.h"
#include "TempoMap.h"

namespace {

struct TickTime {
	uint32 tick;
	bigtime_t time;
};


TEST(TempoMapTest, TimesFollowEveryTempoChangeOfTheSong)
{
	const struct {
		const char* name;
		std::vector<smf::Track> tracks;
		uint16 division;
		std::vector<TickTime> expected;
	} cases[] = {
		{"no tempo plays at 120 beats a minute",
			{smf::Track().NoteOn(0, 0, 60, 90).NoteOff(960, 0, 60).End()}, 480,
			{{0, 0}, {480, 500000}, {960, 1000000}, {1, 1041}}},
		{"a change later in the song",
			{smf::Track().Tempo(0, 1000000).Tempo(480, 250000).End(960)}, 480,
			{{240, 500000}, {480, 1000000}, {960, 1250000}}},
		{"a change in a track after the first",
			{smf::Track().NoteOn(0, 0, 60, 90).NoteOff(960, 0, 60).End(),
				smf::Track().Tempo(480, 1000000).End()}, 96,
			{{96, 500000}, {480, 2500000}, {576, 3500000}}},
		{"at equal ticks the later track wins",
			{smf::Track().Tempo(0, 250000).End(480),
				smf::Track().Tempo(0, 2000000).End(480)}, 480,
			{{480, 2000000}}},
		{"a tempo of zero takes no time",
			{smf::Track().Tempo(0, 0).Tempo(480, 500000).End(480)}, 480,
			{{480, 0}, {960, 500000}}},
		{"a division of zero",
			{smf::Track().NoteOn(0, 0, 60, 90).NoteOff(960, 0, 60).End()}, 0,
			{{960, 0}}},
	};
	for (const auto& entry : cases) {
		SCOPED_TRACE(entry.name);
		const smf::Bytes bytes = smf::File(entry.tracks, entry.division);
		BMemoryIO stream(bytes.data(), bytes.size());
		TSMFProducer song;
		song.SetTo(&stream);
		TTempoMap map;
		map.SetTo(song);
		for (const TickTime& point : entry.expected) {
			EXPECT_EQ(map.TimeAt(point.tick), point.time) << "tick " << point.tick;
			if (entry.division != 0 && point.time > 0 && point.tick > 0) {
				EXPECT_EQ(map.TickAt(point.time), point.tick) << "time " << point.time;
			}
		}
	}
}


// A seek between two ticks lands on the later one, never before the time
// asked for; times outside the song stay within the tick range.
TEST(TempoMapTest, TicksOfTimesBetweenTicksAndOutsideTheSong)
{
	const smf::Bytes bytes = smf::File({smf::Track().Tempo(0, 500000).End(960)}, 480);
	BMemoryIO stream(bytes.data(), bytes.size());
	TSMFProducer song;
	song.SetTo(&stream);
	TTempoMap map;
	map.SetTo(song);
	EXPECT_EQ(map.TickAt(1040), 1u);
	EXPECT_EQ(map.TickAt(1042), 2u);
	EXPECT_EQ(map.TickAt(-5), 0u);
	// No overflow wraps a far time round to the song's start.
	EXPECT_GT(map.TickAt(INT64_MAX), 1000000u);
	TSMFProducer empty;
	map.SetTo(empty);
	EXPECT_EQ(map.TimeAt(480), 0);
}

}	// namespace
