#include "MidiRegistry.h"

#include <algorithm>
#include <cstring>

#include <List.h>
#include <MidiBackend.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>

namespace {

thread_local int32 sDeliveringProducer = 0;

// Room for one message copy without a heap allocation.
const size_t kInlineBytes = 64;

const char* type_name(const BMidiEndpoint* endpoint)
{
	return endpoint->IsConsumer() ? "consumer" : "producer";
}

bool matches(const BMidiEndpoint* endpoint, MidiRegistry::Kind kind)
{
	switch (kind) {
		case MidiRegistry::kProducerKind:
			return endpoint->IsProducer();
		case MidiRegistry::kConsumerKind:
			return endpoint->IsConsumer();
		case MidiRegistry::kAnyKind:
			break;
	}
	return true;
}

}


MidiRegistry&
MidiRegistry::Default()
{
	static MidiRegistry* registry = new MidiRegistry;
	return *registry;
}


int32
MidiRegistry::CurrentProducer()
{
	return sDeliveringProducer;
}


thread_local MidiRegistry::SprayMark* MidiRegistry::sMark = NULL;
thread_local bool MidiRegistry::sKeeperGone = false;
thread_local MidiRegistry::MarkKeeper MidiRegistry::sKeeper;


MidiRegistry::MarkKeeper::~MarkKeeper()
{
	sKeeperGone = true;
	sMark = NULL;
	if (mark == NULL)
		return;
	std::lock_guard<std::mutex> lock(Default().fLock);
	mark->taken = false;
}


MidiRegistry::MidiRegistry()
	:
	fNextID(1),
	fWatching(false),
	fSendingNotices(false),
	fEpoch(1),
	fRoutesRetired(false)
{
}


int32
MidiRegistry::NewID()
{
	return fNextID.fetch_add(1);
}


void
MidiRegistry::AddLocal(BMidiEndpoint* endpoint)
{
	std::lock_guard<std::mutex> lock(fLock);
	fEndpoints[endpoint->fID] = endpoint;
}


void
MidiRegistry::Acquire(BMidiEndpoint* endpoint)
{
	std::lock_guard<std::mutex> lock(fLock);
	endpoint->fRefCount++;
}


status_t
MidiRegistry::Release(BMidiEndpoint* endpoint)
{
	std::unique_lock<std::mutex> lock(fLock);
	// The reference a remote endpoint starts with belongs to the registry.
	int32 floor = endpoint->fIsLocal ? 0 : 1;
	if (endpoint->fRefCount <= floor)
		return B_ERROR;
	if (--endpoint->fRefCount > 0)
		return B_OK;

	Aftermath after;
	_Retire(after, endpoint);
	_Finish(lock, after);
	_Unpin(endpoint);
	return B_OK;
}


