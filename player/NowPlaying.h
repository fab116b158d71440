#ifndef NOW_PLAYING_H
#define NOW_PLAYING_H

#include <string>

#include <MediaSession.h>
#include <Messenger.h>

#include "TempoMap.h"
#include "TirokaState.h"

class TSMFProducer;

// The player as the desktop sees it (media keys, "now playing" widgets,
// playerctl): what plays, its state and where it is, and the desktop's
// requests turned into the player's own commands. Without a session bus it
// keeps quiet and costs nothing.
//
// Used by the player on its window's thread only.
class TNowPlaying {
public:
	// What the player shows now.
	struct Show {
		TTirokaState state = TS_Stopped;
		int32 songs = 0;
		// Counts the songs loaded, so that each load is a new song for the
		// desktop; 0 while no song is current.
		int32 loadSerial = 0;
		std::string title;
		// The sequencer; it holds no song once stopped.
		const TSMFProducer* song = nullptr;
	};

	// The desktop's requests go to `player` as messages.
	explicit TNowPlaying(const BMessenger& player);

	// The player's message a desktop request stands for in `state`; 0 when
	// it asks for nothing the player could do (pausing a stopped song).
	static uint32 PlayerCommand(uint32 request, TTirokaState state);

	// Tells the desktop what changed since the last call. Cheap when
	// nothing did: the player calls it after each of its messages.
	void Update(const Show& show);
	// The song moved to `tick` at once (a seek); the next Update says so.
	void SongJumped(uint32 tick);
	// Where the song is now, in microseconds from its start at the normal
	// tempo rate, as the desktop sees it.
	bigtime_t Position() const;
	// The loaded song's ticks in that time, and the other way round.
	bigtime_t TimeAt(uint32 tick) const { return fTimes.TimeAt(tick); }
	uint32 TickAt(bigtime_t time) const { return fTimes.TickAt(time); }

	bool Offered() const { return fSession.InitCheck() == B_OK; }

private:
	BMediaSession fSession;
	TTempoMap fTimes;
	// The load the tempo map and the length were taken from: a stopped
	// song is unloaded, but the desktop still shows it.
	int32 fTimesSerial;
	bigtime_t fLength;
	// The song's time follows the clock at the tempo rate, through the
	// song's own tempo changes; so it is kept from the player's transitions
	// (start, pause, seek, rate), not read from the sequencer, whose current
	// tick is the next event's. fPosition held at fPositionTime.
	int32 fSerial;
	bigtime_t fPosition;
	bigtime_t fPositionTime;
	double fRate;
	bool fJumped;
};

#endif
