#include "Thread.h"

namespace pelkan {

TThread::TThread(const char* name, int32 priority)
	:
	fTerminateRequest(false),
	fThread(-1),
	fAutoDelete(false),
	fTerminated(false)
{
	fThread = spawn_thread(&TThread::RunThread, name, priority, this);
}


TThread::~TThread()
{
	// An auto-deleting thread destroys itself from its own body's end.
	if (fThread < 0 || fThread == find_thread(NULL))
		return;
	kill_thread(fThread);
	status_t result;
	wait_for_thread(fThread, &result);
}


bool
TThread::Resume()
{
	return resume_thread(fThread) == B_OK;
}


bool
TThread::Suspend()
{
	return suspend_thread(fThread) == B_OK;
}


bool
TThread::Wait()
{
	status_t result;
	wait_for_thread(fThread, &result);
	return true;
}


bool
TThread::Terminate()
{
	fTerminateRequest = true;
	return true;
}


bool
TThread::SetName(const char* name)
{
	return rename_thread(fThread, name) == B_OK;
}


void
TThread::SetAutoDelete(bool autoDelete)
{
	fAutoDelete = autoDelete;
}


bool
TThread::IsTerminated() const
{
	return fTerminated;
}


bool
TThread::IsSuspended() const
{
	thread_info info;
	return get_thread_info(fThread, &info) == B_OK
		&& info.state == B_THREAD_SUSPENDED;
}


bool
TThread::IsTerminateRequested() const
{
	return fTerminateRequest;
}


status_t
TThread::RunThread(void* data)
{
	TThread* thread = static_cast<TThread*>(data);
	status_t result = thread->Execute();
	thread->fTerminated = true;
	if (thread->fAutoDelete)
		delete thread;
	return result;
}

}	// namespace pelkan
