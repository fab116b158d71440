#include "TempoMap.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "SMFProducer.h"
#include "SMFTrack.h"

namespace {

// What a song without a Set Tempo at its start plays at (120 beats a minute).
const uint32 kDefaultTempo = 500000;

}	// namespace


TTempoMap::TTempoMap()
	:
	fSpans{{0, kDefaultTempo, 0}},
	fDivision(0)
{
}


void
TTempoMap::SetTo(const TSMFProducer& song)
{
	// The division is read as the sequencer reads it when it plays.
	fDivision = uint16(song.Division());
	std::vector<std::pair<uint32, uint32>> changes;
	for (int32 index = 0; index < song.CountTracks(); index++) {
		const std::vector<std::pair<uint32, uint32>> track
			= song.TrackAt(index)->TempoChanges();
		changes.insert(changes.end(), track.begin(), track.end());
	}
	// Equal ticks play in track order, so a later track's change wins.
	std::stable_sort(changes.begin(), changes.end(),
		[](const auto& a, const auto& b) { return a.first < b.first; });

	fSpans.assign(1, {0, kDefaultTempo, 0});
	for (const auto& [tick, tempo] : changes) {
		if (tick != fSpans.back().tick)
			fSpans.push_back({tick, tempo, TimeAt(tick)});
		else
			fSpans.back().tempo = tempo;
	}
}


bigtime_t
TTempoMap::TimeAt(uint32 tick) const
{
	if (fDivision == 0)
		return 0;
	const Span& span = *(std::upper_bound(fSpans.begin(), fSpans.end(), tick,
		[](uint32 value, const Span& entry) { return value < entry.tick; }) - 1);
	// Below 2^56: 32-bit ticks times a 24-bit tempo.
	return span.time + bigtime_t(uint64(tick - span.tick) * span.tempo / fDivision);
}


uint32
TTempoMap::TickAt(bigtime_t time) const
{
	if (fDivision == 0 || time <= 0)
		return 0;
	// Far past any song (years), and keeps the product below within 64 bits.
	time = std::min<bigtime_t>(time, bigtime_t(1) << 46);
	const Span& span = *(std::upper_bound(fSpans.begin(), fSpans.end(), time,
		[](bigtime_t value, const Span& entry) { return value < entry.time; }) - 1);
	if (span.tempo == 0)
		return span.tick;
	// Rounded up, so that the tick's own time is not before `time`.
	const uint64 ticks = (uint64(time - span.time) * fDivision + span.tempo - 1) / span.tempo;
	return uint32(std::min<uint64>(span.tick + ticks, std::numeric_limits<uint32>::max()));
}