status_t
MidiRegistry::Register(BMidiEndpoint* endpoint)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (!endpoint->fIsLocal)
		return B_ERROR;
	if (endpoint->fRegistered)
		return B_OK;

	endpoint->fRegistered = true;
	BMessage notice;
	_NotifyEndpoint(B_MIDI_REGISTERED, endpoint, notice);
	Aftermath after;
	_Hold(after, endpoint);
	_CallBackends(after, [endpoint](BMidiBackend* backend) {
		backend->LocalEndpointRegistered(endpoint);
	});
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::Unregister(BMidiEndpoint* endpoint)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (!endpoint->fIsLocal)
		return B_ERROR;
	if (!endpoint->fRegistered)
		return B_OK;

	BMessage notice;
	_NotifyEndpoint(B_MIDI_UNREGISTERED, endpoint, notice);
	endpoint->fRegistered = false;
	Aftermath after;
	_Hold(after, endpoint);
	_CallBackends(after, [endpoint](BMidiBackend* backend) {
		backend->LocalEndpointUnregistered(endpoint);
	});
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::Rename(BMidiEndpoint* endpoint, const char* name,
	BMidiBackend* owner)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (owner == NULL ? !endpoint->fIsLocal
			: endpoint->fBackend != owner || !endpoint->fValid)
		return B_ERROR;

	endpoint->fName = BMidiEndpoint::_NameOrAnonymous(name);
	Aftermath after;
	if (endpoint->fRegistered) {
		BMessage notice;
		notice.AddString("be:name", endpoint->fName.c_str());
		_NotifyEndpoint(B_MIDI_CHANGED_NAME, endpoint, notice);
		_TellLocalChange(after, endpoint, B_MIDI_CHANGED_NAME);
	}
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::SetProperties(BMidiEndpoint* endpoint,
	const BMessage* properties)
{
	if (properties == NULL)
		return B_BAD_VALUE;

	std::unique_lock<std::mutex> lock(fLock);
	if (!endpoint->fIsLocal)
		return B_ERROR;

	*endpoint->fProperties = *properties;
	Aftermath after;
	if (endpoint->fRegistered) {
		BMessage notice;
		notice.AddMessage("be:properties", properties);
		_NotifyEndpoint(B_MIDI_CHANGED_PROPERTIES, endpoint, notice);
		_TellLocalChange(after, endpoint, B_MIDI_CHANGED_PROPERTIES);
	}
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::GetProperties(const BMidiEndpoint* endpoint,
	BMessage* properties)
{
	if (properties == NULL)
		return B_BAD_VALUE;

	std::lock_guard<std::mutex> lock(fLock);
	*properties = *endpoint->fProperties;
	return B_OK;
}


void
MidiRegistry::SetLatency(BMidiConsumer* consumer, bigtime_t latency)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (consumer->fLatency.exchange(latency) == latency)
		return;

	Aftermath after;
	if (consumer->fRegistered) {
		BMessage notice;
		notice.AddInt64("be:latency", latency);
		_NotifyEndpoint(B_MIDI_CHANGED_LATENCY, consumer, notice);
		_TellLocalChange(after, consumer, B_MIDI_CHANGED_LATENCY);
	}
	_Finish(lock, after);
}


status_t
MidiRegistry::Connect(BMidiProducer* producer, BMidiConsumer* consumer)
{
	if (producer == NULL || consumer == NULL)
		return B_BAD_VALUE;

	BMidiBackend* owner = NULL;
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (!producer->fValid || !consumer->fValid
			|| _IsConnected(producer, consumer))
			return B_ERROR;
		status_t status = _Owner(producer, consumer, &owner);
		if (status != B_OK)
			return status;
		if (owner != NULL && !_Enter(owner))
			return B_ERROR;
	}

	// The backend may take its time (it talks to the system) and may report
	// the new connection itself meanwhile; adding it below is idempotent.
	if (owner != NULL) {
		status_t status = owner->Connect(producer, consumer);
		_Leave(owner);
		if (status != B_OK)
			return status;
	}

	std::unique_lock<std::mutex> lock(fLock);
	if (!producer->fValid || !consumer->fValid)
		return B_ERROR;
	Aftermath after;
	_AddConnection(after, producer, consumer);
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::Disconnect(BMidiProducer* producer, BMidiConsumer* consumer)
{
	if (producer == NULL || consumer == NULL)
		return B_BAD_VALUE;

	std::unique_lock<std::mutex> lock(fLock);
	if (!_IsConnected(producer, consumer))
		return B_ERROR;
	Aftermath after;
	_RemoveConnection(after, producer, consumer, true);
	_Finish(lock, after);
	return B_OK;
}


bool
MidiRegistry::IsConnected(const BMidiProducer* producer,
	const BMidiConsumer* consumer)
{
	std::lock_guard<std::mutex> lock(fLock);
	return _IsConnected(producer, consumer);
}


BList*
MidiRegistry::Connections(const BMidiProducer* producer)
{
	std::lock_guard<std::mutex> lock(fLock);
	BList* list = new BList(std::max<int32>(1, producer->fConnections.size()));
	for (BMidiConsumer* consumer : producer->fConnections)
		list->AddItem(consumer);
	return list;
}


