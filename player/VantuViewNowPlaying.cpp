#include "VantuView.h"

#include <algorithm>
#include <cstdint>

#include <Window.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "NowPlaying.h"
#include "OutputChains.h"
#include "PlayerMessages.h"
#include "SMFProducer.h"


// Play, pause and the rest go through the player's own messages, as if the
// control bar's buttons had been pressed.
void
TVantuView::MediaRequested(BMessage* message)
{
	switch (message->what) {
		case B_MEDIA_RAISE_REQUESTED:
			if (Window() != NULL)
				Window()->Activate(true);
			return;
		case B_MEDIA_SEEK_REQUESTED:
		case B_MEDIA_SET_POSITION_REQUESTED:
			_SeekRequested(message);
			return;
	}
	const uint32 command = TNowPlaying::PlayerCommand(message->what, gAppPrivacy.State());
	if (command != 0 && Window() != NULL)
		Window()->PostMessage(command, this);
}


// A seek past the song's end asks for the next song, as the desktop's
// interface defines it; a stopped song has no place to move.
void
TVantuView::_SeekRequested(BMessage* message)
{
	const uint32 ticks = fSequencer->CountTicks();
	if (fNowPlaying == nullptr || gAppPrivacy.State() == TS_Stopped || ticks == 0)
		return;
	int64 value = 0;
	bigtime_t time;
	if (message->FindInt64("offset", &value) == B_OK) {
		// Any offset may come; the position is never negative.
		const bigtime_t now = fNowPlaying->Position();
		time = value > INT64_MAX - now ? INT64_MAX : now + value;
	} else if (message->FindInt64("position", &value) == B_OK)
		time = value;
	else
		return;
	if (time > fNowPlaying->TimeAt(ticks)) {
		if (Window() != NULL)
			Window()->PostMessage(kMsgNext, this);
		return;
	}
	const uint32 tick = std::min(fNowPlaying->TickAt(std::max<bigtime_t>(time, 0)), ticks);
	fChains->Seek(tick);
	fNowPlaying->SongJumped(tick);
	_ShowPosition();
}


void
TVantuView::_ShowNowPlaying()
{
	if (fNowPlaying == nullptr || !fNowPlaying->Offered() || fPlaylist == NULL)
		return;
	TNowPlaying::Show show;
	show.state = gAppPrivacy.State();
	show.songs = fPlaylist->Songs();
	if (fPlaylist->CurrentSongIdx() >= 0) {
		show.loadSerial = fLoadSerial;
		show.title = fSongTitle;
	}
	show.song = fSequencer.get();
	fNowPlaying->Update(show);
}
