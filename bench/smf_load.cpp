// Loading speed and memory of the SMF reader.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <DataIO.h>

#include "DenseSong.h"
#include "SMFProducer.h"
#include "SMFTrack.h"

namespace {

size_t
HeapInUse()
{
	return mallinfo2().uordblks + mallinfo2().hblkhd;
}


void
LoadDenseSong(benchmark::State& state)
{
	smf::Bytes bytes = DenseSong(state.range(0));
	TSMFProducer song;
	for (auto _ : state) {
		BMemoryIO stream(bytes.data(), bytes.size());
		if (song.SetTo(&stream) != 0)
			state.SkipWithError("the song did not load");
	}
	state.SetBytesProcessed(state.iterations() * bytes.size());

	// What the song holds beyond its own bytes: the index and status runs.
	song.Unset();
	size_t before = HeapInUse();
	BMemoryIO stream(bytes.data(), bytes.size());
	song.SetTo(&stream);
	size_t after = HeapInUse();
	size_t events = 0;
	for (int32 i = 0; i < song.CountTracks(); i++)
		events += song.TrackAt(i)->CountEvents();
	state.counters["events"] = events;
	state.counters["extra_bytes_per_file_byte"]
		= (double(after - before) - bytes.size()) / bytes.size();
}

}	// namespace


BENCHMARK(LoadDenseSong)->Arg(100 << 10)->Arg(1 << 20)->Arg(5 << 20)
	->Arg(10 << 20)->Unit(benchmark::kMillisecond);