void
MidiRegistry::Spray(const BMidiProducer* producer, const uchar* data,
	size_t length, bool atomic, bigtime_t time)
{
	if (data == NULL || length == 0
		|| producer->fRoute.load(std::memory_order_relaxed) == NULL)
		return;

	// Nested sprays are covered by the outermost one's mark.
	int32 outerProducer = sDeliveringProducer;
	SprayMark* mark = NULL;
	if (outerProducer == 0) {
		mark = sMark != NULL ? sMark : _TakeMark();
		mark->epoch.store(fEpoch.load());
	}
	const Route* route = producer->fRoute.load();

	// Ends the spray also when a hook unwinds the thread (kill_thread).
	// Sequentially consistent with _PublishRoute() and _FreeRetiredRoutes():
	// either this thread sees the retired route or their scan sees it idle.
	struct SprayEnd {
		~SprayEnd()
		{
			sDeliveringProducer = outerProducer;
			if (mark == NULL)
				return;
			mark->epoch.store(0);
			if (registry.fRoutesRetired.load())
				registry._FreeRetiredRoutes();
		}

		MidiRegistry& registry;
		SprayMark* mark;
		int32 outerProducer;
	} end = {*this, mark, outerProducer};

	BMidiProducer* source = const_cast<BMidiProducer*>(producer);
	sDeliveringProducer = producer->fID;
	for (size_t i = 0; route != NULL && i < route->size(); i++) {
		BMidiConsumer* consumer = (*route)[i];
		// Released or withdrawn since the route was made.
		if (!consumer->fValid.load(std::memory_order_acquire))
			continue;
		if (consumer->fBackend != NULL) {
			_DeliverRemote(source, consumer, data, length, atomic, time);
			continue;
		}
		// Each consumer gets its own copy: Data() may change the bytes.
		uchar inlineCopy[kInlineBytes];
		std::vector<uchar> largeCopy;
		uchar* copy = inlineCopy;
		if (length > kInlineBytes) {
			largeCopy.resize(length);
			copy = largeCopy.data();
		}
		memcpy(copy, data, length);
		static_cast<BMidiLocalConsumer*>(consumer)->Data(copy, length, atomic,
			time);
	}
}


BMidiEndpoint*
MidiRegistry::Next(int32* id, Kind kind)
{
	if (id == NULL)
		return NULL;

	std::lock_guard<std::mutex> lock(fLock);
	for (auto it = fEndpoints.upper_bound(*id); it != fEndpoints.end(); ++it) {
		if (matches(it->second, kind)) {
			*id = it->first;
			return it->second;
		}
	}
	return NULL;
}


BMidiEndpoint*
MidiRegistry::Find(int32 id, bool localOnly, Kind kind)
{
	std::lock_guard<std::mutex> lock(fLock);
	auto it = fEndpoints.find(id);
	if (it == fEndpoints.end() || !matches(it->second, kind)
		|| (localOnly && !it->second->fIsLocal))
		return NULL;
	return it->second;
}


void
MidiRegistry::StartWatching(const BMessenger& watcher)
{
	std::unique_lock<std::mutex> lock(fLock);
	fWatcher = watcher;
	fWatching = true;
	for (const auto& [id, endpoint] : fEndpoints) {
		if (endpoint->fRegistered) {
			BMessage notice;
			_NotifyEndpoint(B_MIDI_REGISTERED, endpoint, notice);
		}
	}
	for (const auto& [id, endpoint] : fEndpoints) {
		if (!endpoint->IsProducer())
			continue;
		BMidiProducer* producer = static_cast<BMidiProducer*>(endpoint);
		for (BMidiConsumer* consumer : producer->fConnections)
			_NotifyConnection(B_MIDI_CONNECTED, producer, consumer);
	}
	_SendNotices(lock);
}


