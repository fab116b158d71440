#ifndef _PELKAN_THREAD_H
#define _PELKAN_THREAD_H

#include <atomic>

#include <OS.h>

namespace pelkan {

// A platform thread bound to an object: the thread runs Execute(). It is
// spawned suspended by the constructor and starts with Resume().
class TThread {
public:
	TThread(const char* name, int32 priority);
	// Ends the thread (it stops at its next wait) and joins it, so that the
	// object never outlives its body's use of it.
	virtual ~TThread();

	TThread(const TThread&) = delete;
	TThread& operator=(const TThread&) = delete;

	virtual status_t Execute() = 0;

	bool Resume();
	bool Suspend();
	bool Wait();
	bool Terminate();
	bool SetName(const char* name);
	void SetAutoDelete(bool autoDelete);

	bool IsTerminated() const;
	bool IsSuspended() const;
	thread_id Thread() const { return fThread; }

protected:
	bool IsTerminateRequested() const;

private:
	static status_t RunThread(void* data);

	std::atomic<bool> fTerminateRequest;
	thread_id fThread;
	std::atomic<bool> fAutoDelete;
	std::atomic<bool> fTerminated;
};

}	// namespace pelkan

#endif
