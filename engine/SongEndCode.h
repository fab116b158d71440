#ifndef SONG_END_CODE_H
#define SONG_END_CODE_H

#include <SupportDefs.h>

// The code of the message that a song's owner hands to the sequencer
// (TSMFProducer::SetMessage) to have it posted when the song has played to
// its end.
constexpr uint32 kMsgSongEnded = 'plse';

#endif
