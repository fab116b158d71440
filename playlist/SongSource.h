#ifndef SONG_SOURCE_H
#define SONG_SOURCE_H

#include <string>

#include <SupportDefs.h>

// The songs of a playlist in song-number order, as a chooser of songs needs
// them. The playlist view is one; the chooser never needs its rows.
class TSongSource {
public:
	virtual ~TSongSource() = default;

	// Song numbers run from 0 to Songs() - 1.
	virtual int32 Songs() const = 0;
	// The leaf file name of the song's stored path; 0 <= index < Songs().
	virtual std::string SongLeafName(int32 index) const = 0;
	// Changes whenever the song numbering may have changed, so that a reader
	// may keep tables by song number until then.
	virtual uint64 SongsRevision() const = 0;
};

#endif
