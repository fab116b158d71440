#ifndef _MEDIA_SESSION_H
#define _MEDIA_SESSION_H

#include <memory>
#include <string>

#include <Messenger.h>
#include <SupportDefs.h>

// Requests of the desktop (media keys, "now playing" widgets, playerctl),
// posted to the session's target. Seek carries "offset" and set position
// "position" (int64 microseconds).
enum {
	B_MEDIA_PLAY_REQUESTED = 'MDpl',
	B_MEDIA_PAUSE_REQUESTED = 'MDpa',
	B_MEDIA_PLAY_PAUSE_REQUESTED = 'MDpp',
	B_MEDIA_STOP_REQUESTED = 'MDst',
	B_MEDIA_NEXT_REQUESTED = 'MDnx',
	B_MEDIA_PREVIOUS_REQUESTED = 'MDpv',
	B_MEDIA_RAISE_REQUESTED = 'MDra',
	B_MEDIA_SEEK_REQUESTED = 'MDsk',
	B_MEDIA_SET_POSITION_REQUESTED = 'MDsp'
};

enum class media_playback_status {
	Stopped,
	Playing,
	Paused
};

// What the program plays, offered to the desktop as a media player (MPRIS
// on the D-Bus session bus, under org.mpris.MediaPlayer2.<name>, or
// <name>.instance<pid> when another instance holds the name). The desktop's
// calls arrive as messages to the target; the program tells what plays
// through the setters, and the desktop hears of each change.
//
// Without a session bus (DBUS_SESSION_BUS_ADDRESS unset, or nothing there)
// nothing is offered, at once and silently: InitCheck() says so and the
// setters only keep their values.
//
// Made and destroyed on the GUI thread, after init_interface_kit(). The
// setters may be called from any thread: the bus work runs on the GUI
// thread afterwards, in the order the calls were made.
class BMediaSession {
public:
	struct Track {
		// Tells songs apart: a new id is a new song, even with the title of
		// the one before. 0 is no song at all.
		uint64 id = 0;
		std::string title;
		// Microseconds at the normal rate; 0 when unknown.
		bigtime_t length = 0;
	};

	// `name` is the bus name's last part, `identity` the name shown to the
	// user and `desktopEntry` the desktop file's name without ".desktop".
	BMediaSession(const char* name, const char* identity, const char* desktopEntry,
		const BMessenger& target);
	~BMediaSession();

	BMediaSession(const BMediaSession&) = delete;
	BMediaSession& operator=(const BMediaSession&) = delete;

	// B_OK while offered on the bus, B_NO_INIT without a bus.
	status_t InitCheck() const;
	// The bus name taken; empty when none.
	std::string BusName() const;

	void SetPlaybackStatus(media_playback_status status);
	void SetTrack(const Track& track);
	// What the controls allow now: play and pause need a song, next and
	// previous a list, seeking a song whose length is known.
	void SetCapabilities(bool canPlay, bool canPause, bool canGoNext, bool canGoPrevious,
		bool canSeek);
	// Where the song is, and how fast it moves from there (1.0 the normal
	// speed, 0 while it stands): the position a client reads later runs on
	// from this one without the program waking. `jumped` tells the desktop
	// that the song moved to it at once (a seek), not by playing.
	void SetPosition(bigtime_t position, double rate, bool jumped = false);

private:
	struct Data;
	std::unique_ptr<Data> fData;
};

#endif
