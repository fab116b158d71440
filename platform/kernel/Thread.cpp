#include <OS.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

#include <pthread.h>
#include <unistd.h>

#include <InterruptSleep.h>
#include <RecordedPriority.h>

#include "private/ThreadRecord.h"

using BPrivate::ThreadEndRequest;
using BPrivate::ThreadRecord;
using BPrivate::ThreadState;

namespace {

// Results of threads that ended by themselves wait here for wait_for_thread,
// but only the latest few: threads nobody waits for must not pile up.
const size_t kKeptResults = 64;

const int32 kLowestPriority = 1;

// Never destroyed, so that threads still running at exit can use it.
struct Registry {
	std::mutex lock;
	std::unordered_map<thread_id, std::shared_ptr<ThreadRecord>> threads;
	std::deque<thread_id> finished;
	thread_id nextID = 1;
};

Registry& registry()
{
	static Registry* registry = new Registry;
	return *registry;
}

std::shared_ptr<ThreadRecord> add_thread(bool spawned, const char* name,
	int32 priority, thread_func function, void* data)
{
	Registry& threads = registry();
	std::lock_guard<std::mutex> lock(threads.lock);
	thread_id id = threads.nextID++;
	auto record = std::make_shared<ThreadRecord>(id, spawned, name, priority,
		function, data);
	threads.threads.emplace(id, record);
	return record;
}

std::shared_ptr<ThreadRecord> find_record(thread_id id)
{
	Registry& threads = registry();
	std::lock_guard<std::mutex> lock(threads.lock);
	auto found = threads.threads.find(id);
	return found != threads.threads.end() ? found->second : nullptr;
}

void forget_thread(thread_id id)
{
	Registry& threads = registry();
	std::lock_guard<std::mutex> lock(threads.lock);
	threads.threads.erase(id);
}

void keep_result(thread_id id)
{
	Registry& threads = registry();
	std::lock_guard<std::mutex> lock(threads.lock);
	threads.finished.push_back(id);
	if (threads.finished.size() > kKeptResults) {
		threads.threads.erase(threads.finished.front());
		threads.finished.pop_front();
	}
}

// The calling thread's record. The pointer is a plain thread-local, so that
// code running after the thread's thread-local objects are gone (static
// destructors on the main thread) still finds it; the owner below keeps it
// alive until then.
thread_local ThreadRecord* sCurrentRecord = NULL;
thread_local bool sOwnerGone = false;

// A thread that was not spawned here ends its record together with itself;
// the main thread's lives on until the process ends.
struct RecordOwner {
	~RecordOwner()
	{
		sOwnerGone = true;
		if (record == nullptr || gettid() == getpid())
			return;
		if (!record->IsSpawned()) {
			record->Finish(B_OK);
			forget_thread(record->ID());
		}
		sCurrentRecord = NULL;
	}

	std::shared_ptr<ThreadRecord> record;
};

thread_local RecordOwner sOwner;

void make_current(const std::shared_ptr<ThreadRecord>& record)
{
	sCurrentRecord = record.get();
	// Late in a thread's exit, only the registry keeps the record.
	if (!sOwnerGone)
		sOwner.record = record;
}

bool is_current(const std::shared_ptr<ThreadRecord>& record)
{
	return sCurrentRecord == record.get();
}

int32 clamp_priority(int32 priority)
{
	return std::clamp(priority, kLowestPriority, static_cast<int32>(B_REAL_TIME_PRIORITY));
}

void* thread_entry(void* argument)
{
	std::unique_ptr<std::shared_ptr<ThreadRecord>> handoff(
		static_cast<std::shared_ptr<ThreadRecord>*>(argument));
	std::shared_ptr<ThreadRecord> record = std::move(*handoff);
	make_current(record);
	record->Start();

	status_t result = B_INTERRUPTED;
	try {
		record->AwaitResume();
		record->ThrowIfEndRequested();
		result = record->Function()(record->Data());
	} catch (const ThreadEndRequest&) {
		// kill_thread ended the thread; the stack is unwound.
	}
	record->Finish(result);
	keep_result(record->ID());
	return NULL;
}

}	// namespace