void
MidiRegistry::StopWatching()
{
	std::lock_guard<std::mutex> lock(fLock);
	fWatching = false;
	fWatcher = BMessenger();
}


status_t
MidiRegistry::Attach(BMidiBackend* backend)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (backend->fAttached)
		return B_ERROR;

	backend->fAttached = true;
	fBackends.push_back(backend);
	Aftermath after;
	for (const auto& entry : fEndpoints) {
		BMidiEndpoint* endpoint = entry.second;
		if (!endpoint->fIsLocal || !endpoint->fRegistered)
			continue;
		_Hold(after, endpoint);
		_CallBackend(after, backend, [endpoint](BMidiBackend* backend) {
			backend->LocalEndpointRegistered(endpoint);
		});
	}
	_Finish(lock, after);
	return B_OK;
}


void
MidiRegistry::Detach(BMidiBackend* backend)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (!backend->fAttached)
		return;

	// Refuse new calls into the backend before its endpoints go.
	backend->fAttached = false;
	fBackends.erase(std::find(fBackends.begin(), fBackends.end(), backend));
	std::vector<BMidiEndpoint*> published;
	for (const auto& [id, endpoint] : fEndpoints) {
		if (endpoint->fBackend == backend)
			published.push_back(endpoint);
	}
	Aftermath after;
	for (BMidiEndpoint* endpoint : published)
		_Unpublish(after, endpoint);
	_Finish(lock, after);

	lock.lock();
	fBackendIdle.wait(lock, [backend] { return backend->fActiveCalls == 0; });
}


bool
MidiRegistry::IsAttached(const BMidiBackend* backend)
{
	std::lock_guard<std::mutex> lock(fLock);
	return backend->fAttached;
}


BMidiEndpoint*
MidiRegistry::Publish(BMidiBackend* backend, const char* name,
	bool isConsumer)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (!backend->fAttached)
		return NULL;

	BMidiEndpoint* endpoint;
	if (isConsumer)
		endpoint = new BMidiConsumer(name, false);
	else
		endpoint = new BMidiProducer(name, false);
	endpoint->fBackend = backend;
	fEndpoints[endpoint->fID] = endpoint;

	BMessage notice;
	_NotifyEndpoint(B_MIDI_REGISTERED, endpoint, notice);
	_SendNotices(lock);
	return endpoint;
}


status_t
MidiRegistry::Withdraw(BMidiBackend* backend, BMidiEndpoint* endpoint)
{
	if (endpoint == NULL)
		return B_BAD_VALUE;

	std::unique_lock<std::mutex> lock(fLock);
	if (endpoint->fBackend != backend || !endpoint->fValid)
		return B_BAD_VALUE;
	Aftermath after;
	_Unpublish(after, endpoint);
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::ReportConnection(BMidiBackend* backend, BMidiProducer* producer,
	BMidiConsumer* consumer, bool connected)
{
	if (producer == NULL || consumer == NULL)
		return B_BAD_VALUE;

	std::unique_lock<std::mutex> lock(fLock);
	if (!backend->fAttached || !producer->fValid || !consumer->fValid
		|| (producer->fBackend != backend && consumer->fBackend != backend))
		return B_BAD_VALUE;

	Aftermath after;
	if (connected)
		_AddConnection(after, producer, consumer);
	else if (_IsConnected(producer, consumer))
		_RemoveConnection(after, producer, consumer, false);
	_Finish(lock, after);
	return B_OK;
}


status_t
MidiRegistry::SprayFromBackend(BMidiBackend* backend, BMidiProducer* producer,
	const uchar* data, size_t length, bool atomic, bigtime_t time)
{
	if (producer == NULL)
		return B_BAD_VALUE;
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (producer->fBackend != backend || !producer->fValid)
			return B_BAD_VALUE;
	}
	Spray(producer, data, length, atomic, time);
	return B_OK;
}


