#ifndef ENDPOINT_ICONS_H
#define ENDPOINT_ICONS_H

#include <Message.h>

namespace pelkan {

// The program's icons as properties of a MIDI endpoint, as the MIDI service
// keeps them: "be:large_icon" ('ICON', 32 × 32) and "be:mini_icon" ('MICN',
// 16 × 16), B_CMAP8 pixels row by row. An icon the program has none of is
// left out.
BMessage endpoint_icon_properties();

}

#endif
