#ifndef SONG_TITLE_H
#define SONG_TITLE_H

#include <string>

class TSMFProducer;

// The title the player shows for a loaded song: its first track name,
// converted to UTF-8 from the character set the framework detects (NUL
// bytes become spaces), or the file's name when the song has none.
std::string song_title(const TSMFProducer& song, const std::string& path);

// Text in the detected character set, as UTF-8; the raw text when the
// conversion fails.
std::string title_to_utf8(const std::string& raw);

#endif