void
MidiRegistry::_Finish(std::unique_lock<std::mutex>& lock, Aftermath& after)
{
	_SendNotices(lock);
	for (const std::function<void()>& call : after.calls)
		call();
	for (BMidiEndpoint* endpoint : after.held)
		Release(endpoint);
	if (fRoutesRetired.load())
		_FreeRetiredRoutes();
}


// Sends the queued notices without holding the lock. One thread sends at a
// time, so the watcher sees them in the order the changes were made; a thread
// that finds another sending leaves its notices to that one.
void
MidiRegistry::_SendNotices(std::unique_lock<std::mutex>& lock)
{
	if (fSendingNotices) {
		lock.unlock();
		return;
	}
	fSendingNotices = true;
	while (!fNotices.empty()) {
		Notice notice = std::move(fNotices.front());
		fNotices.pop_front();
		lock.unlock();
		notice.target.SendMessage(&notice.message);
		lock.lock();
	}
	fSendingNotices = false;
	lock.unlock();
}


void
MidiRegistry::_Notify(BMessage& message)
{
	if (!fWatching)
		return;
	message.what = B_MIDI_EVENT;
	fNotices.push_back({fWatcher, std::move(message)});
}


void
MidiRegistry::_NotifyEndpoint(BMidiOp op, const BMidiEndpoint* endpoint,
	BMessage& message)
{
	message.AddInt32("be:op", op);
	message.AddInt32("be:id", endpoint->fID);
	message.AddString("be:type", type_name(endpoint));
	_Notify(message);
}


// An unregistered local endpoint is private to the program: it shows as id 0,
// and a connection between two such is not reported at all.
void
MidiRegistry::_NotifyConnection(BMidiOp op, const BMidiProducer* producer,
	const BMidiConsumer* consumer)
{
	if (!producer->fRegistered && !consumer->fRegistered)
		return;
	BMessage message;
	message.AddInt32("be:op", op);
	message.AddInt32("be:producer", producer->fRegistered ? producer->fID : 0);
	message.AddInt32("be:consumer", consumer->fRegistered ? consumer->fID : 0);
	_Notify(message);
}


// The endpoint's memory goes with its last pin: its references are gone and
// no route that names it is in use.
void
MidiRegistry::_Unpin(BMidiEndpoint* endpoint)
{
	if (endpoint->fPins.fetch_sub(1, std::memory_order_acq_rel) == 1)
		delete endpoint;
}


// Replaces the producer's route with a copy of its connections. The old one
// may still be in a spray; it waits among the retired routes.
void
MidiRegistry::_PublishRoute(BMidiProducer* producer)
{
	Route* route = NULL;
	if (!producer->fConnections.empty()) {
		route = new Route(producer->fConnections);
		for (BMidiConsumer* consumer : *route)
			consumer->fPins.fetch_add(1, std::memory_order_relaxed);
	}
	const Route* old = producer->fRoute.exchange(route);
	if (old == NULL)
		return;
	fRetiredRoutes.push_back({old, fEpoch.fetch_add(1) + 1});
	fRoutesRetired.store(true);
}


MidiRegistry::SprayMark*
MidiRegistry::_TakeMark()
{
	std::lock_guard<std::mutex> lock(fLock);
	auto free = std::find_if(fMarks.begin(), fMarks.end(),
		[](const std::unique_ptr<SprayMark>& mark) { return !mark->taken; });
	if (free == fMarks.end()) {
		fMarks.push_back(std::make_unique<SprayMark>());
		free = fMarks.end() - 1;
	}
	(*free)->taken = true;
	sMark = free->get();
	// A thread that sprays while it ends keeps its mark for good.
	if (!sKeeperGone)
		sKeeper.mark = sMark;
	return sMark;
}


