// Post-to-dispatch latency between two loopers: looper A posts a message
// stamped with the time to looper B, and B's handler measures how long it
// took to be dispatched. Reports the median and the 99th percentile.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <benchmark/benchmark.h>

#include <Looper.h>
#include <Message.h>

namespace {

using Clock = std::chrono::steady_clock;


int64
now_ns()
{
	return std::chrono::duration_cast<std::chrono::nanoseconds>(
		Clock::now().time_since_epoch()).count();
}


// Receives the stamped messages and hands each latency to the benchmark.
class Receiver : public BLooper {
public:
	Receiver() : BLooper("receiver") {}

	void MessageReceived(BMessage* message) override
	{
		const int64 latency = now_ns() - message->FindInt64("sent");
		{
			std::lock_guard<std::mutex> guard(fLock);
			fLatency = latency;
		}
		fArrived.notify_one();
	}

	int64 TakeLatency()
	{
		std::unique_lock<std::mutex> lock(fLock);
		fArrived.wait(lock, [this] { return fLatency >= 0; });
		int64 latency = fLatency;
		fLatency = -1;
		return latency;
	}

private:
	std::mutex fLock;
	std::condition_variable fArrived;
	int64 fLatency = -1;
};


// Posts to the receiver from its own looper thread, as windows and the
// application do.
class Sender : public BLooper {
public:
	Sender(Receiver* receiver) : BLooper("sender"), fReceiver(receiver) {}

	void MessageReceived(BMessage*) override
	{
		BMessage stamped('lat ');
		stamped.AddInt64("sent", now_ns());
		fReceiver->PostMessage(&stamped);
	}

private:
	Receiver* fReceiver;
};


double
percentile(std::vector<int64>& samples, double fraction)
{
	size_t index = std::min(samples.size() - 1,
		(size_t)(fraction * (double)samples.size()));
	std::nth_element(samples.begin(), samples.begin() + index, samples.end());
	return (double)samples[index] / 1000.0;
}


void
BM_PostToDispatch(benchmark::State& state)
{
	Receiver* receiver = new Receiver;
	Sender* sender = new Sender(receiver);
	receiver->Run();
	sender->Run();

	std::vector<int64> samples;
	for (auto _ : state) {
		sender->PostMessage('go  ');
		const int64 latency = receiver->TakeLatency();
		samples.push_back(latency);
		state.SetIterationTime((double)latency / 1e9);
	}

	state.counters["median_us"] = percentile(samples, 0.5);
	state.counters["p99_us"] = percentile(samples, 0.99);

	for (BLooper* looper : {(BLooper*)sender, (BLooper*)receiver}) {
		if (looper->Lock())
			looper->Quit();
	}
}

}

BENCHMARK(BM_PostToDispatch)->UseManualTime()->Iterations(20000)
	->Unit(benchmark::kMicrosecond);
