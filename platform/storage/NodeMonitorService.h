#ifndef _NODE_MONITOR_SERVICE_H
#define _NODE_MONITOR_SERVICE_H

#include <map>
#include <string>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <vector>

#include <EntryRef.h>
#include <Message.h>
#include <Messenger.h>

struct inotify_event;

namespace BPrivate {

// The process's one inotify instance and the thread that turns its events
// into B_NODE_MONITOR messages. Started by the first watch; stopped, without
// waiting for anything but the thread itself, when the process exits.
class NodeMonitorService {
public:
	static	NodeMonitorService& Default();

							~NodeMonitorService();

			status_t		Watch(const node_ref& node, uint32 flags,
								const BMessenger& target);
			status_t		StopWatching(const BMessenger& target);

private:
	struct Subscription {
		BMessenger target;
		uint32 flags;
	};

	struct WatchedNode {
		node_ref node;
		bool isDirectory;
		// To tell a stat change from an attribute change.
		struct stat lastStat;
		std::vector<Subscription> subscriptions;
	};

	// The first half of a rename, waiting for its second.
	struct PendingMove {
		int descriptor;
		uint32 cookie;
		std::string name;
	};

	typedef std::vector<std::pair<BMessenger, BMessage>> Deliveries;

							NodeMonitorService();

			status_t		_Start();
			void			_Run();
			status_t		_UpdateWatch(int descriptor);
			void			_Translate(const char* buffer, size_t length,
								Deliveries* deliveries);
			void			_FlushPendingMove(Deliveries* deliveries);
			void			_TranslateSelf(WatchedNode& watch,
								const inotify_event* event,
								Deliveries* deliveries);
			void			_Notify(const WatchedNode& watch, uint32 flag,
								const BMessage& message,
								Deliveries* deliveries) const;
			BMessage		_EntryMessage(int32 opcode, const WatchedNode& watch,
								const char* name) const;

			std::mutex		fLock;
			int				fInotify;
			int				fWakeUp;
			std::thread		fThread;
			std::map<int, WatchedNode> fWatches;
			// Only the service thread uses it.
			std::optional<PendingMove> fPendingMove;
};

} // namespace BPrivate

#endif
