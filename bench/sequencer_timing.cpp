// How late the sequencer sends on the real clock, next to how late a bare
// clock_nanosleep loop wakes on deadlines of the same spacing. Both run at
// the same time, half a step apart, so they meet the same machine load.
//
//   bench_sequencer_timing [seconds]    (default 30)

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include <sched.h>
#include <sys/prctl.h>

#include <DataIO.h>
#include <Looper.h>
#include <Message.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <OS.h>

#include "SongEndWaiter.h"
#include "../tests/engine/SMFBuilder.h"
#include "SMFProducer.h"
#include "SongEndCode.h"

namespace {

const uint32 kTicksPerStep = 3;
// Division 480 at 120 beats per minute: 3 ticks are exactly 3125 µs.
const bigtime_t kStepTime = 3125;
const int kNotesPerStep = 4;


// Keeps the arrival time of every Note On; room is made beforehand so that
// recording never allocates on the play thread.
class ArrivalLog : public BMidiLocalConsumer {
public:
	explicit ArrivalLog(size_t expected)
	{
		fArrivals.reserve(expected);
	}

	void NoteOn(uchar, uchar, uchar, bigtime_t) override
	{
		fArrivals.push_back(system_time());
	}

	const std::vector<bigtime_t>& Arrivals() const { return fArrivals; }

private:
	std::vector<bigtime_t> fArrivals;
};


struct Summary {
	double median;
	double p99;
	double max;
	double firstTenthMedian;
	double lastTenthMedian;
};


double
Median(std::vector<bigtime_t> values)
{
	std::sort(values.begin(), values.end());
	return values[values.size() / 2];
}


Summary
Summarize(const std::vector<bigtime_t>& lateness)
{
	std::vector<bigtime_t> sorted = lateness;
	std::sort(sorted.begin(), sorted.end());
	size_t tenth = lateness.size() / 10;
	return {double(sorted[sorted.size() / 2]),
		double(sorted[std::min(sorted.size() - 1, sorted.size() * 99 / 100)]),
		double(sorted.back()),
		Median({lateness.begin(), lateness.begin() + tenth}),
		Median({lateness.end() - tenth, lateness.end()})};
}


void
Print(const char* name, const Summary& summary)
{
	printf("%-28s median %7.1f  p99 %7.1f  max %8.1f µs   "
		"first tenth %6.1f  last tenth %6.1f\n", name, summary.median,
		summary.p99, summary.max, summary.firstTenthMedian,
		summary.lastTenthMedian);
}


struct BareLoop {
	int steps;
	std::vector<bigtime_t> lateness;
	bool realTime;
};


// Runs like the play thread: same priority, same timer slack.
status_t
RunBareLoop(void* data)
{
	BareLoop* loop = static_cast<BareLoop*>(data);
	prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
	loop->realTime = sched_getscheduler(0) == SCHED_FIFO;
	bigtime_t deadline = system_time() + kStepTime / 2;
	for (int i = 0; i < loop->steps; i++) {
		deadline += kStepTime;
		timespec wake = {time_t(deadline / 1000000), long(deadline % 1000000 * 1000)};
		clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, NULL);
		loop->lateness.push_back(system_time() - deadline);
	}
	return B_OK;
}


smf::Bytes
DenseTimedSong(int steps)
{
	smf::Track first;
	smf::Track second;
	for (int i = 0; i < steps; i++) {
		uint32_t delta = i == 0 ? 0 : kTicksPerStep;
		uint8_t note = 40 + i % 40;
		first.NoteOn(delta, 0, note, 80).NoteOn(0, 0, note + 4, 80);
		second.NoteOn(delta, 1, note + 7, 80).NoteOn(0, 1, note + 12, 80);
	}
	return smf::File({first.End(), second.End()}, 480);
}

}	// namespace


int
main(int argc, char** argv)
{
	int seconds = argc > 1 ? atoi(argv[1]) : 30;
	int steps = seconds * 1000000 / kStepTime;

	smf::Bytes bytes = DenseTimedSong(steps);
	SongEndWaiter* waiter = new SongEndWaiter;
	waiter->Run();
	ArrivalLog* log = new ArrivalLog(steps * kNotesPerStep);
	TSMFProducer song;
	song.SetMessage(new BMessage(kMsgSongEnded));
	song.SetTarget(waiter);
	song.Producer(0)->Connect(log);
	BMemoryIO stream(bytes.data(), bytes.size());
	if (song.SetTo(&stream) != 0)
		return 1;
	BareLoop bare = {steps, {}, false};
	bare.lateness.reserve(steps);
	thread_id bareThread = spawn_thread(RunBareLoop, "BareLoop",
		B_URGENT_PRIORITY, &bare);
	resume_thread(bareThread);
	song.Play();
	while (!waiter->Ended())
		snooze(100000);
	song.Stop();
	status_t result;
	wait_for_thread(bareThread, &result);

	const std::vector<bigtime_t>& arrivals = log->Arrivals();
	if (arrivals.size() != size_t(steps) * kNotesPerStep)
		return 1;
	// The first step is sent without a sleep: its time is the song's start.
	bigtime_t start = arrivals[0];
	std::vector<bigtime_t> firstOfStep;
	std::vector<bigtime_t> everySend;
	for (size_t i = 0; i < arrivals.size(); i++) {
		bigtime_t late = arrivals[i] - (start + bigtime_t(i / kNotesPerStep) * kStepTime);
		everySend.push_back(late);
		if (i % kNotesPerStep == 0 && i > 0)
			firstOfStep.push_back(late);
	}

	printf("%d s, %d steps of %lld µs, %d Note Ons per step, %s\n", seconds,
		steps, (long long)kStepTime, kNotesPerStep,
		bare.realTime ? "SCHED_FIFO" : "no real-time policy");
	Summary bareSummary = Summarize(bare.lateness);
	Summary stepSummary = Summarize(firstOfStep);
	Print("bare clock_nanosleep loop", bareSummary);
	Print("sequencer, first of a step", stepSummary);
	Print("sequencer, every send", Summarize(everySend));
	printf("p99 ratio (first of a step / bare): %.2f\n",
		stepSummary.p99 / std::max(1.0, bareSummary.p99));

	song.Producer(0)->Disconnect(log);
	log->Release();
	waiter->Lock();
	waiter->Quit();
	return 0;
}
