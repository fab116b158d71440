#ifndef _MIDI_REGISTRY_H
#define _MIDI_REGISTRY_H

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include <Message.h>
#include <Messenger.h>
#include <MidiDefs.h>

class BList;
class BMidiBackend;
class BMidiConsumer;
class BMidiEndpoint;
class BMidiProducer;

// The process-wide record behind BMidiRoster: endpoints, connections,
// reference counts, the watcher and the backends. One lock guards all of it.
// No lock is held while a consumer, a producer hook or a backend runs, so any
// of them may call back into the kit; an endpoint a hook still uses holds a
// reference until it is done. Created on first use and never destroyed, so
// endpoints may be released during static destruction.
//
// A spray is the hot path and takes no lock for local consumers: it reads its
// producer's route, an immutable snapshot of the connections that every change
// replaces under the lock. A replaced route is freed once every thread that
// was spraying when it was replaced has finished that spray (each spraying
// thread marks the epoch its outermost spray began in). A route pins the
// consumers it names, so one released meanwhile is destroyed only after that.
class MidiRegistry {
public:
	enum Kind { kAnyKind, kProducerKind, kConsumerKind };

	static MidiRegistry& Default();
	// The producer whose message the calling thread is delivering, or 0.
	static int32 CurrentProducer();

	int32 NewID();
	void AddLocal(BMidiEndpoint* endpoint);
	void Acquire(BMidiEndpoint* endpoint);
	status_t Release(BMidiEndpoint* endpoint);

	status_t Register(BMidiEndpoint* endpoint);
	status_t Unregister(BMidiEndpoint* endpoint);
	// owner is NULL for the program's own (local) endpoints.
	status_t Rename(BMidiEndpoint* endpoint, const char* name,
		BMidiBackend* owner);
	status_t SetProperties(BMidiEndpoint* endpoint, const BMessage* properties);
	status_t GetProperties(const BMidiEndpoint* endpoint,
		BMessage* properties);
	void SetLatency(BMidiConsumer* consumer, bigtime_t latency);

	status_t Connect(BMidiProducer* producer, BMidiConsumer* consumer);
	status_t Disconnect(BMidiProducer* producer, BMidiConsumer* consumer);
	bool IsConnected(const BMidiProducer* producer,
		const BMidiConsumer* consumer);
	BList* Connections(const BMidiProducer* producer);
	void Spray(const BMidiProducer* producer, const uchar* data, size_t length,
		bool atomic, bigtime_t time);

	BMidiEndpoint* Next(int32* id, Kind kind);
	BMidiEndpoint* Find(int32 id, bool localOnly, Kind kind);

	void StartWatching(const BMessenger& watcher);
	void StopWatching();

	status_t Attach(BMidiBackend* backend);
	void Detach(BMidiBackend* backend);
	bool IsAttached(const BMidiBackend* backend);
	BMidiEndpoint* Publish(BMidiBackend* backend, const char* name,
		bool isConsumer);
	status_t Withdraw(BMidiBackend* backend, BMidiEndpoint* endpoint);
	status_t ReportConnection(BMidiBackend* backend, BMidiProducer* producer,
		BMidiConsumer* consumer, bool connected);
	status_t SprayFromBackend(BMidiBackend* backend, BMidiProducer* producer,
		const uchar* data, size_t length, bool atomic, bigtime_t time);

private:
	typedef std::vector<BMidiConsumer*> Route;

	// What a change still owes once the lock is released: calls to make and
	// references to drop after them.
	struct Aftermath {
		std::vector<std::function<void()>> calls;
		std::vector<BMidiEndpoint*> held;
	};
	// A thread's mark: the epoch its outermost spray began in, 0 between
	// sprays. Marks are reused by later threads, never freed.
	struct SprayMark {
		std::atomic<uint64> epoch = 0;
		bool taken = false;
	};
	// Gives the thread's mark back when the thread ends.
	struct MarkKeeper {
		~MarkKeeper();

		SprayMark* mark = NULL;
	};
	struct RetiredRoute {
		const Route* route;
		// Sprays that began in this epoch or later cannot have it.
		uint64 epoch;
	};
	struct Notice {
		BMessenger target;
		BMessage message;
	};

	MidiRegistry();

	void _Finish(std::unique_lock<std::mutex>& lock, Aftermath& after);
	void _SendNotices(std::unique_lock<std::mutex>& lock);
	void _Notify(BMessage& message);
	void _NotifyEndpoint(BMidiOp op, const BMidiEndpoint* endpoint,
		BMessage& message);
	void _NotifyConnection(BMidiOp op, const BMidiProducer* producer,
		const BMidiConsumer* consumer);

	void _Hold(Aftermath& after, BMidiEndpoint* endpoint);
	static void _Unpin(BMidiEndpoint* endpoint);
	void _PublishRoute(BMidiProducer* producer);
	SprayMark* _TakeMark();
	void _FreeRetiredRoutes();
	void _DeliverRemote(BMidiProducer* producer, BMidiConsumer* consumer,
		const uchar* data, size_t length, bool atomic, bigtime_t time);
	bool _Enter(BMidiBackend* backend);
	void _Leave(BMidiBackend* backend);
	void _CallBackend(Aftermath& after, BMidiBackend* backend,
		std::function<void(BMidiBackend*)> call);
	void _CallBackends(Aftermath& after,
		const std::function<void(BMidiBackend*)>& call);
	void _TellLocalChange(Aftermath& after, BMidiEndpoint* endpoint,
		BMidiOp change);
	void _CallProducer(Aftermath& after, BMidiProducer* producer,
		BMidiConsumer* consumer, bool connected);

	status_t _Owner(const BMidiProducer* producer,
		const BMidiConsumer* consumer, BMidiBackend** owner) const;
	bool _IsConnected(const BMidiProducer* producer,
		const BMidiConsumer* consumer) const;
	void _AddConnection(Aftermath& after, BMidiProducer* producer,
		BMidiConsumer* consumer);
	void _RemoveConnection(Aftermath& after, BMidiProducer* producer,
		BMidiConsumer* consumer, bool tellBackend);
	void _DropConnections(Aftermath& after, BMidiEndpoint* endpoint,
		bool tellBackend);
	void _Retire(Aftermath& after, BMidiEndpoint* endpoint);
	void _Unpublish(Aftermath& after, BMidiEndpoint* endpoint);

	std::mutex fLock;
	std::condition_variable fBackendIdle;
	std::atomic<int32> fNextID;
	std::map<int32, BMidiEndpoint*> fEndpoints;
	// Remote endpoints that disappeared; kept so that no pointer the program
	// got from the roster ever dangles.
	std::vector<BMidiEndpoint*> fWithdrawn;
	std::vector<BMidiBackend*> fBackends;
	bool fWatching;
	BMessenger fWatcher;
	std::deque<Notice> fNotices;
	bool fSendingNotices;

	static thread_local SprayMark* sMark;
	static thread_local bool sKeeperGone;
	static thread_local MarkKeeper sKeeper;
	std::atomic<uint64> fEpoch;
	std::vector<std::unique_ptr<SprayMark>> fMarks;
	std::vector<RetiredRoute> fRetiredRoutes;
	std::atomic<bool> fRoutesRetired;
};

#endif
