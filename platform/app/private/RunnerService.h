#ifndef _RUNNER_SERVICE_H
#define _RUNNER_SERVICE_H

#include <memory>
#include <mutex>
#include <unordered_map>

#include <Message.h>
#include <Messenger.h>
#include <OS.h>

namespace BPrivate {

// The one thread that sends the messages of every BMessageRunner.
//
// It sleeps with snooze_until until the earliest deadline; a change that
// needs an earlier wake interrupts that sleep. The thread ends when no
// runner is armed, and the next runner starts a new one.
class RunnerService {
public:
	static RunnerService& Default();

	// Returns the runner's token, or an error.
	int32 Add(const BMessenger& target, const BMessage& message,
		const BMessenger& replyTo, bigtime_t interval, int32 count);
	// When this returns, the runner sends nothing any more.
	void Remove(int32 token);

	status_t SetInterval(int32 token, bigtime_t interval);
	status_t SetCount(int32 token, int32 count);
	status_t GetInfo(int32 token, bigtime_t* interval, int32* count);

private:
	struct Runner {
		BMessenger target;
		BMessage message;
		BMessenger replyTo;
		bigtime_t interval;
		int32 count;
		bigtime_t next;
	};

	RunnerService();

	// Makes sure a thread sleeps no longer than until `deadline`. Called
	// with fMutex held.
	status_t _Wake(bigtime_t deadline);
	static status_t _Thread(void* data);
	bigtime_t _SendDue(bigtime_t now);

	std::mutex fMutex;
	std::unordered_map<int32, Runner> fRunners;
	int32 fNextToken;
	thread_id fThread;
	bigtime_t fSleepingUntil;
};

}

#endif
