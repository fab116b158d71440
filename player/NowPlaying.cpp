#include "NowPlaying.h"

#include <algorithm>

#include <OS.h>

#include "PlayerMessages.h"
#include "SMFProducer.h"

namespace {

// The desktop file's name (vantumidi.desktop), and the bus name's last part.
const char kDesktopEntry[] = "vantumidi";
const char kBusName[] = "VantuMIDI";
const char kIdentity[] = "Vantu MIDI";


media_playback_status
playback_status(TTirokaState state)
{
	switch (state) {
		case TS_Stopped:
			return media_playback_status::Stopped;
		case TS_Paused:
			return media_playback_status::Paused;
		default:
			// The start sequence (resets, silence) is the song's start.
			return media_playback_status::Playing;
	}
}

}	// namespace


TNowPlaying::TNowPlaying(const BMessenger& player)
	:
	fSession(kBusName, kIdentity, kDesktopEntry, player),
	fTimesSerial(0),
	fLength(0),
	fSerial(0),
	fPosition(0),
	fPositionTime(0),
	fRate(0),
	fJumped(false)
{
}


uint32
TNowPlaying::PlayerCommand(uint32 request, TTirokaState state)
{
	const bool stopped = state == TS_Stopped;
	const bool playing = state == TS_Playing;
	const bool paused = state == TS_Paused;
	switch (request) {
		case B_MEDIA_PLAY_REQUESTED:
			return stopped ? kMsgPlay : paused ? kMsgPause : 0;
		case B_MEDIA_PAUSE_REQUESTED:
			// Nothing sounds yet while the song starts: pausing it there is
			// stopping it, and Play starts it again from the beginning.
			return playing ? kMsgPause : !stopped && !paused ? kMsgStop : 0;
		case B_MEDIA_PLAY_PAUSE_REQUESTED:
			return stopped ? kMsgPlay : playing || paused ? kMsgPause : kMsgStop;
		case B_MEDIA_STOP_REQUESTED:
			return kMsgStop;
		case B_MEDIA_NEXT_REQUESTED:
			return kMsgNext;
		case B_MEDIA_PREVIOUS_REQUESTED:
			return kMsgPrev;
		default:
			return 0;
	}
}


void
TNowPlaying::SongJumped(uint32 tick)
{
	fPosition = fTimes.TimeAt(tick);
	fPositionTime = system_time();
	fJumped = true;
}


bigtime_t
TNowPlaying::Position() const
{
	return fPosition + bigtime_t((system_time() - fPositionTime) * fRate);
}


void
TNowPlaying::Update(const Show& show)
{
	if (!Offered())
		return;
	const bool loaded = show.song != nullptr && show.song->CountTicks() > 0;
	if (show.loadSerial != fTimesSerial && loaded) {
		fTimes.SetTo(*show.song);
		fLength = fTimes.TimeAt(show.song->CountTicks());
		fTimesSerial = show.loadSerial;
	}
	const bigtime_t length = show.loadSerial == fTimesSerial ? fLength : 0;

	fSession.SetPlaybackStatus(playback_status(show.state));
	fSession.SetTrack({uint64(show.loadSerial), show.title, length});
	const bool songs = show.songs > 0;
	fSession.SetCapabilities(songs, songs, songs, songs,
		loaded && show.state != TS_Stopped && length > 0);

	// A new song starts at its beginning; a stopped one has no place.
	bigtime_t position = Position();
	if (show.loadSerial != fSerial || show.state == TS_Stopped || !loaded)
		position = 0;
	fSerial = show.loadSerial;
	fPosition = length > 0 ? std::min(position, length) : position;
	fPositionTime = system_time();
	fRate = show.state == TS_Playing && loaded ? show.song->TempoRate() / 100.0 : 0;
	fSession.SetPosition(fPosition, fRate, fJumped);
	fJumped = false;
}
