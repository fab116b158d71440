#ifndef TITLE_TEXT_H
#define TITLE_TEXT_H

#include <string>

namespace pelkan {

// A song's title text as UTF-8, converted from the character set
// detect_charset finds in the whole text (Shift-JIS, JIS or UTF-8). NUL bytes
// become spaces first, so that a NUL neither hides the text after it from
// the detection nor cuts the title short where it is shown. When the
// conversion fails, the text with its NULs replaced.
std::string title_to_utf8(const std::string& raw);

// The title shown for a song: its raw title converted, when it has one
// (rawTitle not NULL), else the leaf name of its file.
std::string song_title(const std::string* rawTitle, const std::string& path);

}

#endif
