#ifndef TESTS_PLATFORM_KERNEL_WATCHDOG_H
#define TESTS_PLATFORM_KERNEL_WATCHDOG_H

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

// Ends the test program when a test hangs, instead of leaving it to the
// CTest timeout: a thread test that deadlocks cannot fail any other way.
class Watchdog {
public:
	explicit Watchdog(std::chrono::seconds limit = std::chrono::seconds(20))
		:
		fThread([this, limit] {
			std::unique_lock<std::mutex> lock(fLock);
			if (!fDone.wait_for(lock, limit, [this] { return fDismissed; })) {
				fprintf(stderr, "watchdog: test hung, aborting\n");
				std::abort();
			}
		})
	{
	}

	~Watchdog()
	{
		{
			std::lock_guard<std::mutex> lock(fLock);
			fDismissed = true;
		}
		fDone.notify_all();
		fThread.join();
	}

private:
	std::mutex fLock;
	std::condition_variable fDone;
	bool fDismissed = false;
	std::thread fThread;
};

// Polls `condition` until it holds or `limit` passes. For states that give
// no notification (a thread reaching a sleep); the limit is a watchdog, not
// a timing expectation.
inline bool eventually(const std::function<bool()>& condition,
	std::chrono::milliseconds limit = std::chrono::milliseconds(10000))
{
	auto end = std::chrono::steady_clock::now() + limit;
	while (!condition()) {
		if (std::chrono::steady_clock::now() > end)
			return false;
		std::this_thread::sleep_for(std::chrono::microseconds(200));
	}
	return true;
}

#endif
