#ifndef AI_SELECTOR_H
#define AI_SELECTOR_H

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <SupportDefs.h>

class BEntry;
class TSongSource;

// Chooses the next song of the random play mode with learning on. Every
// song file met has a priority from 0 to 5 (2 until the user's choices move
// it) and a count of how often it was chosen, keyed by its leaf file name,
// so files of the same name in different folders share one score. A song
// is drawn with a weight that doubles with every priority step.
//
// Drawing costs a binary search: the weights of the songs are summed once
// and kept until the song numbering or a score changes.
//
// Not thread-safe; the player view that owns it calls it from its window.
class TAISelector {
public:
	// Any uniformly distributed 64-bit numbers; a draw takes one, reduced
	// modulo the sum of the weights.
	using TRandomSource = std::function<uint64()>;

	// Draws with a std::mt19937_64 seeded from the system.
	TAISelector();
	explicit TAISelector(TRandomSource random);

	// The songs to choose from, or null; the source outlives its use here.
	void SetSongSource(const TSongSource* songs);

	// Reads the database once; later calls do nothing. A missing or
	// unreadable file leaves every song at priority 2.
	status_t Load(const BEntry& file);
	// Replaces the database file atomically; on failure the old file stays.
	status_t Save(const BEntry& file) const;

	// Moves the priority of song `index` by `delta`, within 0 … 5. A song
	// number outside the source does nothing.
	void ChangeScore(int32 index, int32 delta);

	// The number of the chosen song, -1 when there is none to choose.
	int32 Select();

private:
	struct TScore {
		int32 priority;
		int32 count;
	};

	void _MapSongs(int32 songs);
	void _Weigh();

	TRandomSource fRandom;
	bool fLoaded;
	// Node-based, so the song table may point into it across insertions.
	std::unordered_map<std::string, TScore> fScores;
	const TSongSource* fSongs;

	// By song number, valid while the source's revision is fMappedRevision.
	std::vector<TScore*> fSongScores;
	// Songs whose score was made by the current mapping weigh as priority 1
	// in the first draw after it.
	std::vector<bool> fNewlyMet;
	bool fAnyNewlyMet;
	uint64 fMappedRevision;
	bool fMapped;
	// Running sums of the weights; stale after any score change.
	std::vector<uint64> fCumulative;
	bool fWeightsStale;
};

#endif