// Frees the retired routes no spray can still be reading, and with them the
// pins on their consumers.
void
MidiRegistry::_FreeRetiredRoutes()
{
	std::vector<const Route*> unused;
	{
		std::lock_guard<std::mutex> lock(fLock);
		uint64 oldestSpray = UINT64_MAX;
		for (const std::unique_ptr<SprayMark>& mark : fMarks) {
			uint64 epoch = mark->epoch.load();
			if (epoch != 0)
				oldestSpray = std::min(oldestSpray, epoch);
		}
		auto inUse = std::partition(fRetiredRoutes.begin(),
			fRetiredRoutes.end(), [oldestSpray](const RetiredRoute& retired) {
				return retired.epoch > oldestSpray;
			});
		for (auto it = inUse; it != fRetiredRoutes.end(); ++it)
			unused.push_back(it->route);
		fRetiredRoutes.erase(inUse, fRetiredRoutes.end());
		fRoutesRetired.store(!fRetiredRoutes.empty());
	}
	for (const Route* route : unused) {
		for (BMidiConsumer* consumer : *route)
			_Unpin(consumer);
		delete route;
	}
}


// What flows between two remote endpoints is the backend's business; a
// backend being detached takes no new deliveries.
void
MidiRegistry::_DeliverRemote(BMidiProducer* producer, BMidiConsumer* consumer,
	const uchar* data, size_t length, bool atomic, bigtime_t time)
{
	if (!producer->fIsLocal)
		return;
	BMidiBackend* backend = consumer->fBackend;
	{
		std::lock_guard<std::mutex> lock(fLock);
		if (!consumer->fValid || !_Enter(backend))
			return;
	}
	backend->Deliver(producer, consumer, data, length, atomic, time);
	_Leave(backend);
}


// Keeps an endpoint alive until the calls of `after` are done. One that is
// being destroyed (no references left) is deleted only after them anyway.
void
MidiRegistry::_Hold(Aftermath& after, BMidiEndpoint* endpoint)
{
	if (endpoint->fRefCount == 0)
		return;
	endpoint->fRefCount++;
	after.held.push_back(endpoint);
}


bool
MidiRegistry::_Enter(BMidiBackend* backend)
{
	if (!backend->fAttached)
		return false;
	backend->fActiveCalls++;
	return true;
}


void
MidiRegistry::_Leave(BMidiBackend* backend)
{
	std::lock_guard<std::mutex> lock(fLock);
	if (--backend->fActiveCalls == 0)
		fBackendIdle.notify_all();
}


void
MidiRegistry::_CallBackend(Aftermath& after, BMidiBackend* backend,
	std::function<void(BMidiBackend*)> call)
{
	if (!_Enter(backend))
		return;
	after.calls.push_back([this, backend, call = std::move(call)] {
		call(backend);
		_Leave(backend);
	});
}


void
MidiRegistry::_CallBackends(Aftermath& after,
	const std::function<void(BMidiBackend*)>& call)
{
	for (BMidiBackend* backend : fBackends)
		_CallBackend(after, backend, call);
}


void
MidiRegistry::_TellLocalChange(Aftermath& after, BMidiEndpoint* endpoint,
	BMidiOp change)
{
	if (!endpoint->fIsLocal)
		return;
	_Hold(after, endpoint);
	_CallBackends(after, [endpoint, change](BMidiBackend* backend) {
		backend->LocalEndpointChanged(endpoint, change);
	});
}


// A producer being destroyed is not told about its own connections.
void
MidiRegistry::_CallProducer(Aftermath& after, BMidiProducer* producer,
	BMidiConsumer* consumer, bool connected)
{
	if (!producer->fIsLocal || producer->fRefCount == 0)
		return;
	_Hold(after, producer);
	_Hold(after, consumer);
	BMidiLocalProducer* local = static_cast<BMidiLocalProducer*>(producer);
	after.calls.push_back([local, consumer, connected] {
		if (connected)
			local->Connected(consumer);
		else
			local->Disconnected(consumer);
	});
}


