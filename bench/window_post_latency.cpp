// Time from posting a message to a window until its handler runs, with the
// GUI idle: the main thread sleeps in Qt's event loop, another thread posts
// a message stamped with the time, and the window's handler measures how
// long it took to run. Reports the median and the 99th percentile.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include <QEventLoop>

#include <Message.h>
#include <Window.h>

#include "InterfaceKit.h"

namespace {

using Clock = std::chrono::steady_clock;


int64
now_ns()
{
	return std::chrono::duration_cast<std::chrono::nanoseconds>(
		Clock::now().time_since_epoch()).count();
}


class TimedWindow : public BWindow {
public:
	TimedWindow()
		: BWindow(BRect(10, 10, 109, 109), "latency", B_TITLED_WINDOW, 0) {}

	void MessageReceived(BMessage* message) override
	{
		if (message->what != 'time') {
			BWindow::MessageReceived(message);
			return;
		}
		latency = now_ns() - message->FindInt64("sent");
		if (loop != NULL)
			loop->quit();
	}

	QEventLoop* loop = NULL;
	int64 latency = 0;
};


// Posts one stamped message each time it is asked to, from its own thread.
class Poster {
public:
	explicit Poster(BWindow* window)
		: fWindow(window), fThread([this] { _Run(); }) {}

	~Poster()
	{
		{
			std::lock_guard<std::mutex> guard(fLock);
			fStop = true;
		}
		fWake.notify_one();
		fThread.join();
	}

	void Request()
	{
		{
			std::lock_guard<std::mutex> guard(fLock);
			fPending = true;
		}
		fWake.notify_one();
	}

private:
	void _Run()
	{
		std::unique_lock<std::mutex> lock(fLock);
		while (true) {
			fWake.wait(lock, [this] { return fPending || fStop; });
			if (fStop)
				return;
			fPending = false;
			lock.unlock();
			// Let the main thread fall asleep in the event loop first.
			std::this_thread::sleep_for(std::chrono::microseconds(300));
			BMessage message('time');
			message.AddInt64("sent", now_ns());
			fWindow->PostMessage(&message);
			lock.lock();
		}
	}

	BWindow* fWindow;
	std::mutex fLock;
	std::condition_variable fWake;
	bool fPending = false;
	bool fStop = false;
	std::thread fThread;
};


void
BM_WindowPostLatency(benchmark::State& state)
{
	static int argc = 1;
	static char name[] = "bench_window_post_latency";
	static char* argv[] = {name, NULL};
	BPrivate::init_interface_kit(argc, argv);

	TimedWindow* window = new TimedWindow;
	window->Show();
	{
		QEventLoop settle;
		settle.processEvents(QEventLoop::AllEvents);
	}

	std::vector<int64> latencies;
	{
		Poster poster(window);
		for (auto _ : state) {
			QEventLoop loop;
			window->loop = &loop;
			poster.Request();
			loop.exec();
			window->loop = NULL;
			latencies.push_back(window->latency);
			state.SetIterationTime(window->latency / 1e9);
		}
	}
	if (window->Lock())
		window->Quit();

	std::sort(latencies.begin(), latencies.end());
	if (!latencies.empty()) {
		state.counters["median_us"] = latencies[latencies.size() / 2] / 1000.0;
		state.counters["p99_us"] = latencies[latencies.size() * 99 / 100] / 1000.0;
	}
}

BENCHMARK(BM_WindowPostLatency)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

}
