#ifndef _NODE_MONITOR_H
#define _NODE_MONITOR_H

#include <EntryRef.h>
#include <Messenger.h>
#include <SupportDefs.h>

class BHandler;
class BLooper;

enum {
	B_STOP_WATCHING = 0x0000,
	B_WATCH_NAME = 0x0001,
	B_WATCH_STAT = 0x0002,
	B_WATCH_ATTR = 0x0004,
	B_WATCH_DIRECTORY = 0x0008,
	B_WATCH_ALL = 0x000F
};

// The "opcode" of a B_NODE_MONITOR message.
enum {
	B_ENTRY_CREATED = 1,
	B_ENTRY_REMOVED = 2,
	B_ENTRY_MOVED = 3,
	B_STAT_CHANGED = 4,
	B_ATTR_CHANGED = 5
};

// Node monitoring over inotify; notices arrive as B_NODE_MONITOR messages
// with "opcode", "device", and "directory", "node", "name" (or "from
// directory", "to directory", "from name") where known, -1 where not.
//
// What is reported follows the original platform, not inotify:
// - B_WATCH_DIRECTORY on a folder: entries created, removed and moved in it
//   — never writes to or attribute changes of the files inside;
// - B_WATCH_NAME: the node itself removed (B_ENTRY_REMOVED) or moved
//   (B_ENTRY_MOVED);
// - B_WATCH_STAT: a file written and closed, or its permissions, owner,
//   size or times changed (B_STAT_CHANGED);
// - B_WATCH_ATTR: a change that touched nothing but the change time, which
//   is how an attribute change looks from here (B_ATTR_CHANGED, without the
//   "attr" field: inotify does not tell the name).
// A node that cannot be reached (no path known, gone) is not watched and the
// result says why. Watching a node again for the same target replaces its
// flags; B_STOP_WATCHING ends that watch. Notices already on their way may
// still arrive after stop_watching().
status_t watch_node(const node_ref* node, uint32 flags, BMessenger target);
status_t watch_node(const node_ref* node, uint32 flags,
	const BHandler* handler, const BLooper* looper = NULL);

// Ends every watch of the target.
status_t stop_watching(BMessenger target);
status_t stop_watching(const BHandler* handler, const BLooper* looper = NULL);

#endif
