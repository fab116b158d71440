#ifndef SONG_LIST_H
#define SONG_LIST_H

#include <string>
#include <vector>

#include <SongSource.h>

// Songs as a plain list of leaf names, for driving a chooser of songs
// without a playlist view. Changing `names` through Set() bumps the
// revision as the view does after an edit.
class TSongList : public TSongSource {
public:
	explicit TSongList(std::vector<std::string> names = {})
		:
		fNames(std::move(names)),
		fRevision(1)
	{
	}

	void Set(std::vector<std::string> names)
	{
		fNames = std::move(names);
		fRevision++;
	}

	int32 Songs() const override { return static_cast<int32>(fNames.size()); }
	std::string SongLeafName(int32 index) const override { return fNames.at(index); }
	uint64 SongsRevision() const override { return fRevision; }

private:
	std::vector<std::string> fNames;
	uint64 fRevision;
};

#endif
