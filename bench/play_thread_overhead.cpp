// The play thread's own cost per event: a whole song on free-running virtual
// time, whose sleeps cost nothing, into an endpoint nobody listens to.

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>

#include <DataIO.h>
#include <Looper.h>
#include <Message.h>
#include <VirtualClock.h>

#include "SongEndWaiter.h"
#include "DenseSong.h"
#include "SMFProducer.h"
#include "SongEndCode.h"
#include "SMFTrack.h"

namespace {

void
PlayDenseSong(benchmark::State& state)
{
	smf::Bytes bytes = DenseSong(state.range(0), state.range(1));
	SongEndWaiter* waiter = new SongEndWaiter;
	waiter->Run();
	TSMFProducer song;
	song.SetMessage(new BMessage(kMsgSongEnded));
	song.SetTarget(waiter);

	size_t events = 0;
	for (auto _ : state) {
		state.PauseTiming();
		BVirtualClock clock(0);
		BClock* previous = set_current_clock(&clock);
		BMemoryIO stream(bytes.data(), bytes.size());
		song.SetTo(&stream);
		events = 0;
		for (int32 i = 0; i < song.CountTracks(); i++)
			events += song.TrackAt(i)->CountEvents();
		state.ResumeTiming();

		song.Play();
		waiter->WaitForEnd();

		state.PauseTiming();
		song.Stop();
		set_current_clock(previous);
		state.ResumeTiming();
	}
	state.counters["events"] = events;
	// Seconds per event.
	state.counters["per_event"] = benchmark::Counter(double(events),
		benchmark::Counter::kIsIterationInvariantRate
			| benchmark::Counter::kInvert);
	waiter->Lock();
	waiter->Quit();
}

}	// namespace


// Bytes of song, tracks.
BENCHMARK(PlayDenseSong)->Args({1 << 20, 1})->Args({1 << 20, 16})
	->Args({1 << 20, 64})->Unit(benchmark::kMillisecond)->UseRealTime();
