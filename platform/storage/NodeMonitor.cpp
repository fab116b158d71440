#include <NodeMonitor.h>

#include "NodeMonitorService.h"

status_t
watch_node(const node_ref* node, uint32 flags, BMessenger target)
{
	if (node == nullptr || !target.IsValid() || (flags & ~B_WATCH_ALL) != 0)
		return B_BAD_VALUE;
	return BPrivate::NodeMonitorService::Default().Watch(*node, flags, target);
}


status_t
watch_node(const node_ref* node, uint32 flags, const BHandler* handler,
	const BLooper* looper)
{
	status_t status;
	BMessenger target(handler, looper, &status);
	if (status != B_OK)
		return status;
	return watch_node(node, flags, target);
}


status_t
stop_watching(BMessenger target)
{
	if (!target.IsValid())
		return B_BAD_VALUE;
	return BPrivate::NodeMonitorService::Default().StopWatching(target);
}


status_t
stop_watching(const BHandler* handler, const BLooper* looper)
{
	status_t status;
	BMessenger target(handler, looper, &status);
	if (status != B_OK)
		return status;
	return stop_watching(target);
}