status_t
MidiRegistry::_Owner(const BMidiProducer* producer,
	const BMidiConsumer* consumer, BMidiBackend** owner) const
{
	BMidiBackend* producerOwner = producer->fBackend;
	BMidiBackend* consumerOwner = consumer->fBackend;
	if (producerOwner != NULL && consumerOwner != NULL
		&& producerOwner != consumerOwner)
		return B_NOT_ALLOWED;
	*owner = consumerOwner != NULL ? consumerOwner : producerOwner;
	return B_OK;
}


bool
MidiRegistry::_IsConnected(const BMidiProducer* producer,
	const BMidiConsumer* consumer) const
{
	const std::vector<BMidiConsumer*>& connections = producer->fConnections;
	return std::find(connections.begin(), connections.end(), consumer)
		!= connections.end();
}


void
MidiRegistry::_AddConnection(Aftermath& after, BMidiProducer* producer,
	BMidiConsumer* consumer)
{
	if (_IsConnected(producer, consumer))
		return;
	producer->fConnections.push_back(consumer);
	_PublishRoute(producer);
	_NotifyConnection(B_MIDI_CONNECTED, producer, consumer);
	_CallProducer(after, producer, consumer, true);
}


void
MidiRegistry::_RemoveConnection(Aftermath& after, BMidiProducer* producer,
	BMidiConsumer* consumer, bool tellBackend)
{
	std::vector<BMidiConsumer*>& connections = producer->fConnections;
	connections.erase(std::find(connections.begin(), connections.end(),
		consumer));
	_PublishRoute(producer);
	_NotifyConnection(B_MIDI_DISCONNECTED, producer, consumer);

	BMidiBackend* owner = NULL;
	if (tellBackend && _Owner(producer, consumer, &owner) == B_OK
		&& owner != NULL) {
		_Hold(after, producer);
		_Hold(after, consumer);
		_CallBackend(after, owner, [producer, consumer](BMidiBackend* backend) {
			backend->Disconnect(producer, consumer);
		});
	}
	_CallProducer(after, producer, consumer, false);
}


void
MidiRegistry::_DropConnections(Aftermath& after, BMidiEndpoint* endpoint,
	bool tellBackend)
{
	if (endpoint->IsProducer()) {
		BMidiProducer* producer = static_cast<BMidiProducer*>(endpoint);
		std::vector<BMidiConsumer*> connections = producer->fConnections;
		for (BMidiConsumer* consumer : connections)
			_RemoveConnection(after, producer, consumer, tellBackend);
		return;
	}

	BMidiConsumer* consumer = static_cast<BMidiConsumer*>(endpoint);
	for (const auto& [id, other] : fEndpoints) {
		if (!other->IsProducer())
			continue;
		BMidiProducer* producer = static_cast<BMidiProducer*>(other);
		if (_IsConnected(producer, consumer))
			_RemoveConnection(after, producer, consumer, tellBackend);
	}
}


// The last reference to a local endpoint is gone: it leaves the roster as if
// disconnected and unregistered first.
void
MidiRegistry::_Retire(Aftermath& after, BMidiEndpoint* endpoint)
{
	fEndpoints.erase(endpoint->fID);
	_DropConnections(after, endpoint, true);
	if (endpoint->fRegistered) {
		BMessage notice;
		_NotifyEndpoint(B_MIDI_UNREGISTERED, endpoint, notice);
		endpoint->fRegistered = false;
		_CallBackends(after, [endpoint](BMidiBackend* backend) {
			backend->LocalEndpointUnregistered(endpoint);
		});
	}
	endpoint->fValid = false;
}


void
MidiRegistry::_Unpublish(Aftermath& after, BMidiEndpoint* endpoint)
{
	fEndpoints.erase(endpoint->fID);
	_DropConnections(after, endpoint, false);
	BMessage notice;
	_NotifyEndpoint(B_MIDI_UNREGISTERED, endpoint, notice);
	endpoint->fRegistered = false;
	endpoint->fValid = false;
	fWithdrawn.push_back(endpoint);
}
