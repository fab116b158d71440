#ifndef INI_PAIR_LIST_H
#define INI_PAIR_LIST_H

#include <cstdint>
#include <memory>
#include <vector>

#include "IniFilePair.h"

// The pairs of one section in file order, each at a fixed place for as long
// as it is in the list (keys handed out by TIniFile::EnumKeys point into
// them). Pairs are kept in blocks of 256 rather than a node each, and the
// places of removed pairs are used again, so adding costs no allocation most
// of the time and a list that is added to and removed from does not grow.
class TIniPairList {
public:
	typedef uint32_t Handle;

	TIniPairList() : fSize(0), fFirst(kNone), fLast(kNone), fFree(kNone) {}
	TIniPairList(const TIniPairList&) = delete;
	TIniPairList& operator=(const TIniPairList&) = delete;

	TIniFilePair& operator[](Handle handle) { return _At(handle).pair; }
	const TIniFilePair& operator[](Handle handle) const
		{ return _At(handle).pair; }

	// An empty pair after all others.
	Handle Append()
	{
		Handle handle = fFree;
		if (handle == kNone) {
			if (fSize % kBlockSize == 0)
				fBlocks.push_back(std::make_unique<Node[]>(kBlockSize));
			handle = fSize++;
		} else
			fFree = _At(handle).next;
		Node& node = _At(handle);
		node.previous = fLast;
		node.next = kNone;
		if (fLast == kNone)
			fFirst = handle;
		else
			_At(fLast).next = handle;
		fLast = handle;
		return handle;
	}

	void Remove(Handle handle)
	{
		Node& node = _At(handle);
		(node.previous == kNone ? fFirst : _At(node.previous).next) = node.next;
		(node.next == kNone ? fLast : _At(node.next).previous) = node.previous;
		node.pair.key.Release();
		node.pair.value.Release();
		node.next = fFree;
		fFree = handle;
	}

	// Calls visit(pair) for every pair in order.
	template<typename Visit>
	void ForEach(Visit visit) const
	{
		for (Handle at = fFirst; at != kNone;) {
			const Node& node = _At(at);
			visit(node.pair);
			at = node.next;
		}
	}

private:
	static constexpr Handle kNone = UINT32_MAX;
	static constexpr Handle kBlockSize = 256;

	struct Node {
		TIniFilePair pair;
		Handle previous;
		Handle next;
	};

	Node& _At(Handle handle)
		{ return fBlocks[handle / kBlockSize][handle % kBlockSize]; }
	const Node& _At(Handle handle) const
		{ return fBlocks[handle / kBlockSize][handle % kBlockSize]; }

	// Blocks never move what they hold when more are added.
	std::vector<std::unique_ptr<Node[]>> fBlocks;
	Handle fSize;
	Handle fFirst;
	Handle fLast;
	Handle fFree;
};

#endif