std::shared_ptr<ThreadRecord> ThreadRecord::Current()
{
	if (sCurrentRecord == NULL) {
		char name[B_OS_NAME_LENGTH] = {};
		pthread_getname_np(pthread_self(), name, sizeof(name));
		std::shared_ptr<ThreadRecord> record
			= add_thread(false, name, B_NORMAL_PRIORITY, NULL, NULL);
		record->Start();
		make_current(record);
	}
	return sCurrentRecord->shared_from_this();
}

thread_id spawn_thread(thread_func function, const char* name, int32 priority,
	void* data)
{
	if (function == NULL)
		return B_BAD_VALUE;
	std::shared_ptr<ThreadRecord> record = add_thread(true,
		name != NULL ? name : "user thread", clamp_priority(priority), function, data);

	// Detached: the record, not the POSIX thread, carries the result to
	// wait_for_thread, so a thread nobody waits for leaves nothing behind.
	pthread_attr_t attributes;
	pthread_attr_init(&attributes);
	pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
	auto handoff = std::make_unique<std::shared_ptr<ThreadRecord>>(record);
	pthread_t thread;
	int error = pthread_create(&thread, &attributes, thread_entry, handoff.get());
	pthread_attr_destroy(&attributes);
	if (error != 0) {
		forget_thread(record->ID());
		return B_NO_MORE_THREADS;
	}
	handoff.release();
	return record->ID();
}

status_t resume_thread(thread_id thread)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	return record->Resume();
}

status_t suspend_thread(thread_id thread)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr || record->State() == ThreadState::kFinished)
		return B_BAD_THREAD_ID;
	if (is_current(record)) {
		record->Suspend();
		return B_OK;
	}
	// A thread cannot be stopped safely at an arbitrary point from outside.
	return record->State() == ThreadState::kSuspended ? B_OK : B_NOT_ALLOWED;
}

status_t kill_thread(thread_id thread)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	if (!record->IsSpawned())
		return B_NOT_ALLOWED;
	if (!record->RequestEnd())
		return B_BAD_THREAD_ID;
	if (is_current(record))
		return B_OK;
	record->WaitForFinish();
	forget_thread(thread);
	return B_OK;
}

status_t wait_for_thread(thread_id thread, status_t* exitValue)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	if (is_current(record))
		return B_NOT_ALLOWED;
	if (record->State() == ThreadState::kSuspended)
		record->Resume();
	status_t result = record->WaitForFinish();
	forget_thread(thread);
	if (exitValue != NULL)
		*exitValue = result;
	return B_OK;
}

status_t rename_thread(thread_id thread, const char* newName)
{
	if (newName == NULL)
		return B_BAD_VALUE;
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	return record->Rename(newName);
}

status_t set_thread_priority(thread_id thread, int32 newPriority)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	return record->SetPriority(clamp_priority(newPriority));
}

thread_id find_thread(const char* name)
{
	// Asked on every lock and unlock: a known thread needs no reference.
	if (name == NULL) {
		if (sCurrentRecord != NULL)
			return sCurrentRecord->ID();
		return ThreadRecord::Current()->ID();
	}
	Registry& threads = registry();
	std::lock_guard<std::mutex> lock(threads.lock);
	thread_id found = B_NAME_NOT_FOUND;
	for (const auto& [id, record] : threads.threads) {
		if ((found < 0 || id < found) && record->State() != ThreadState::kFinished
			&& record->HasName(name))
			found = id;
	}
	return found;
}

status_t get_thread_info(thread_id thread, thread_info* info)
{
	if (info == NULL)
		return B_BAD_VALUE;
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr)
		return B_BAD_THREAD_ID;
	return record->GetInfo(info);
}

status_t BPrivate::interrupt_sleep(thread_id thread)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr || record->State() == ThreadState::kFinished)
		return B_BAD_THREAD_ID;
	record->Interrupt();
	return B_OK;
}

status_t BPrivate::keep_thread_priority_recorded(thread_id thread)
{
	std::shared_ptr<ThreadRecord> record = find_record(thread);
	if (record == nullptr || record->State() == ThreadState::kFinished)
		return B_BAD_THREAD_ID;
	record->KeepPriorityRecorded();
	return B_OK;
}
