#include "ExitState.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "AllOk.h"
#include "AppGlobals.h"

namespace {

// "CMO0", "CMO1": the key of port i's list.
std::string
port_key(int32 port)
{
	return "CMO" + std::to_string(port);
}


// A hand-edited or damaged file must not reach the windows with values they
// cannot show: an unknown play mode, a negative song, a window that is
// inverted, empty or larger than any screen.
const int32 kLastPlayMode = 5;
const float kMinExpandedHeight = 50;
const float kMaxWindowExtent = 16384;
const float kMaxWindowCoordinate = 32768;


bool
sane_frame(const BRect& frame)
{
	const float values[] = {frame.left, frame.top, frame.right, frame.bottom};
	for (float value : values) {
		if (!std::isfinite(value) || std::fabs(value) > kMaxWindowCoordinate)
			return false;
	}
	return frame.Width() >= 1 && frame.Width() <= kMaxWindowExtent
		&& frame.Height() >= 1 && frame.Height() <= kMaxWindowExtent;
}

}


bool
TExitState::Archive(BMessage* archive) const
{
	if (!TArchivable::Archive(archive))
		return false;
	TAllOk added;
	added << archive->AddBool("AtEx", listExpanded);
	added << archive->AddInt32("CuSI", curSongIdx);
	added << archive->AddFloat("ExWH", expandedHeight);
	added << archive->AddString("_Ver", gAppVer);
	added << archive->AddString("MLFN", mainListFile.c_str());
	added << archive->AddString("PnFN", panelFolder.c_str());
	for (int32 port = 0; port < kPortCount; port++) {
		for (const std::string& name : connectedOutputs[port])
			added << archive->AddString(port_key(port).c_str(), name.c_str());
	}
	added << archive->AddRect("_WFr", mainWinFrame);
	added << archive->AddInt32("PlyM", playMode);
	return added.All();
}


bool
TExitState::Unarchive(const BMessage& archive)
{
	if (!TArchivable::Unarchive(archive))
		return false;
	TAllOk found;
	found << FindBool(archive, "AtEx", &listExpanded);
	found << FindInt32(archive, "CuSI", &curSongIdx);
	found << FindFloat(archive, "ExWH", &expandedHeight);
	found << FindString(archive, "_Ver", &lastVersion);
	found << FindString(archive, "MLFN", &mainListFile);
	found << FindString(archive, "PnFN", &panelFolder);
	for (int32 port = 0; port < kPortCount; port++) {
		const std::string key = port_key(port);
		std::string name;
		for (int32 index = 0;
				FindString(archive, key.c_str(), index, &name) == B_OK; index++) {
			connectedOutputs[port].push_back(name);
		}
	}
	found << FindRect(archive, "_WFr", &mainWinFrame);
	found << FindInt32(archive, "PlyM", &playMode);
	_Clamp();
	return found.All();
}


void
TExitState::_Clamp()
{
	const TExitState defaults;
	if (playMode < 0 || playMode > kLastPlayMode)
		playMode = defaults.playMode;
	curSongIdx = std::max<int32>(curSongIdx, 0);
	expandedHeight = std::isfinite(expandedHeight)
		? std::clamp(expandedHeight, kMinExpandedHeight, kMaxWindowExtent)
		: defaults.expandedHeight;
	if (!sane_frame(mainWinFrame))
		mainWinFrame = defaults.mainWinFrame;
}
