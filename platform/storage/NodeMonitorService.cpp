#include "NodeMonitorService.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <AppDefs.h>
#include <NodeMonitor.h>

#include "StoragePrivate.h"

namespace BPrivate {

namespace {

const uint32 kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// How long the first half of a rename waits for its second before it is
// taken for a move out of the watched folders. The kernel queues the halves
// one right after the other, so only a read that falls between them waits.
const int kMovePairingMilliseconds = 20;


int64 node_of(const std::string& path)
{
	struct stat st;
	return lstat(path.c_str(), &st) == 0 ? (int64)st.st_ino : -1;
}


std::string parent_of(const std::string& path)
{
	size_t slash = path.rfind('/');
	return slash == 0 || slash == std::string::npos ? std::string("/")
		: path.substr(0, slash);
}


bool same_time(const timespec& a, const timespec& b)
{
	return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}


// What a stat notice is about; access times are left out, since reading a
// file changes them without any notice.
bool stat_differs(const struct stat& a, const struct stat& b)
{
	return a.st_mode != b.st_mode || a.st_uid != b.st_uid
		|| a.st_gid != b.st_gid || a.st_nlink != b.st_nlink
		|| a.st_size != b.st_size || !same_time(a.st_mtim, b.st_mtim);
}

} // namespace


NodeMonitorService&
NodeMonitorService::Default()
{
	// Destroyed at exit, which stops the thread before the loopers it
	// sends to are gone.
	static NodeMonitorService service;
	return service;
}


NodeMonitorService::NodeMonitorService()
	:
	fInotify(-1),
	fWakeUp(-1)
{
}


NodeMonitorService::~NodeMonitorService()
{
	if (fThread.joinable()) {
		uint64_t one = 1;
		if (write(fWakeUp, &one, sizeof(one)) == sizeof(one))
			fThread.join();
		else
			fThread.detach();
	}
	if (fInotify >= 0)
		close(fInotify);
	if (fWakeUp >= 0)
		close(fWakeUp);
}


status_t
NodeMonitorService::Watch(const node_ref& node, uint32 flags,
	const BMessenger& target)
{
	std::lock_guard<std::mutex> guard(fLock);
	if (flags == B_STOP_WATCHING) {
		for (auto& [descriptor, watch] : fWatches) {
			if (watch.node != node)
				continue;
			auto& subscriptions = watch.subscriptions;
			auto found = std::find_if(subscriptions.begin(), subscriptions.end(),
				[&](const Subscription& s) { return s.target == target; });
			if (found == subscriptions.end())
				return B_BAD_VALUE;
			subscriptions.erase(found);
			return _UpdateWatch(descriptor);
		}
		return B_BAD_VALUE;
	}

	std::string path = node.path.empty()
		? known_node_path(node.device, node.node) : node.path;
	struct stat st;
	if (path.empty() || lstat(path.c_str(), &st) != 0)
		return B_ENTRY_NOT_FOUND;
	if (st.st_dev != node.device || st.st_ino != node.node)
		return B_ENTRY_NOT_FOUND;
	status_t status = _Start();
	if (status != B_OK)
		return status;

	// The kernel hands out one descriptor per inode, so a second watch of
	// the node finds the first. The mask set here is replaced right after.
	int descriptor = inotify_add_watch(fInotify, path.c_str(),
		IN_DELETE_SELF | IN_DONT_FOLLOW | IN_MASK_ADD);
	if (descriptor < 0)
		return status_from_errno(errno);
	WatchedNode& watch = fWatches[descriptor];
	if (watch.subscriptions.empty()) {
		watch.node = node;
		watch.node.path = path;
		watch.isDirectory = S_ISDIR(st.st_mode);
		watch.lastStat = st;
	}
	auto found = std::find_if(watch.subscriptions.begin(),
		watch.subscriptions.end(),
		[&](const Subscription& s) { return s.target == target; });
	if (found != watch.subscriptions.end())
		found->flags = flags;
	else
		watch.subscriptions.push_back({target, flags});
	return _UpdateWatch(descriptor);
}


status_t
NodeMonitorService::StopWatching(const BMessenger& target)
{
	std::lock_guard<std::mutex> guard(fLock);
	std::vector<int> descriptors;
	for (auto& [descriptor, watch] : fWatches) {
		auto& subscriptions = watch.subscriptions;
		auto end = std::remove_if(subscriptions.begin(), subscriptions.end(),
			[&](const Subscription& s) { return s.target == target; });
		if (end != subscriptions.end()) {
			subscriptions.erase(end, subscriptions.end());
			descriptors.push_back(descriptor);
		}
	}
	for (int descriptor : descriptors)
		_UpdateWatch(descriptor);
	return B_OK;
}


status_t
NodeMonitorService::_Start()
{
	if (fThread.joinable())
		return B_OK;
	if (fInotify < 0)
		fInotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
	if (fWakeUp < 0)
		fWakeUp = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
	if (fInotify < 0 || fWakeUp < 0)
		return status_from_errno(errno);
	fThread = std::thread(&NodeMonitorService::_Run, this);
	return B_OK;
}


// Sets the kernel's mask to what the subscriptions ask for, so that events
// nobody wants (writes inside a watched folder) never wake the thread.
status_t
NodeMonitorService::_UpdateWatch(int descriptor)
{
	WatchedNode& watch = fWatches[descriptor];
	uint32 flags = 0;
	for (const Subscription& subscription : watch.subscriptions)
		flags |= subscription.flags;
	if (flags == 0) {
		inotify_rm_watch(fInotify, descriptor);
		fWatches.erase(descriptor);
		return B_OK;
	}
	uint32 mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_DONT_FOLLOW;
	if ((flags & B_WATCH_DIRECTORY) != 0 && watch.isDirectory)
		mask |= kEntryEvents;
	if ((flags & (B_WATCH_STAT | B_WATCH_ATTR)) != 0)
		mask |= IN_ATTRIB;
	if ((flags & B_WATCH_STAT) != 0 && !watch.isDirectory)
		mask |= IN_CLOSE_WRITE;
	if (inotify_add_watch(fInotify, watch.node.path.c_str(), mask) < 0) {
		status_t status = status_from_errno(errno);
		inotify_rm_watch(fInotify, descriptor);
		fWatches.erase(descriptor);
		return status;
	}
	return B_OK;
}


void
NodeMonitorService::_Run()
{
	alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
	pollfd descriptors[2] = {{fInotify, POLLIN, 0}, {fWakeUp, POLLIN, 0}};
	for (;;) {
		int ready = poll(descriptors, 2,
			fPendingMove ? kMovePairingMilliseconds : -1);
		if (ready < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if (descriptors[1].revents != 0)
			return;

		Deliveries deliveries;
		if (ready == 0) {
			std::lock_guard<std::mutex> guard(fLock);
			_FlushPendingMove(&deliveries);
		} else {
			ssize_t length = read(fInotify, buffer, sizeof(buffer));
			if (length <= 0)
				continue;
			std::lock_guard<std::mutex> guard(fLock);
			_Translate(buffer, length, &deliveries);
		}
		// Sent without the lock: a receiver may watch or stop meanwhile.
		std::vector<BMessenger> gone;
		for (auto& [target, message] : deliveries) {
			if (target.SendMessage(&message) == B_BAD_HANDLER)
				gone.push_back(target);
		}
		for (const BMessenger& target : gone)
			StopWatching(target);
	}
}


void
NodeMonitorService::_Translate(const char* buffer, size_t length,
	Deliveries* deliveries)
{
	for (size_t offset = 0; offset < length;) {
		const inotify_event* event = (const inotify_event*)(buffer + offset);
		offset += sizeof(inotify_event) + event->len;
		bool secondHalf = fPendingMove && (event->mask & IN_MOVED_TO) != 0
			&& event->cookie == fPendingMove->cookie;
		if (!secondHalf)
			_FlushPendingMove(deliveries);

		auto found = fWatches.find(event->wd);
		if (found == fWatches.end())
			continue;
		WatchedNode& watch = found->second;
		if ((event->mask & IN_IGNORED) != 0) {
			fWatches.erase(found);
			continue;
		}
		if (event->len == 0) {
			_TranslateSelf(watch, event, deliveries);
			continue;
		}
		// Only entry events count for a folder's children.
		if ((event->mask & IN_CREATE) != 0) {
			_Notify(watch, B_WATCH_DIRECTORY,
				_EntryMessage(B_ENTRY_CREATED, watch, event->name), deliveries);
		} else if ((event->mask & IN_DELETE) != 0) {
			_Notify(watch, B_WATCH_DIRECTORY,
				_EntryMessage(B_ENTRY_REMOVED, watch, event->name), deliveries);
		} else if ((event->mask & IN_MOVED_FROM) != 0)
			fPendingMove = PendingMove{event->wd, event->cookie, event->name};
		else if ((event->mask & IN_MOVED_TO) != 0) {
			BMessage message = _EntryMessage(B_ENTRY_MOVED, watch, event->name);
			message.RemoveName("directory");
			message.AddInt64("to directory", watch.node.node);
			const WatchedNode* source = nullptr;
			if (secondHalf) {
				auto sourceWatch = fWatches.find(fPendingMove->descriptor);
				if (sourceWatch != fWatches.end())
					source = &sourceWatch->second;
				message.AddString("from name", fPendingMove->name.c_str());
				fPendingMove.reset();
			}
			message.AddInt64("from directory",
				source != nullptr ? (int64)source->node.node : -1);
			_Notify(watch, B_WATCH_DIRECTORY, message, deliveries);
			if (source != nullptr && source != &watch)
				_Notify(*source, B_WATCH_DIRECTORY, message, deliveries);
		}
	}
}


// A first half without its second: moved out to a folder nobody watches.
void
NodeMonitorService::_FlushPendingMove(Deliveries* deliveries)
{
	if (!fPendingMove)
		return;
	PendingMove move = *fPendingMove;
	fPendingMove.reset();
	auto found = fWatches.find(move.descriptor);
	if (found == fWatches.end())
		return;
	BMessage message = _EntryMessage(B_ENTRY_MOVED, found->second,
		move.name.c_str());
	message.RemoveName("directory");
	message.AddInt64("from directory", found->second.node.node);
	message.AddInt64("to directory", -1);
	message.AddString("from name", move.name.c_str());
	_Notify(found->second, B_WATCH_DIRECTORY, message, deliveries);
}


void
NodeMonitorService::_TranslateSelf(WatchedNode& watch, const inotify_event* event,
	Deliveries* deliveries)
{
	BMessage message(B_NODE_MONITOR);
	if ((event->mask & (IN_ATTRIB | IN_CLOSE_WRITE)) != 0) {
		struct stat st;
		bool reachable = stat(watch.node.path.c_str(), &st) == 0
			&& st.st_ino == watch.node.node;
		bool statChanged = (event->mask & IN_CLOSE_WRITE) != 0 || !reachable
			|| stat_differs(st, watch.lastStat);
		if (reachable)
			watch.lastStat = st;
		message.AddInt32("opcode", statChanged ? B_STAT_CHANGED : B_ATTR_CHANGED);
		message.AddInt32("device", (int32)watch.node.device);
		message.AddInt64("node", watch.node.node);
		_Notify(watch, statChanged ? B_WATCH_STAT : B_WATCH_ATTR, message,
			deliveries);
		return;
	}
	if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
		const std::string& path = watch.node.path;
		bool moved = (event->mask & IN_MOVE_SELF) != 0;
		message.AddInt32("opcode", moved ? B_ENTRY_MOVED : B_ENTRY_REMOVED);
		message.AddInt32("device", (int32)watch.node.device);
		int64 parent = node_of(parent_of(path));
		if (moved) {
			message.AddInt64("from directory", parent);
			message.AddInt64("to directory", -1);
		} else
			message.AddInt64("directory", parent);
		message.AddInt64("node", watch.node.node);
		message.AddString("name", path.c_str() + path.rfind('/') + 1);
		_Notify(watch, B_WATCH_NAME, message, deliveries);
	}
}


void
NodeMonitorService::_Notify(const WatchedNode& watch, uint32 flag,
	const BMessage& message, Deliveries* deliveries) const
{
	for (const Subscription& subscription : watch.subscriptions) {
		if ((subscription.flags & flag) != 0)
			deliveries->emplace_back(subscription.target, message);
	}
}


BMessage
NodeMonitorService::_EntryMessage(int32 opcode, const WatchedNode& watch,
	const char* name) const
{
	BMessage message(B_NODE_MONITOR);
	message.AddInt32("opcode", opcode);
	message.AddInt32("device", (int32)watch.node.device);
	message.AddInt64("directory", watch.node.node);
	message.AddInt64("node", node_of(join_path(watch.node.path, name)));
	message.AddString("name", name);
	return message;
}

} // namespace BPrivate
